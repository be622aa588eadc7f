// Sky, visibility, wind and precipitation type at the selected instant. The bulletin's codes
// are never interpreted here: each is the key of its text in the configuration.

#include <cmath>
#include <cstdio>
#include <string>

#include "report/ReportComposer.h"
#include "text/Numbers.h"

namespace skelmar {

namespace {

using State = ForecastValue::State;

// A number as a pilot reads it: whole feet with thousands separators ("12,000"), miles with
// up to two decimals and no trailing zeros ("1.5", "0.25", "10").
std::string QuantityText(double quantity)
{
    if (quantity == std::floor(quantity) && std::fabs(quantity) < 1e9) {
        const std::string digits = std::to_string(static_cast<long long>(std::fabs(quantity)));
        std::string text = quantity < 0 ? "-" : "";
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                text += ',';
            text += digits[i];
        }
        return text;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", quantity);
    std::string result = text;
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.')
        result.pop_back();
    return result;
}

}  // namespace

void ReportComposer::DescribeSky()
{
    if (instant_ == nullptr || !instant_->cloudCover.Present())
        return;
    AppendSentence(FillTemplate(Text("CLDS", "CLDS"), Text("CLDS", instant_->cloudCover.Key())));

    // The ceiling text completes the sky sentence; without a ceiling a full stop does.
    const ForecastValue& ceiling = instant_->ceiling;
    if (!ceiling.Present()) {
        AppendSentence(".");
        return;
    }
    const std::string feet = ceiling.number ? Text("CIG", "Feet") : std::string();
    if (!feet.empty() && ceiling.state == State::Given)
        AppendSentence(FillTemplate(feet, QuantityText(*ceiling.number)));
    else
        AppendSentence(CategoryText(inputs_.config, "CIG", ceiling));
}

void ReportComposer::DescribeVisibility()
{
    if (instant_ == nullptr || !instant_->visibility.Present())
        return;
    const ForecastValue& visibility = instant_->visibility;
    if (visibility.state != State::Given) {
        AppendSentence(CategoryText(inputs_.config, "VIS", visibility));
        return;
    }
    // Exactly one mile reads "1 mile" where the file has the singular's template.
    std::string miles = visibility.number ? Text("VIS", "Miles") : std::string();
    if (!miles.empty() && *visibility.number == 1) {
        if (std::string mile = Text("VIS", "Mile"); !mile.empty())
            miles = std::move(mile);
    }
    const std::string text =
        miles.empty() ? CategoryText(inputs_.config, "VIS", visibility) : FillTemplate(miles, QuantityText(*visibility.number));

    const ForecastValue& obstruction = instant_->obstruction;
    if (obstruction.state == State::None || obstruction.state == State::Missing) {
        AppendSentence(FillTemplate(Text("VIS", "VIS1"), text));
    } else {
        // An obstruction the bulletin leaves out is looked up as it is (empty), VIS2 still used.
        AppendSentence(FillTemplate(Text("VIS", "VIS2"), text, Text("OBVIS", obstruction.Key())));
    }
}

void ReportComposer::DescribeWind()
{
    if (instant_ == nullptr || !instant_->windSpeed.Present())
        return;
    const ForecastValue& speed = instant_->windSpeed;
    const ForecastValue& direction = instant_->windDirection;
    // Both values are converted before any test, so a bad direction fails even in calm; a
    // value marked missing is not converted.
    const int speedValue = speed.state == State::Missing ? -1 : StrToInt(speed.text);
    const std::string directionText =
        direction.state == State::Missing ? std::string() : std::to_string(StrToInt(direction.text));

    if (speedValue == 0)
        AppendSentence(Text("WIND", "Calm"));
    else if (speed.state == State::Missing || direction.state == State::Missing)
        AppendSentence(Text("WIND", "NoReport"));
    else  // "07" -> "7"
        AppendSentence(FillTemplate(Text("WIND", "WIND"), directionText, std::to_string(speedValue)));
    DescribeGusts(speedValue);
}

// Gusts are told when they exceed the wind speed by kGustMarginKnots or more, and where the
// file has a text for them.
void ReportComposer::DescribeGusts(int speedValue)
{
    const ForecastValue& gust = instant_->windGust;
    if (gust.state != State::Given || instant_->windSpeed.state != State::Given)
        return;
    const std::optional<int> gustValue = ParseInteger(gust.text);
    const std::string pattern = Text("WIND", "Gusts");
    if (gustValue && *gustValue - speedValue >= kGustMarginKnots && !pattern.empty())
        AppendSentence(FillTemplate(pattern, std::to_string(*gustValue)));
}

void ReportComposer::DescribePrecipType()
{
    if (instant_ == nullptr || instant_->precipType.state != State::Given)
        return;
    AppendSentence(FillTemplate(Text("PTYPE", "PTYPE"), CategoryText(inputs_.config, "PTYPE", instant_->precipType)));
}

}  // namespace skelmar
