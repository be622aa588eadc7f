#include "report/ReportComposer.h"

#include <cmath>

namespace skelmar {

TemperatureUnit TemperatureUnitFromIndex(int itemIndex)
{
    return itemIndex == 1 ? TemperatureUnit::Celsius : TemperatureUnit::Fahrenheit;
}

std::string FontSizeControl(double points)
{
    return "\\fs" + std::to_string(std::lround(points * 2)) + " ";
}

ReportComposer::ReportComposer(const ReportInputs& inputs)
    : inputs_(inputs), composition_(inputs.lines, inputs.forecastStep)
{
}

}  // namespace skelmar
