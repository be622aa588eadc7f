// Temperature and dew point at the selected instant, in the selected unit.

#include <cmath>
#include <string>

#include "report/ReportComposer.h"
#include "text/Numbers.h"

namespace skelmar {

namespace {

// The bulletin's "no temperature forecast" value.
constexpr std::string_view kNoTemperature = "999";

}  // namespace

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
    if (!composition_.FindRow("TEMP"))
        return;
    const std::string temperature = composition_.ThreeHourlyValue();
    if (temperature == kNoTemperature) {
        composition_.AppendSentence(Text("TEMP", "NoReport"));
        return;  // no dew point either
    }
    composition_.AppendSentence(FillTemplate(Text("TEMP", "TEMP"), FormatTemperature(temperature)));

    // A missing DEWPT row still gives its sentence, with an empty value.
    composition_.FindRow("DEWPT");
    const std::string dewPoint = composition_.ThreeHourlyValue();
    composition_.AppendSentence(FillTemplate(Text("TEMP", "DEWPT"), FormatTemperature(dewPoint)));
}

}  // namespace skelmar
