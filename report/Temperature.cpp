// Temperature and dew point at the selected instant, in the selected unit.

#include <cmath>
#include <string>

#include "report/ReportComposer.h"
#include "text/Numbers.h"

namespace skelmar {

long ConvertTemperature(int fahrenheit, TemperatureUnit unit)
{
    if (unit != TemperatureUnit::Celsius)
        return fahrenheit;
    // (n - 32) * 5 is exact in a double and a whole n never lands half-way, so the rounding
    // rule does not matter.
    return std::lround((static_cast<double>(fahrenheit) - 32.0) * 5.0 / 9.0);
}

std::string TemperatureUnitSymbol(TemperatureUnit unit)
{
    std::string symbol(1, kDegreeSign);
    symbol += unit == TemperatureUnit::Celsius ? " C" : " F";
    return symbol;
}

std::string ReportComposer::FormatTemperature(std::string_view value) const
{
    // Fahrenheit is the bulletin's own text, not parsed; Celsius counts a non-number as 0.
    const std::string number = inputs_.unit == TemperatureUnit::Celsius
                                   ? std::to_string(ConvertTemperature(StrToIntDef(value, 0), inputs_.unit))
                                   : std::string(value);
    return number + TemperatureUnitSymbol(inputs_.unit);
}

void ReportComposer::DescribeTemperature()
{
    if (instant_ == nullptr || !instant_->temperature.Present())
        return;
    if (instant_->temperature.state == ForecastValue::State::Missing) {
        AppendSentence(Text("TEMP", "NoReport"));
        return;  // no dew point either
    }
    AppendSentence(FillTemplate(Text("TEMP", "TEMP"), FormatTemperature(instant_->temperature.text)));
    // A dew point marked missing has a text of its own where the file has one; otherwise the
    // dew point is given as it stands, even when the bulletin has none.
    const std::string missing =
        instant_->dewPoint.state == ForecastValue::State::Missing ? Text("TEMP", "DEWPTMissing") : std::string();
    if (!missing.empty())
        AppendSentence(missing);
    else
        AppendSentence(FillTemplate(Text("TEMP", "DEWPT"), FormatTemperature(instant_->dewPoint.text)));
}

}  // namespace skelmar
