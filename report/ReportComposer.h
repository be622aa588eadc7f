#pragma once
// The text report: an RTF document composed from the forecast model, the configuration texts
// and the forecast times. Composing is a function of the inputs below, so the window, the
// command line, the tests and the benchmark all run the same code. It knows no product: what
// each value means is the model's, what it says is the configuration's.
//
// Every word comes from the configuration ([section] key, the empty text when absent); the
// bulletin's codes are used as keys. Texts go into the document as they stand: RTF control
// words in them take effect.

#include <string>
#include <string_view>

#include "forecast/ForecastModel.h"
#include "report/ReportInputs.h"

namespace skelmar {

// The least margin, in knots, by which the gust must exceed the wind speed for the report to
// tell it: the margin at which aviation forecasts (TAF) and observations report gusts.
inline constexpr int kGustMarginKnots = 10;

// The lengths of the periods whose introductions the configuration has always had.
enum class PeriodKind { SixHours = 6, TwelveHours = 12 };

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

// The text of `value` in `section`: its key's text, or, where that is empty, the text of its
// fallback key (an older configuration file's merged category).
std::string CategoryText(const ConfigTexts& config, std::string_view section, const ForecastValue& value);

// One composition: holds ReportText while the element decoders append to it. The decoders
// are public so that each can be run on its own; each appends zero or more sentences about
// the instant of the step (nothing when the model has no instant there).
class ReportComposer {
public:
    explicit ReportComposer(const ReportInputs& inputs);

    // Prologue, heading, every decoder in report order, "}": the document, moved out of
    // ReportText. Once per composer. Throws as ComposeReportText does.
    std::string Compose();

    const std::string& ReportText() const { return reportText_; }

    // Temperature and dew point. A missing temperature: [TEMP] NoReport alone. No
    // temperature: nothing. A missing dew point: [TEMP] DEWPTMissing where the file has it;
    // otherwise the dew point sentence with whatever the dew point holds.
    void DescribeTemperature();
    // Fahrenheit: `value` as it stands + degree sign + " F". Celsius: `value` as a whole
    // number (anything else counts as 0) converted and rounded + degree sign + " C".
    std::string FormatTemperature(std::string_view value) const;

    // Cloud cover with the ceiling (or "." when the instant has none) right after it. A
    // ceiling the bulletin states in feet fills [CIG] Feet, where the file has it.
    void DescribeSky();
    // A missing visibility: its key's text alone; no obstruction or a missing one: VIS1;
    // otherwise VIS2. A visibility in miles fills [VIS] Miles, where the file has it.
    void DescribeVisibility();
    // Speed 0: [WIND] Calm; a missing speed or direction: [WIND] NoReport; otherwise
    // WIND(direction, speed). Throws Error for a speed or direction that is not a whole
    // number (the empty one too) and not marked missing.
    void DescribeWind();
    // The gust sentence after the wind's, for a speed of `speedValue` knots.
    void DescribeGusts(int speedValue);
    // Nothing when there is none or it is missing.
    void DescribePrecipType();

    // Every period the instant refers to, in its order (DescribePeriod of each).
    void DescribePeriods();
    // The periods of `kind`'s length the instant refers to.
    void DescribePeriod(PeriodKind kind);
    // "\par \par ", the introduction of its length ([PROBABILITIES] Intro6, Intro12,
    // Intro24) with its span, then the sentences of the elements it holds: probability,
    // thunderstorms, amount, maximum, minimum, snowfall.
    void DescribePeriod(const ForecastPeriod& period);
    // "<start> and <end>" of the period, both with the short date.
    std::string PeriodSpanText(const ForecastPeriod& period) const;
    // That of the first period of `kind`'s length the instant refers to; "" when none.
    std::string PeriodSpanText(PeriodKind kind) const;

private:
    std::string Text(std::string_view section, std::string_view key) const
    {
        return inputs_.config.Value(section, key);
    }
    std::string Heading() const;
    // Appends `piece`, with a blank after it when it ends with ".".
    void AppendSentence(std::string_view piece);
    void DescribeProbability(std::string_view key, const ForecastValue& value);
    void DescribeAmount(std::string_view section, std::string_view templateKey, const ForecastValue& value);
    void DescribeExtreme(std::string_view key, const ForecastValue& value);

    ReportInputs inputs_;
    const ForecastInstant* instant_;  // nullptr when the model has none at the step
    std::string reportText_;
};

}  // namespace skelmar
