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

std::string ReportComposer::FormatTemperature(std::string_view value) const
{
    std::string text;
    if (inputs_.unit == TemperatureUnit::Celsius) {
        const int fahrenheit = StrToIntDef(value, 0);
        // (n - 32) * 5 is exact in a double and a whole n never lands half-way, so the
        // rounding rule does not matter.
        const long celsius = std::lround((static_cast<double>(fahrenheit) - 32.0) * 5.0 / 9.0);
        text = std::to_string(celsius);
        text += kDegreeSign;
        text += " C";
    } else {
        text = value;
        text += kDegreeSign;
        text += " F";
    }
    return text;
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
