#include "forecast/StepTable.h"

namespace skelmar {

// clang-format off
const std::array<StepTableRow, kLastStep - kFirstStep + 1> StepTable = {{
    // step hour  cig  ptype  p6  end6  q6   p12 end12 q12
    {  2,    6,    1,    1,    1,  12,   0,    0,   0,   0 },
    {  3,    9,    2,    2,    1,  12,   1,    0,   0,   0 },
    {  4,   12,    3,    3,    1,  12,   1,    1,  24,   3 },
    {  5,   15,    4,    4,    2,  18,   2,    1,  24,   3 },
    {  6,   18,    5,    5,    2,  18,   2,    1,  24,   3 },
    {  7,   21,    6,    6,    3,  24,   3,    1,  24,   3 },
    {  8,   24,    7,    7,    3,  24,   3,    1,  24,   3 },
    {  9,   27,    8,    8,    4,  30,   4,    2,  36,   5 },
    { 10,   30,    9,    9,    4,  30,   4,    2,  36,   5 },
    { 11,   33,   10,   10,    5,  36,   5,    2,  36,   5 },
    { 12,   36,   11,   11,    5,  36,   5,    2,  36,   5 },
    { 13,   39,   12,    0,    6,  42,   6,    3,  48,   7 },
    { 14,   42,   12,   12,    6,  42,   6,    3,  48,   7 },
    { 15,   45,   13,    0,    7,  48,   7,    3,  48,   7 },
    { 16,   48,   13,   13,    7,  48,   7,    3,  48,   7 },
    { 17,   51,    0,    0,    8,  54,   8,    4,  60,   9 },
    { 18,   54,    0,   14,    8,  54,   8,    4,  60,   9 },
    { 19,   57,    0,    0,    9,  60,   9,    4,  60,   9 },
    { 20,   60,    0,   15,    9,  60,   9,    4,  60,   9 },
}};
// clang-format on

int StepTableValue(int step, StepColumn column)
{
    if (step < kFirstStep || step > kLastStep)
        return 0;
    const StepTableRow& row = StepTable[static_cast<std::size_t>(step - kFirstStep)];
    switch (column) {
    case StepColumn::CigVisObvisCell: return row.cigVisObvisCell;
    case StepColumn::PtypeCell: return row.ptypeCell;
    case StepColumn::Period6Cell: return row.period6Cell;
    case StepColumn::Period6EndHour: return row.period6EndHour;
    case StepColumn::Qpf6Cell: return row.qpf6Cell;
    case StepColumn::Period12Cell: return row.period12Cell;
    case StepColumn::Period12EndHour: return row.period12EndHour;
    case StepColumn::Qpf12Cell: return row.qpf12Cell;
    }
    return 0;
}

}  // namespace skelmar
