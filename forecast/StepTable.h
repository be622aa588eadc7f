#pragma once
// Which value of the rows that are not 3-hourly belongs to each position of the track bar,
// and which 6- and 12-hour periods the report describes there. The columns are irregular
// (step 2 has a 6-hour period but no 6-hour amount; steps 13 and 14 share a ceiling cell while
// the precipitation type has none at 13), so they are data, not a formula.

#include <array>

namespace skelmar {

// ForecastStep: the track bar position; the report describes base time + 3 * step hours.
inline constexpr int kFirstStep = 2;
inline constexpr int kLastStep = 20;

enum class StepColumn {
    CigVisObvisCell,  // CIG, VIS and OBVIS rows
    PtypeCell,
    Period6Cell,      // POP06, TSV06
    Period6EndHour,
    Qpf6Cell,
    Period12Cell,     // POP12, TSV12
    Period12EndHour,
    Qpf12Cell,
};

// Cell numbers count from 1 after the row label; 0 means the row has no value at that step.
struct StepTableRow {
    int step;
    int hour;
    int cigVisObvisCell;
    int ptypeCell;
    int period6Cell;
    int period6EndHour;
    int qpf6Cell;
    int period12Cell;
    int period12EndHour;
    int qpf12Cell;
};

extern const std::array<StepTableRow, kLastStep - kFirstStep + 1> StepTable;

// The entry of `column` at `step`; 0 for a step outside 2..20.
int StepTableValue(int step, StepColumn column);

}  // namespace skelmar
