#pragma once
// What the forecast graph shows, read from the normalised table: the 3-hourly values of the
// 19 forecast hours (6 to 60), the flight category of each hour, the probabilities of the
// 6- and 12-hour periods, and the captions. Plain C++, so that the window and the command
// line draw the same picture from it and tests check it without drawing.
//
// Like the report, the graph holds no weather vocabulary: every caption comes from the
// configuration's section "GRAPH", and the bulletin's codes stay codes. Unlike the report it
// never fails on the table's values: a value that is missing or not a number is a gap.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "report/BulletinTable.h"
#include "report/ReportComposer.h"
#include "report/StepTable.h"

namespace skelmar {

// The forecast hours of the graph, one per track bar position: hour 3 * step, index step - 2.
inline constexpr int kGraphHours = kLastStep - kFirstStep + 1;  // 19: hours 6, 9 .. 60
inline constexpr int kSixHourPeriods = 9;                       // ending at hours 12, 18 .. 60
inline constexpr int kTwelveHourPeriods = 4;                    // ending at hours 24, 36, 48, 60

// The hour of index i (0 .. 18).
constexpr int GraphHour(int index) { return 3 * (index + kFirstStep); }

// From worst to best, as pilots rank them; None where the table gives no category.
enum class FlightCategory { None, Lifr, Ifr, Mvfr, Vfr };

// The category of a ceiling and a visibility code of the table: the worse of the two.
// Ceiling: 1 and 2 (below 500 ft) LIFR, 3 (500 to 900 ft) IFR, 4 (1,000 to 3,000 ft) MVFR,
// 5 to 7 VFR. Visibility: 1 and 2 (below 1 mile) LIFR, 3 (1 to below 3 miles) IFR, 4 (3 to
// 5 miles) MVFR, 5 VFR. None when either is missing or is no such code (9, the products'
// missing value, included): a category from one of the two could be too good.
FlightCategory FlightCategoryOf(std::string_view ceiling, std::string_view visibility);

// A period's end hour and its probabilities in percent (0 to 100).
struct PeriodValues {
    int endHour = 0;
    std::optional<int> precipitation;  // POP06 or POP12 (the part before a "/")
    std::optional<int> thunderstorms;  // TSV06 or TSV12 (the part before the "/")
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
    std::array<FlightCategory, kGraphHours> category{};
    std::array<PeriodValues, kSixHourPeriods> sixHours;
    std::array<PeriodValues, kTwelveHourPeriods> twelveHours;
};

// Reads the rows as the decoders do: FindRow, then the 3-hourly cell of each hour, the
// CIG/VIS cell of the step table, and the period cells with the end hours the step table
// gives them. Never fails.
ForecastSeries ReadForecastSeries(const BulletinLines& lines, TemperatureUnit unit);

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
