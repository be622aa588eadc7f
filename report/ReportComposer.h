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

namespace skelmar {

// The item index of the temperature unit selector.
enum class TemperatureUnit { Fahrenheit = 0, Celsius = 1 };

// Index 1 is Celsius; every other index counts as Fahrenheit.
TemperatureUnit TemperatureUnitFromIndex(int itemIndex);

// Everything a composition reads. The referenced objects must outlive the composition.
struct ReportInputs {
    const BulletinLines& lines;     // normalised after a good retrieval (read as they are)
    int forecastStep;               // 2..20, the track bar position
    TemperatureUnit unit;
    std::string_view stationEntry;  // the station list's text; the heading shows it up to "="
    const ConfigTexts& config;
};

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
// is not a whole number; nothing is returned then.
std::string ComposeReportText(const ReportInputs& inputs);

// One composition: holds CurrentRow and ReportText while the element decoders append to the
// report. The decoders are public so that each can be run on its own; each appends zero or
// more sentences to ReportText and leaves CurrentRow at the last row it looked up.
class ReportComposer {
public:
    explicit ReportComposer(const ReportInputs& inputs);

    // Prologue, heading, every decoder in report order, "}"; returns the document.
    std::string Compose();

    const std::string& ReportText() const { return composition_.ReportText(); }
    const std::string& CurrentRow() const { return composition_.CurrentRow(); }

    // Temperature and dew point at the step. "999" for the temperature: [TEMP] NoReport
    // alone. A missing TEMP row: nothing. The dew point is reported even when it is missing.
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

private:
    std::string Text(std::string_view section, std::string_view key) const
    {
        return inputs_.config.Value(section, key);
    }

    ReportInputs inputs_;
    Composition composition_;
};

}  // namespace skelmar
