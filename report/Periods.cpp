// The sections about periods: probabilities of precipitation and thunderstorms, the amount
// of precipitation, the daily maximum or minimum and the snowfall, each over the period of
// the bulletin that holds the instant.

#include <string>

#include "report/ReportComposer.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

using State = ForecastValue::State;

// The introduction of a period of `hours` hours: Intro6, Intro12, Intro24 ...
std::string IntroKey(int hours)
{
    return "Intro" + std::to_string(hours);
}

}  // namespace

void ReportComposer::DescribePeriods()
{
    if (instant_ == nullptr)
        return;
    for (const std::size_t index : instant_->periods)
        DescribePeriod(inputs_.forecast.periods.at(index));
}

void ReportComposer::DescribePeriod(PeriodKind kind)
{
    if (instant_ == nullptr)
        return;
    for (const std::size_t index : instant_->periods) {
        const ForecastPeriod& period = inputs_.forecast.periods.at(index);
        if (period.Hours() == static_cast<int>(kind))
            DescribePeriod(period);
    }
}

void ReportComposer::DescribePeriod(const ForecastPeriod& period)
{
    const std::string intro = FillTemplate(Text("PROBABILITIES", IntroKey(period.Hours())), PeriodSpanText(period));
    AppendSentence("\\par \\par " + intro);

    // Each element is optional on its own.
    DescribeProbability("Precip", period.precipitation);
    DescribeProbability("TS", period.thunderstorms);
    DescribeAmount("QPF", "QPF", period.amount);
    DescribeExtreme("Max", period.maximum);
    DescribeExtreme("Min", period.minimum);
    DescribeAmount("SNOW", "SNOW", period.snowfall);
}

std::string ReportComposer::PeriodSpanText(const ForecastPeriod& period) const
{
    const TDateTime start = inputs_.forecastBaseTime + period.startHour / 24.0;
    const TDateTime end = inputs_.forecastBaseTime + period.endHour / 24.0;
    return FormatForecastTime(true, start, inputs_.time) + " and " + FormatForecastTime(true, end, inputs_.time);
}

std::string ReportComposer::PeriodSpanText(PeriodKind kind) const
{
    if (instant_ != nullptr) {
        for (const std::size_t index : instant_->periods) {
            const ForecastPeriod& period = inputs_.forecast.periods.at(index);
            if (period.Hours() == static_cast<int>(kind))
                return PeriodSpanText(period);
        }
    }
    return {};
}

void ReportComposer::DescribeProbability(std::string_view key, const ForecastValue& value)
{
    if (!value.Present())
        return;
    // A probability marked missing has a text of its own where the file has one.
    const std::string missing = value.state == State::Missing ? Text("PROBABILITIES", std::string(key) + "Missing")
                                                              : std::string();
    if (!missing.empty()) {
        AppendSentence(missing);
        return;
    }
    // A value with a template of its own (the NBM's chance of thunderstorms, which comes
    // without the chance that a storm is severe) uses it; a file without it says nothing.
    const std::string pattern = Text("PROBABILITIES", value.key.empty() ? key : std::string_view(value.key));
    if (pattern.empty() && !value.key.empty())
        return;
    // The value alone decides between one argument and two, whatever its element.
    if (value.text.find('/') == std::string::npos) {
        AppendSentence(FillTemplate(pattern, value.text));
        return;
    }
    const std::string second = ExtractField(value.text, '/', 2);
    AppendSentence(FillTemplate(pattern, ExtractField(value.text, '/', 1),
                                second.empty() ? std::string_view("0") : second));
}

void ReportComposer::DescribeAmount(std::string_view section, std::string_view templateKey, const ForecastValue& value)
{
    if (!value.Present())
        return;
    // A missing amount is a text of its own; the others fill the template.
    if (value.state == State::Missing)
        AppendSentence(Text(section, value.Key()));
    else
        AppendSentence(FillTemplate(Text(section, templateKey), CategoryText(inputs_.config, section, value)));
}

void ReportComposer::DescribeExtreme(std::string_view key, const ForecastValue& value)
{
    if (!value.Present())
        return;
    if (value.state == State::Missing)
        AppendSentence(Text("TEMP", std::string(key) + "Missing"));
    else
        AppendSentence(FillTemplate(Text("TEMP", key), FormatTemperature(value.text)));
}

}  // namespace skelmar
