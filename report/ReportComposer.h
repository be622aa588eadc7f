#pragma once
// The text report: an RTF document composed from the normalised bulletin table, the
// configuration texts and the forecast times. Composing is a function of the inputs below,
// so the window, the command line, the tests and the benchmark all run the same code.
//
// Every word comes from the configuration ([section] key, the empty text when absent); the
// bulletin's codes are used as keys. Texts go into the document as they stand: RTF control
// words in them take effect.

#include <string>
#include <string_view>

#include "report/BulletinTable.h"
#include "report/Composition.h"
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

// Everything a composition reads. The referenced objects must outlive the composition.
struct ReportInputs {
    const BulletinLines& lines;     // normalised after a good retrieval (read as they are)
    TDateTime forecastBaseTime;     // the bulletin's issue, UTC; 0 before any retrieval
    int forecastStep;               // 2..20, the track bar position
    TemperatureUnit unit;
    std::string_view stationEntry;  // the station list's text; the heading shows it up to "="
    const ConfigTexts& config;
    const TimeTextContext& time;    // Local or Zulu, the station's zone, the date patterns
};

// The instant the report describes: 3 * forecastStep hours after the base time.
TDateTime ReportTime(TDateTime forecastBaseTime, int forecastStep);

// The two sections about a period rather than an instant.
enum class PeriodKind { SixHours = 6, TwelveHours = 12 };

// The degree sign of code page 1252; the document declares that code page.
inline constexpr char kDegreeSign = '\xB0';

// The start of every report document: fonts, tab stops, the heading's font selected.
inline constexpr std::string_view kReportPrologue =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\widowctrl{\\fonttbl{\\f0\\fswiss\\fcharset0 "
    "Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\\viewkind4\\uc1\\tx360\\tx720"
    "\\tx1080\\tx1440\\tx2160\\tx2880\\pard\\f1 ";

// "\fs" and twice `points` rounded to a whole number, then a blank: "\fs26 " for 13.
std::string FontSizeControl(double points);

// The whole document: prologue, heading, the decoders' sentences, "}".
// Throws Error("'<value>' is not a valid integer value") for a wind speed or direction that
// is not a whole number, and what FormatForecastTime throws; nothing is returned then.
std::string ComposeReportText(const ReportInputs& inputs);

// One composition: holds CurrentRow and ReportText while the element decoders append to the
// report. The decoders are public so that each can be run on its own; each appends zero or
// more sentences to ReportText and leaves CurrentRow at the last row it looked up.
class ReportComposer {
public:
    explicit ReportComposer(const ReportInputs& inputs);

    // Prologue, heading, every decoder in report order, "}": the document, moved out of
    // ReportText. Once per composer. Throws as ComposeReportText does.
    std::string Compose();

    const std::string& ReportText() const { return composition_.ReportText(); }
    const std::string& CurrentRow() const { return composition_.CurrentRow(); }

    // Temperature and dew point at the step. "999" for the temperature: [TEMP] NoReport
    // alone. A missing TEMP row: nothing. A missing DEWPT row or value still gives the dew
    // point sentence, with an empty value.
    void DescribeTemperature();
    // Fahrenheit: `value` as it stands + degree sign + " F". Celsius: `value` as a whole
    // number (anything else counts as 0) converted and rounded + degree sign + " C".
    std::string FormatTemperature(std::string_view value) const;

    // Cloud cover with the ceiling (or "." when the step has none) right after it.
    void DescribeSky();
    // Visibility "9" or none: [VIS] 9 alone; obstruction "X": VIS1; otherwise VIS2.
    void DescribeVisibility();
    // Speed 0: [WIND] Calm; speed "99": [WIND] NoReport; otherwise WIND(direction, speed).
    // Throws Error for a speed or direction that is not a whole number (the empty one too).
    void DescribeWind();
    // Nothing for "X" or a step without a precipitation type cell.
    void DescribePrecipType();

    // The section of the period that the step table assigns to the step: "\par \par ", the
    // introduction, then the probability, thunderstorm and amount sentences of the rows that
    // are present. Nothing when the step has no such period (12 hours at steps 2 and 3) or
    // the table holds no line at all.
    void DescribePeriod(PeriodKind kind);
    // "<start> and <end>" of the step's period, both with the short date.
    std::string PeriodSpanText(PeriodKind kind) const;
    // [PROBABILITIES] `key` filled with CurrentRow's value at the period cell, or with its
    // two parts when it holds a "/" (an empty second part reads "0").
    void DescribeProbability(std::string_view key, PeriodKind kind);
    // The amount category of CurrentRow (the QPF row) for the period: 6 hours, the part
    // before "/" ("0" when empty); 12 hours, "2" and the part after it, no sentence when
    // there is none. Categories "9" and "29" are texts of their own; the others fill
    // [QPF] QPF.
    void DescribeQpf(PeriodKind kind);

private:
    std::string Text(std::string_view section, std::string_view key) const
    {
        return inputs_.config.Value(section, key);
    }
    std::string Heading() const;

    ReportInputs inputs_;
    Composition composition_;
};

}  // namespace skelmar
