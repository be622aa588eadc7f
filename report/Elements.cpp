// Sky, visibility, wind and precipitation type at the selected instant. The bulletin's codes
// are never interpreted here: each is the key of its text in the configuration.

#include <string>

#include "report/ReportComposer.h"
#include "text/Numbers.h"

namespace skelmar {

namespace {

constexpr std::string_view kNoVisibility = "9";     // also taken for a step without a cell
constexpr std::string_view kNoObstruction = "X";
constexpr std::string_view kNoPrecipitation = "X";
constexpr std::string_view kNoWindReport = "99";

}  // namespace

void ReportComposer::DescribeSky()
{
    if (!composition_.FindRow("CLDS"))
        return;
    const std::string cover = composition_.ThreeHourlyValue();
    composition_.AppendSentence(FillTemplate(Text("CLDS", "CLDS"), Text("CLDS", cover)));

    // The ceiling text completes the sky sentence; without a ceiling a full stop does.
    composition_.FindRow("CIG");
    const std::string ceiling = composition_.StepCell(StepColumn::CigVisObvisCell);
    composition_.AppendSentence(ceiling.empty() ? std::string(".") : Text("CIG", ceiling));
}

void ReportComposer::DescribeVisibility()
{
    if (!composition_.FindRow("VIS"))
        return;
    const std::string visibility = composition_.StepCell(StepColumn::CigVisObvisCell);
    if (visibility.empty() || visibility == kNoVisibility) {
        composition_.AppendSentence(Text("VIS", kNoVisibility));
        return;
    }

    composition_.FindRow("OBVIS");
    const std::string obstruction = composition_.StepCell(StepColumn::CigVisObvisCell);
    if (obstruction == kNoObstruction) {
        composition_.AppendSentence(FillTemplate(Text("VIS", "VIS1"), Text("VIS", visibility)));
    } else {
        // An empty obstruction is looked up as it is, and VIS2 still used.
        composition_.AppendSentence(FillTemplate(Text("VIS", "VIS2"), Text("VIS", visibility),
                                                 Text("OBVIS", obstruction)));
    }
}

void ReportComposer::DescribeWind()
{
    if (!composition_.FindRow("WSPD"))
        return;
    // Both values are converted before any test, so a bad direction fails even in calm.
    const int speedValue = StrToInt(composition_.ThreeHourlyValue());
    const std::string speed = std::to_string(speedValue);  // "07" -> "7"
    composition_.FindRow("WDIR");
    const std::string direction = std::to_string(StrToInt(composition_.ThreeHourlyValue()));

    if (speedValue == 0)
        composition_.AppendSentence(Text("WIND", "Calm"));
    else if (speed == kNoWindReport)
        composition_.AppendSentence(Text("WIND", "NoReport"));
    else
        composition_.AppendSentence(FillTemplate(Text("WIND", "WIND"), direction, speed));
}

void ReportComposer::DescribePrecipType()
{
    if (!composition_.FindRow("PTYPE"))
        return;
    const int cell = composition_.StepValue(StepColumn::PtypeCell);
    if (cell == 0)
        return;
    const std::string type = composition_.Cell(cell);
    if (type == kNoPrecipitation)
        return;
    composition_.AppendSentence(FillTemplate(Text("PTYPE", "PTYPE"), Text("PTYPE", type)));
}

}  // namespace skelmar
