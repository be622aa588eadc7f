// Normalises any text as a bulletin, reads every row the old layout's reader reads at every
// cell, and reads the table into the forecast model: an instant for each step, and every
// period an instant refers to holds it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastReaders.h"
#include "forecast/StepTable.h"
#include "tests/support/BulletinFixture.h"
#include "text/ConfigTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    skelmar::BulletinLines lines = skelmar::SplitBulletinText(text);
    skelmar::NormaliseBulletinTable(lines);

    static constexpr std::string_view kLabels[] = {"TEMP", "DEWPT", "CLDS", "WDIR", "WSPD",
                                                   "POP06", "POP12", "QPF", "TSV06", "TSV12",
                                                   "PTYPE", "CIG", "VIS", "OBVIS"};
    skelmar::BulletinTableReader table(lines);
    std::string cells;
    for (const std::string_view label : kLabels) {
        table.FindRow(label);
        for (int cell = 0; cell <= skelmar::kLastStep + 1; ++cell)
            cells += table.Cell(cell);
    }
    skelmar::FillTemplate(cells, table.CurrentRow(), "x");

    const skelmar::ForecastModel model = skelmar::ReadNgmTable(lines);
    if (model.instants.size() != static_cast<std::size_t>(skelmar::kLastStep - skelmar::kFirstStep + 1))
        std::abort();
    for (const skelmar::ForecastInstant& instant : model.instants)
        for (const std::size_t index : instant.periods)
            if (index >= model.periods.size() || model.periods[index].startHour > instant.hour ||
                model.periods[index].endHour < instant.hour)
                std::abort();
    return 0;
}
