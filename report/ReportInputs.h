#pragma once
// What a report and its graph are made from: the forecast model of the held bulletin, the
// instant, the unit, the station and the texts.

#include <string>
#include <string_view>

#include "forecast/ForecastModel.h"
#include "text/ConfigTexts.h"
#include "time/Calendar.h"
#include "time/TimeFormat.h"

namespace skelmar {

// The item index of the temperature unit selector.
enum class TemperatureUnit { Fahrenheit = 0, Celsius = 1 };

// Index 1 is Celsius; every other index counts as Fahrenheit.
TemperatureUnit TemperatureUnitFromIndex(int itemIndex);

// A temperature of the bulletin (whole degrees Fahrenheit) in `unit`: unchanged, or
// (n - 32) * 5/9 rounded to the nearest whole number. The report and the graph both use it.
long ConvertTemperature(int fahrenheit, TemperatureUnit unit);

// What follows a temperature in the report: the degree sign, a blank and "F" or "C".
std::string TemperatureUnitSymbol(TemperatureUnit unit);

// The degree sign of code page 1252; the document declares that code page.
inline constexpr char kDegreeSign = '\xB0';

// Everything a composition reads. The referenced objects must outlive the composition.
struct ReportInputs {
    const ForecastModel& forecast;  // the held bulletin's model (ReadForecast)
    TDateTime forecastBaseTime;     // the bulletin's issue, UTC; 0 before any retrieval
    int forecastStep;               // 2..20, the track bar position
    TemperatureUnit unit;
    std::string_view station;       // the station's display text (StationDisplayText)
    const ConfigTexts& config;
    const TimeTextContext& time;    // Local or Zulu, the station's zone, the date patterns
};

// The track bar's nominal instant: 3 * forecastStep hours after the base time.
TDateTime ReportTime(TDateTime forecastBaseTime, int forecastStep);

// The instant the report describes: that of the model's instant for the step
// (ForecastModel::HourOfStep), which is the nominal one for every bulletin issued at a
// 3-hourly hour and up to 2 hours off it for an hourly NBM run.
TDateTime ReportTime(const ReportInputs& inputs);

}  // namespace skelmar
