// The 6- and 12-hour sections: probabilities of precipitation and thunderstorms and the
// amount of precipitation over the period that the step table assigns to the step.

#include <string>

#include "report/ReportComposer.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

struct PeriodColumns {
    StepColumn periodCell;
    StepColumn endHour;
    StepColumn qpfCell;
    std::string_view probabilityRow;
    std::string_view thunderstormRow;
    std::string_view introKey;
};

PeriodColumns ColumnsOf(PeriodKind kind)
{
    if (kind == PeriodKind::TwelveHours) {
        return {StepColumn::Period12Cell, StepColumn::Period12EndHour, StepColumn::Qpf12Cell,
                "POP12", "TSV12", "Intro12"};
    }
    return {StepColumn::Period6Cell, StepColumn::Period6EndHour, StepColumn::Qpf6Cell,
            "POP06", "TSV06", "Intro6"};
}

// Amount categories that are whole texts, not arguments of the amount template.
bool IsStandaloneCategory(std::string_view key)
{
    return key == "9" || key == "29";
}

// The configuration key of a QPF value's category for the period; "" when it has none.
// 6 hours: the part before "/", "0" when empty. 12 hours: "2" and the part after "/"; a
// value without that part says nothing about 12 hours ("2" alone would be read as the
// 6-hour category 2).
std::string AmountKey(std::string_view value, PeriodKind kind)
{
    if (kind == PeriodKind::SixHours) {
        std::string category = ExtractField(value, '/', 1);
        return category.empty() ? std::string("0") : category;
    }
    const std::string category = ExtractField(value, '/', 2);
    return category.empty() ? std::string() : "2" + category;
}

}  // namespace

void ReportComposer::DescribePeriod(PeriodKind kind)
{
    // Without a table (nothing retrieved yet, or no table start found) the report is the
    // heading alone: a period introduction would name a period that nothing describes.
    const PeriodColumns columns = ColumnsOf(kind);
    if (!HoldsTable(inputs_.lines) || composition_.StepValue(columns.periodCell) <= 0)
        return;
    const std::string intro =
        FillTemplate(Text("PROBABILITIES", columns.introKey), PeriodSpanText(kind));
    composition_.AppendSentence("\\par \\par " + intro);

    // Each row is optional on its own.
    if (composition_.FindRow(columns.probabilityRow))
        DescribeProbability("Precip", kind);
    if (composition_.FindRow(columns.thunderstormRow))
        DescribeProbability("TS", kind);
    if (composition_.FindRow("QPF"))
        DescribeQpf(kind);
}

std::string ReportComposer::PeriodSpanText(PeriodKind kind) const
{
    const int hours = static_cast<int>(kind);
    const int endHour = composition_.StepValue(ColumnsOf(kind).endHour);
    const TDateTime start = inputs_.forecastBaseTime + (endHour - hours) / 24.0;
    const TDateTime end = inputs_.forecastBaseTime + endHour / 24.0;
    return FormatForecastTime(true, start, inputs_.time) + " and " +
           FormatForecastTime(true, end, inputs_.time);
}

void ReportComposer::DescribeProbability(std::string_view key, PeriodKind kind)
{
    const std::string value = composition_.Cell(composition_.StepValue(ColumnsOf(kind).periodCell));
    const std::string pattern = Text("PROBABILITIES", key);
    // The value alone decides between one argument and two, whatever its row.
    if (value.find('/') == std::string::npos) {
        composition_.AppendSentence(FillTemplate(pattern, value));
        return;
    }
    const std::string second = ExtractField(value, '/', 2);
    composition_.AppendSentence(FillTemplate(pattern, ExtractField(value, '/', 1),
                                             second.empty() ? std::string_view("0") : second));
}

void ReportComposer::DescribeQpf(PeriodKind kind)
{
    const int cell = composition_.StepValue(ColumnsOf(kind).qpfCell);
    if (cell <= 0)
        return;  // step 2 has no 6-hour amount
    const std::string key = AmountKey(composition_.Cell(cell), kind);
    if (key.empty())
        return;
    if (IsStandaloneCategory(key))
        composition_.AppendSentence(Text("QPF", key));
    else
        composition_.AppendSentence(FillTemplate(Text("QPF", "QPF"), Text("QPF", key)));
}

}  // namespace skelmar
