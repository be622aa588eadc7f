#pragma once
// What the forecast graph shows, read from the forecast model: the 3-hourly values of the
// 19 forecast hours (6 to 60), the flight category of each hour, the probabilities of the
// 6- and 12-hour periods, the daily maxima and minima, and the captions. Plain C++, so that the window and the command
// line draw the same picture from it and tests check it without drawing.
//
// Like the report, the graph holds no weather vocabulary: every caption comes from the
// configuration's section "GRAPH", and the bulletin's codes stay codes. Unlike the report it
// never fails on the table's values: a value that is missing or not a number is a gap.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "forecast/ForecastModel.h"
#include "report/ReportInputs.h"

namespace skelmar {

// The forecast hours of the graph, one per track bar position: hour 3 * step, index step - 2.
inline constexpr int kGraphFirstStep = 2;
inline constexpr int kGraphLastStep = 20;
inline constexpr int kGraphHours = kGraphLastStep - kGraphFirstStep + 1;  // 19: hours 6, 9 .. 60
inline constexpr int kGraphLastHour = 3 * kGraphLastStep;

// The hour of index i (0 .. 18).
constexpr int GraphHour(int index) { return 3 * (index + kGraphFirstStep); }

// From worst to best, as pilots rank them; None where the table gives no category.
enum class FlightCategory { None, Lifr, Ifr, Mvfr, Vfr };

// The category of a ceiling (feet) and a visibility (statute miles), each the least that its
// forecast means: the worse of the two. Ceiling below 500 ft LIFR, below 1,000 IFR, up to
// 3,000 MVFR, above VFR; visibility below 1 mile LIFR, below 3 IFR, up to 5 MVFR, above VFR.
// None when either is missing: a category from one of the two could be too good.
FlightCategory FlightCategoryOf(std::optional<double> ceilingFeet, std::optional<double> visibilityMiles);

// The category of an instant: from its ceiling's and visibility's lower bounds, where the
// bulletin gives both.
FlightCategory FlightCategoryOf(const ForecastInstant& instant);

// A period's end hour and its probabilities in percent (0 to 100).
struct PeriodValues {
    int endHour = 0;
    std::optional<int> precipitation;  // the part before a "/"
    std::optional<int> thunderstorms;  // the chance of a thunderstorm (the part before the "/")
};

// A daily maximum or minimum, marked at the end of its period.
struct ExtremeValue {
    int hour = 0;
    long temperature = 0;  // in the selected unit
    bool maximum = false;
};

// The table's values by forecast hour. A gap (nullopt, "" or None) where the row or the
// value is missing, or the value is no whole number in range: 999 for a temperature, 99 for
// a wind, more than 100 for a probability.
struct ForecastSeries {
    std::array<std::optional<long>, kGraphHours> temperature;  // in the selected unit
    std::array<std::optional<long>, kGraphHours> dewPoint;
    std::array<std::string, kGraphHours> cloudCover;           // the CLDS code
    std::array<std::optional<int>, kGraphHours> windDirection; // tens of degrees, 0 .. 36
    std::array<std::optional<int>, kGraphHours> windSpeed;     // knots, 0 .. 98
    // The gust, knots, where it exceeds the speed by kGustMarginKnots or more (as the report
    // tells it); the NBM bulletin alone gives gusts.
    std::array<std::optional<int>, kGraphHours> windGust;
    std::array<FlightCategory, kGraphHours> category{};
    // The periods ending by hour 60, by growing end, each span once.
    std::vector<PeriodValues> sixHours;
    std::vector<PeriodValues> twelveHours;
    std::vector<ExtremeValue> extremes;  // those ending from hour 6 to 60
};

// The model's values at the graph's hours; its periods of 6 and 12 hours that end within
// them. Never fails.
ForecastSeries ReadForecastSeries(const ForecastModel& forecast, TemperatureUnit unit);

// One caption of the time axis: the time-scale label of its hour, split where it shows a
// date ("12/10/26 0000" gives time "0000" and date "12/10/26"; "0600" gives no date).
struct GraphTimeLabel {
    int hour = 0;  // 6, 12 .. 60
    std::string time;
    std::string date;
};

// [GRAPH] texts, as they stand (code page 1252).
struct GraphCaptions {
    std::string title;            // Title filled with the station and the issue time
    std::string temperature;      // legend of the temperature curve
    std::string dewPoint;         // legend of the dew point curve
    std::string temperatureAxis;  // TemperatureAxis filled with the unit symbol
    std::string clouds;           // row captions
    std::string wind;
    std::string category;
    std::array<std::string, 4> categoryNames;  // LIFR, IFR, MVFR, VFR
    std::string probabilityAxis;
    std::string precipitation6;   // legends of the bars and lines
    std::string precipitation12;
    std::string thunderstorms6;
    std::string thunderstorms12;
    std::string maximum;          // marks of the daily maximum and minimum
    std::string minimum;
    std::string noTable;          // shown alone when no table is held
};

struct ForecastGraphModel {
    GraphCaptions captions;
    std::array<GraphTimeLabel, 10> timeLabels;
    int selectedIndex = 0;  // the hour the track bar selects: ForecastStep - 2
    bool holdsTable = false;
    ForecastSeries series;
    // The share of the sky that each hour's cloud cover covers, in eighths (0 .. 8), from
    // [GRAPH] Cover<code>; a gap where the code has no such key.
    std::array<std::optional<int>, kGraphHours> cloudEighths;
};

// The graph of what the report composes from the same inputs. The title and the time axis
// are written like the report's times and the time scale (selected time type, the station's
// zone); throws only as those do (UtcToZoneLocal).
ForecastGraphModel BuildForecastGraphModel(const ReportInputs& inputs);

}  // namespace skelmar
