// Composing one text report of a full bulletin, as the window does at every re-render.
// The bulletin is normalised once outside the loop, as after a retrieval.

#include <benchmark/benchmark.h>

#include <string>

#include "forecast/ForecastReaders.h"
#include "report/ReportComposer.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/EasternLocalTime.h"
#include "tests/support/MemoryConfigTexts.h"

namespace skelmar {
namespace {

// Texts of about the size and shape of a real configuration's report sections.
const MemoryConfigTexts& ReportTexts()
{
    static const MemoryConfigTexts texts = {
        {"GENERAL", "Heading", "Extended Aviation Weather Report for"},
        {"TEMP", "TEMP", "The temperature will be %s."},
        {"TEMP", "DEWPT", "The dew point will be %s."},
        {"TEMP", "NoReport", "No temperature forecast is available for this time. "},
        {"CLDS", "CLDS", "The sky will be %s"},
        {"CLDS", "CL", "clear"},
        {"CLDS", "SC", "partly cloudy (scattered clouds)"},
        {"CLDS", "BK", "mostly cloudy (broken clouds)"},
        {"CLDS", "OV", "overcast"},
        {"CIG", "1", ", with a ceiling below 200 feet. "},
        {"CIG", "2", ", with a ceiling of 200 to 400 feet. "},
        {"CIG", "3", ", with a ceiling of 500 to 900 feet. "},
        {"CIG", "4", ", with a ceiling of 1000 to 3000 feet. "},
        {"CIG", "5", ", with a ceiling of 3100 to 6500 feet. "},
        {"CIG", "6", ", with a ceiling of 6600 to 12000 feet. "},
        {"CIG", "7", ", with a ceiling above 12000 feet or unlimited. "},
        {"VIS", "1", "less than 1/2 mile"},
        {"VIS", "2", "1/2 to less than 1 mile"},
        {"VIS", "3", "1 to less than 3 miles"},
        {"VIS", "4", "3 to 5 miles"},
        {"VIS", "5", "more than 5 miles"},
        {"VIS", "9", "No visibility forecast is available for this time. "},
        {"VIS", "VIS1", "Visibility will be %s."},
        {"VIS", "VIS2", "Visibility will be %s in %s."},
        {"OBVIS", "N", "no obstruction"},
        {"OBVIS", "F", "fog or mist"},
        {"OBVIS", "H", "haze, smoke or dust"},
        {"OBVIS", "B", "blowing dust, sand or snow"},
        {"WIND", "WIND", "Wind from %s0 degrees at %s knots."},
        {"WIND", "Calm", "The wind will be calm. "},
        {"WIND", "NoReport", "No wind forecast is available for this time. "},
        {"PTYPE", "PTYPE", "Precipitation, if any, will be %s."},
        {"PTYPE", "S", "snow or snow pellets"},
        {"PTYPE", "Z", "freezing rain, freezing drizzle or ice pellets"},
        {"PTYPE", "R", "rain or drizzle, or rain mixed with snow"},
        {"PROBABILITIES", "Intro6", "\\b Between %s:\\b0 "},
        {"PROBABILITIES", "Intro12", "\\b Between %s:\\b0 "},
        {"PROBABILITIES", "Precip", "The probability of precipitation is %s percent."},
        {"PROBABILITIES", "TS",
         "The probability of thunderstorms is %s percent, of severe thunderstorms %s percent."},
        {"QPF", "QPF", "The amount of precipitation is expected to be %s."},
        {"QPF", "0", "none"},
        {"QPF", "1", "0.01 to 0.09 inches"},
        {"QPF", "2", "0.10 to 0.24 inches"},
        {"QPF", "3", "0.25 to 0.49 inches"},
        {"QPF", "4", "0.50 to 0.99 inches"},
        {"QPF", "5", "1.00 to 1.99 inches"},
        {"QPF", "6", "2.00 inches or more"},
        {"QPF", "9", "No precipitation amount is forecast. "},
        {"QPF", "20", "none"},
        {"QPF", "21", "0.01 to 0.09 inches"},
        {"QPF", "22", "0.10 to 0.24 inches"},
        {"QPF", "23", "0.25 to 0.49 inches"},
        {"QPF", "24", "0.50 to 0.99 inches"},
        {"QPF", "25", "1.00 to 1.99 inches"},
        {"QPF", "26", "2.00 to 2.99 inches"},
        {"QPF", "29", "No precipitation amount is forecast. "},
    };
    return texts;
}

// Arguments: the step (2..20) and the time type (0 Local, 1 Zulu).
void BM_ComposeReport(benchmark::State& state)
{
    BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/ngm_bos_winter.txt");
    NormaliseBulletinTable(lines);
    if (lines.empty()) {
        state.SkipWithError("fixture bulletin not found");
        return;
    }
    const TimeTextContext time =
        state.range(1) == 0 ? EasternLocalTime() : TimeTextContext{};  // Zulu by default
    const ForecastModel forecast = ReadNgmTable(lines);
    const ReportInputs inputs{forecast,
                              EncodeDate(2026, 12, 9) + 0.5,
                              static_cast<int>(state.range(0)),
                              TemperatureUnit::Celsius,
                              "Boston, MA (BOS)",
                              ReportTexts(),
                              time};
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string report = ComposeReportText(inputs);
        bytes = report.size();
        benchmark::DoNotOptimize(report);
    }
    state.counters["report_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ComposeReport)
    ->ArgNames({"step", "zulu"})
    ->Args({2, 1})
    ->Args({12, 1})
    ->Args({20, 1})
    ->Args({20, 0});

}  // namespace
}  // namespace skelmar
