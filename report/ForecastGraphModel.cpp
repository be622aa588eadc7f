#include "report/ForecastGraphModel.h"

#include "report/ReportComposer.h"

#include <algorithm>

#include "text/Numbers.h"
#include "text/StringRoutines.h"
#include "time/TimeFormat.h"

namespace skelmar {

namespace {

// Temperatures the bulletin can hold in its 3-character columns that are weather; 999 and
// anything else outside is a gap.
constexpr int kLowestFahrenheit = -99;
constexpr int kHighestFahrenheit = 150;

// The whole number `text` when it lies in [low, high].
std::optional<int> NumberIn(std::string_view text, int low, int high)
{
    const std::optional<int> value = ParseInteger(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

// The bounds of the flight categories: ceilings in feet, visibilities in statute miles.
constexpr double kLifrCeiling = 500;
constexpr double kIfrCeiling = 1000;
constexpr double kMvfrCeiling = 3000;
constexpr double kLifrVisibility = 1;
constexpr double kIfrVisibility = 3;
constexpr double kMvfrVisibility = 5;

FlightCategory CategoryOf(double quantity, double lifr, double ifr, double mvfr)
{
    if (quantity < lifr)
        return FlightCategory::Lifr;
    if (quantity < ifr)
        return FlightCategory::Ifr;
    return quantity <= mvfr ? FlightCategory::Mvfr : FlightCategory::Vfr;
}

std::optional<long> Temperature(std::string_view text, TemperatureUnit unit)
{
    const std::optional<int> fahrenheit = NumberIn(text, kLowestFahrenheit, kHighestFahrenheit);
    return fahrenheit ? std::optional<long>(ConvertTemperature(*fahrenheit, unit)) : std::nullopt;
}

// A probability cell: the percentage before a "/" (a TSV pair's second part is the chance of
// a severe storm, which the graph leaves to the report).
std::optional<int> Probability(std::string_view cell)
{
    return NumberIn(ExtractField(cell, '/', 1), 0, 100);
}

// The probabilities of the periods of `hours` hours that end within the graph, each span
// once (the first the model holds).
std::vector<PeriodValues> ReadPeriods(const ForecastModel& forecast, int hours)
{
    std::vector<PeriodValues> periods;
    for (const ForecastPeriod& period : forecast.periods) {
        if (period.Hours() != hours || period.endHour > kGraphLastHour ||
            (!period.precipitation.Present() && !period.thunderstorms.Present()))
            continue;
        const auto same = [&](const PeriodValues& p) { return p.endHour == period.endHour; };
        if (std::any_of(periods.begin(), periods.end(), same))
            continue;
        PeriodValues values;
        values.endHour = period.endHour;
        if (period.precipitation.state == ForecastValue::State::Given)
            values.precipitation = Probability(period.precipitation.text);
        if (period.thunderstorms.state == ForecastValue::State::Given)
            values.thunderstorms = Probability(period.thunderstorms.text);
        periods.push_back(values);
    }
    std::sort(periods.begin(), periods.end(),
              [](const PeriodValues& a, const PeriodValues& b) { return a.endHour < b.endHour; });
    return periods;
}

std::vector<ExtremeValue> ReadExtremes(const ForecastModel& forecast, TemperatureUnit unit)
{
    std::vector<ExtremeValue> extremes;
    for (const ForecastPeriod& period : forecast.periods) {
        if (period.endHour < GraphHour(0) || period.endHour > kGraphLastHour)
            continue;
        for (const bool maximum : {true, false}) {
            const ForecastValue& value = maximum ? period.maximum : period.minimum;
            if (value.state != ForecastValue::State::Given)
                continue;
            // Each product places its extreme 12 hours after its period begins: the GFS and NAM
            // guidance at the end of their 12 hours, the NBM inside its 18.
            const int hour = std::min(period.endHour, period.startHour + 12);
            if (const std::optional<long> temperature = Temperature(value.text, unit))
                extremes.push_back({hour, *temperature, maximum});
        }
    }
    return extremes;
}

GraphCaptions ReadCaptions(const ReportInputs& inputs)
{
    const auto text = [&](std::string_view key) { return inputs.config.Value("GRAPH", key); };
    GraphCaptions captions;
    captions.title = FillTemplate(text("Title"), inputs.station,
                                  FormatForecastTime(true, inputs.forecastBaseTime, inputs.time));
    captions.temperature = text("Temperature");
    captions.dewPoint = text("DewPoint");
    captions.temperatureAxis = FillTemplate(text("TemperatureAxis"), TemperatureUnitSymbol(inputs.unit));
    captions.clouds = text("Clouds");
    captions.wind = text("Wind");
    captions.category = text("Category");
    captions.categoryNames = {text("LIFR"), text("IFR"), text("MVFR"), text("VFR")};
    captions.probabilityAxis = text("ProbabilityAxis");
    captions.precipitation6 = text("Precipitation6");
    captions.precipitation12 = text("Precipitation12");
    captions.thunderstorms6 = text("Thunderstorms6");
    captions.thunderstorms12 = text("Thunderstorms12");
    captions.maximum = text("Maximum");
    captions.minimum = text("Minimum");
    captions.noTable = text("NoTable");
    return captions;
}

}  // namespace

FlightCategory FlightCategoryOf(std::optional<double> ceilingFeet, std::optional<double> visibilityMiles)
{
    if (!ceilingFeet || !visibilityMiles)
        return FlightCategory::None;
    return std::min(CategoryOf(*ceilingFeet, kLifrCeiling, kIfrCeiling, kMvfrCeiling),
                    CategoryOf(*visibilityMiles, kLifrVisibility, kIfrVisibility, kMvfrVisibility));
}

FlightCategory FlightCategoryOf(const ForecastInstant& instant)
{
    const auto bound = [](const ForecastValue& value) {
        return value.state == ForecastValue::State::Given ? value.lowerBound : std::nullopt;
    };
    return FlightCategoryOf(bound(instant.ceiling), bound(instant.visibility));
}

ForecastSeries ReadForecastSeries(const ForecastModel& forecast, TemperatureUnit unit)
{
    ForecastSeries series;
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        const ForecastInstant* instant = forecast.InstantAt(forecast.HourOfStep(GraphHour(static_cast<int>(i)) / 3));
        if (instant == nullptr)
            continue;
        // A value the bulletin marks missing is a gap, whatever its text ("-99" in the NBM's).
        const auto temperature = [unit](const ForecastValue& value) {
            return value.state == ForecastValue::State::Given ? Temperature(value.text, unit) : std::nullopt;
        };
        series.temperature[i] = temperature(instant->temperature);
        series.dewPoint[i] = temperature(instant->dewPoint);
        if (instant->cloudCover.Present())
            series.cloudCover[i] = instant->cloudCover.Key();
        series.windDirection[i] = NumberIn(instant->windDirection.text, 0, 36);
        series.windSpeed[i] = NumberIn(instant->windSpeed.text, 0, 98);
        const std::optional<int> gust = NumberIn(instant->windGust.text, 0, 998);
        if (gust && series.windSpeed[i] && *gust - *series.windSpeed[i] >= kGustMarginKnots)
            series.windGust[i] = gust;
        series.category[i] = FlightCategoryOf(*instant);
    }
    series.sixHours = ReadPeriods(forecast, 6);
    series.twelveHours = ReadPeriods(forecast, 12);
    series.extremes = ReadExtremes(forecast, unit);
    return series;
}

ForecastGraphModel BuildForecastGraphModel(const ReportInputs& inputs)
{
    ForecastGraphModel model;
    model.captions = ReadCaptions(inputs);

    // The time scale's own captions; the label before the first has no bearing on them.
    const TimeLabelCaptions scale = ComputeTimeLabelCaptions(inputs.forecastBaseTime, "", inputs.time, 0);
    for (std::size_t k = 0; k < model.timeLabels.size(); ++k) {
        GraphTimeLabel& label = model.timeLabels[k];
        label.hour = 6 * static_cast<int>(k + 1);
        const std::string& text = scale.timeLabels[k];
        const std::string& date = scale.timeLabelDates[k];
        if (!date.empty() && text.size() > date.size() && text.starts_with(date) && text[date.size()] == ' ') {
            label.date = date;
            label.time = text.substr(date.size() + 1);
        } else {
            label.time = text;
        }
    }

    model.selectedIndex = std::clamp(inputs.forecastStep, kGraphFirstStep, kGraphLastStep) - kGraphFirstStep;
    model.holdsTable = inputs.forecast.holdsTable;
    model.series = ReadForecastSeries(inputs.forecast, inputs.unit);
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        const std::string& code = model.series.cloudCover[i];
        if (!code.empty())
            model.cloudEighths[i] = NumberIn(inputs.config.Value("GRAPH", "Cover" + code), 0, 8);
    }
    return model;
}

}  // namespace skelmar
