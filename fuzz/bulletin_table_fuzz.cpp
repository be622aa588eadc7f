// Normalises any text as a bulletin and reads every row the report reads at every step.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "forecast/BulletinTable.h"
#include "report/Composition.h"
#include "tests/support/BulletinFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    skelmar::BulletinLines lines = skelmar::SplitBulletinText(text);
    skelmar::NormaliseBulletinTable(lines);

    static constexpr std::string_view kLabels[] = {"TEMP", "DEWPT", "CLDS", "WDIR", "WSPD",
                                                   "POP06", "POP12", "QPF", "TSV06", "TSV12",
                                                   "PTYPE", "CIG", "VIS", "OBVIS"};
    for (int step = skelmar::kFirstStep - 1; step <= skelmar::kLastStep + 1; ++step) {
        skelmar::Composition composition(lines, step);
        for (const std::string_view label : kLabels) {
            composition.FindRow(label);
            composition.AppendSentence(composition.ThreeHourlyValue());
            for (int column = 0; column <= static_cast<int>(skelmar::StepColumn::Qpf12Cell); ++column)
                composition.AppendSentence(composition.StepCell(static_cast<skelmar::StepColumn>(column)));
        }
        skelmar::FillTemplate(composition.ReportText(), composition.CurrentRow(), "x");
    }
    return 0;
}
