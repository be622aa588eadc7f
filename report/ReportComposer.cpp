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

std::string FontSizeControl(double points)
{
    return "\\fs" + std::to_string(std::lround(points * 2)) + " ";
}

std::string ComposeReportText(const ReportInputs& inputs)
{
    return ReportComposer(inputs).Compose();
}

ReportComposer::ReportComposer(const ReportInputs& inputs)
    : inputs_(inputs), composition_(inputs.lines, inputs.forecastStep)
{
}

// One paragraph in the heading's font (font 1), 13 pt, bold and italic; the body that follows
// is in font 0, 11 pt, upright and not bold.
std::string ReportComposer::Heading() const
{
    std::string heading = "\\b " + FontSizeControl(13) + "\\i ";
    heading += Text("GENERAL", "Heading");
    heading += ' ';
    heading += StationDisplayText(inputs_.stationEntry);
    heading += ", at ";
    heading += FormatForecastTime(false, ReportTime(inputs_.forecastBaseTime, inputs_.forecastStep),
                                  inputs_.time);
    heading += "\\i0 " + FontSizeControl(11) + "\\b0 \\f0 \\par ";
    return heading;
}

std::string ReportComposer::Compose()
{
    std::string& text = composition_.ReportText();
    text.reserve(2048);
    text = kReportPrologue;
    text += Heading();

    DescribeTemperature();
    DescribeSky();
    DescribeVisibility();  // visibility before wind
    DescribeWind();
    DescribePrecipType();
    DescribePeriod(PeriodKind::SixHours);
    DescribePeriod(PeriodKind::TwelveHours);

    text += '}';  // no "\par" before it
    return std::move(text);
}

}  // namespace skelmar
