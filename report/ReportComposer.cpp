#include "report/ReportComposer.h"

#include <cmath>

#include "config/StationEntry.h"
#include "text/StringRoutines.h"

namespace skelmar {

TemperatureUnit TemperatureUnitFromIndex(int itemIndex)
{
    return itemIndex == 1 ? TemperatureUnit::Celsius : TemperatureUnit::Fahrenheit;
}

TDateTime ReportTime(TDateTime forecastBaseTime, int forecastStep)
{
    return forecastBaseTime + (forecastStep * 3) / 24.0;
}

TDateTime ReportTime(const ReportInputs& inputs)
{
    return inputs.forecastBaseTime + inputs.forecast.HourOfStep(inputs.forecastStep) / 24.0;
}

std::string FontSizeControl(double points)
{
    return "\\fs" + std::to_string(std::lround(points * 2)) + " ";
}

std::string ComposeReportText(const ReportInputs& inputs)
{
    return ReportComposer(inputs).Compose();
}

std::string CategoryText(const ConfigTexts& config, std::string_view section, const ForecastValue& value)
{
    std::string text = config.Value(section, value.Key());
    if (text.empty() && !value.fallbackKey.empty())
        text = config.Value(section, value.fallbackKey);
    return text;
}

ReportComposer::ReportComposer(const ReportInputs& inputs)
    : inputs_(inputs), instant_(inputs.forecast.InstantAt(inputs.forecast.HourOfStep(inputs.forecastStep)))
{
}

void ReportComposer::AppendSentence(std::string_view piece)
{
    reportText_ += piece;
    if (RightChars(piece, 1) == ".")
        reportText_ += ' ';
}

// One paragraph in the heading's font (font 1), 13 pt, bold and italic; the body that follows
// is in font 0, 11 pt, upright and not bold.
std::string ReportComposer::Heading() const
{
    std::string heading = "\\b " + FontSizeControl(13) + "\\i ";
    heading += Text("GENERAL", "Heading");
    heading += ' ';
    heading += inputs_.station;
    heading += ", at ";
    heading += FormatForecastTime(false, ReportTime(inputs_),
                                  inputs_.time);
    heading += "\\i0 " + FontSizeControl(11) + "\\b0 \\f0 \\par ";
    return heading;
}

std::string ReportComposer::Compose()
{
    std::string& text = reportText_;
    text.reserve(2048);
    text = kReportPrologue;
    text += Heading();

    DescribeTemperature();
    DescribeSky();
    DescribeVisibility();  // visibility before wind
    DescribeWind();
    DescribePrecipType();
    DescribePeriods();

    text += '}';  // no "\par" before it
    return std::move(text);
}

}  // namespace skelmar
