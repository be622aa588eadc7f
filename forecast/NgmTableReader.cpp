// The old NGM layout: the step table says which cell belongs to which hour.

#include <map>
#include <tuple>

#include "forecast/Categories.h"
#include "forecast/ForecastReaders.h"
#include "forecast/StepTable.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

using State = ForecastValue::State;

ForecastValue Given(std::string text)
{
    ForecastValue value;
    value.state = State::Given;
    value.text = std::move(text);
    return value;
}

ForecastValue Marked(State state, std::string text, std::string key = {})
{
    ForecastValue value;
    value.state = state;
    value.text = std::move(text);
    value.key = std::move(key);
    return value;
}

// The value of `label`'s row at cell `cell`; Absent without the row or for cell 0.
ForecastValue CellValue(BulletinTableReader& table, std::string_view label, int cell)
{
    if (!table.FindRow(label) || cell <= 0)
        return {};
    return Given(table.Cell(cell));
}

// A ceiling or visibility code with the least quantity of its category, where it is one;
// the code is read as a number ("03" is category 3).
void AddBound(ForecastValue& value, std::span<const Category> table)
{
    const std::optional<int> code = ParseInteger(value.text);
    if (!code)
        return;
    if (const std::optional<Category> category = FindCategory(table, std::to_string(*code)))
        value.lowerBound = category->lowerBound;
}

// The amount category of a QPF cell for the period: 6 hours, the part before "/" ("0" when
// empty); 12 hours, "2" and the part after it, nothing when there is none ("2" alone would
// read as the 6-hour category 2). 9 and 29 mean no amount forecast.
ForecastValue Amount(const std::string& cell, int hours)
{
    std::string key;
    if (hours == 6) {
        key = ExtractField(cell, '/', 1);
        if (key.empty())
            key = "0";
    } else {
        const std::string category = ExtractField(cell, '/', 2);
        if (category.empty())
            return {};
        key = "2" + category;
    }
    const State state = key == "9" || key == "29" ? State::Missing : State::Given;
    return Marked(state, cell, key);
}

struct PeriodColumns {
    StepColumn cell;
    StepColumn endHour;
    StepColumn qpfCell;
    std::string_view probabilityRow;
    std::string_view thunderstormRow;
    int hours;
};

constexpr PeriodColumns kPeriodColumns[] = {
    {StepColumn::Period6Cell, StepColumn::Period6EndHour, StepColumn::Qpf6Cell, "POP06", "TSV06", 6},
    {StepColumn::Period12Cell, StepColumn::Period12EndHour, StepColumn::Qpf12Cell, "POP12", "TSV12", 12},
};

ForecastInstant ReadInstant(BulletinTableReader& table, int step)
{
    ForecastInstant instant;
    instant.hour = 3 * step;
    const int threeHourly = step - 1;
    const int cigCell = StepTableValue(step, StepColumn::CigVisObvisCell);

    instant.temperature = CellValue(table, "TEMP", threeHourly);
    if (instant.temperature.text == "999")
        instant.temperature.state = State::Missing;
    instant.dewPoint = CellValue(table, "DEWPT", threeHourly);
    instant.cloudCover = CellValue(table, "CLDS", threeHourly);

    instant.ceiling = CellValue(table, "CIG", cigCell);
    if (instant.ceiling.text.empty())
        instant.ceiling = {};  // a ceiling of no text is none
    AddBound(instant.ceiling, kNgmCeilingCategories);

    if (table.FindRow("VIS")) {
        const std::string visibility = cigCell > 0 ? table.Cell(cigCell) : std::string();
        if (visibility.empty() || visibility == "9")
            instant.visibility = Marked(State::Missing, visibility, "9");
        else
            instant.visibility = Given(visibility);
        AddBound(instant.visibility, kNgmVisibilityCategories);
    }
    instant.obstruction = CellValue(table, "OBVIS", cigCell);
    if (instant.obstruction.text == "X")
        instant.obstruction.state = State::None;

    instant.windSpeed = CellValue(table, "WSPD", threeHourly);
    if (instant.windSpeed.Present() && StrToIntDef(instant.windSpeed.text, -1) == 99)
        instant.windSpeed.state = State::Missing;
    instant.windDirection = CellValue(table, "WDIR", threeHourly);

    instant.precipType = CellValue(table, "PTYPE", StepTableValue(step, StepColumn::PtypeCell));
    if (instant.precipType.text == "X")
        instant.precipType.state = State::None;
    return instant;
}

}  // namespace

ForecastModel ReadNgmTable(const BulletinLines& lines)
{
    ForecastModel model;
    model.holdsTable = HoldsTable(lines);
    BulletinTableReader table(lines);

    // The periods of the steps, each once: (hours, period cell, amount cell) -> index.
    std::map<std::tuple<int, int, int>, std::size_t> periodIndex;
    for (int step = kFirstStep; step <= kLastStep; ++step) {
        ForecastInstant instant = ReadInstant(table, step);
        for (const PeriodColumns& columns : kPeriodColumns) {
            const int cell = StepTableValue(step, columns.cell);
            if (!model.holdsTable || cell <= 0)
                continue;
            const int qpfCell = StepTableValue(step, columns.qpfCell);
            const auto key = std::make_tuple(columns.hours, cell, qpfCell);
            auto found = periodIndex.find(key);
            if (found == periodIndex.end()) {
                ForecastPeriod period;
                period.endHour = StepTableValue(step, columns.endHour);
                period.startHour = period.endHour - columns.hours;
                period.precipitation = CellValue(table, columns.probabilityRow, cell);
                period.thunderstorms = CellValue(table, columns.thunderstormRow, cell);
                if (table.FindRow("QPF") && qpfCell > 0)
                    period.amount = Amount(table.Cell(qpfCell), columns.hours);
                found = periodIndex.emplace(key, model.periods.size()).first;
                model.periods.push_back(std::move(period));
            }
            instant.periods.push_back(found->second);
        }
        model.instants.push_back(std::move(instant));
    }
    return model;
}

}  // namespace skelmar
