// Reads any text as a bulletin (as GFS or NAM guidance when it reads as one, else as a table
// of the old layout) and composes its report at every step, in both units and both time
// types. Every period an instant refers to holds it; the only failure allowed is the
// program's Error (a wind value that is not a whole number); the document always opens with
// the prologue and closes with "}".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "forecast/ForecastReaders.h"
#include "forecast/StepTable.h"
#include "report/ReportComposer.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/EasternLocalTime.h"
#include "tests/support/MemoryConfigTexts.h"
#include "text/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const skelmar::MemoryConfigTexts config = {
        {"GENERAL", "Heading", "Report for"},   {"TEMP", "TEMP", "T %s."},
        {"TEMP", "DEWPT", "D %s."},             {"CLDS", "CLDS", "S %s"},
        {"VIS", "VIS1", "V %s."},               {"VIS", "VIS2", "V %s %s."},
        {"WIND", "WIND", "W %s %s."},           {"PTYPE", "PTYPE", "P %s."},
        {"PROBABILITIES", "Intro6", "6 %s:"},   {"PROBABILITIES", "Intro12", "12 %s:"},
        {"PROBABILITIES", "Precip", "%s %s."},  {"PROBABILITIES", "TS", "%s %s."},
        {"QPF", "QPF", "Q %s."},                {"CIG", "C5", ""},
        {"CIG", "4", "c %s"},                   {"VIS", "Miles", "%s mi"},
        {"TEMP", "Max", "X %s."},               {"SNOW", "SNOW", "N %s."},
        {"PROBABILITIES", "Intro24", "24 %s:"},
    };
    static const skelmar::TimeTextContext zulu;
    static const skelmar::TimeTextContext local = skelmar::EasternLocalTime();

    const skelmar::BulletinLines bulletin = skelmar::SplitBulletinText({reinterpret_cast<const char*>(data), size});
    skelmar::BulletinLines lines = bulletin;
    skelmar::NormaliseBulletinTable(lines);
    const skelmar::ForecastModel forecast = skelmar::ReadForecast(bulletin, lines);
    for (const skelmar::ForecastInstant& instant : forecast.instants) {
        for (const std::size_t index : instant.periods) {
            if (index >= forecast.periods.size() || forecast.periods[index].startHour > instant.hour ||
                forecast.periods[index].endHour < instant.hour)
                std::abort();
        }
    }
    const skelmar::TDateTime base = skelmar::EncodeDate(2026, 12, 9) + 0.5;
    for (int step = skelmar::kFirstStep; step <= skelmar::kLastStep; ++step) {
        for (const auto unit : {skelmar::TemperatureUnit::Fahrenheit, skelmar::TemperatureUnit::Celsius}) {
            for (const skelmar::TimeTextContext* time : {&zulu, &local}) {
                const skelmar::ReportInputs inputs{forecast, base, step, unit, "Station (ABC)", config, *time};
                try {
                    const std::string report = skelmar::ComposeReportText(inputs);
                    if (!report.starts_with(skelmar::kReportPrologue) || !report.ends_with('}'))
                        std::abort();
                } catch (const skelmar::Error&) {
                    // A bad wind value: the composition ends, as in the window.
                }
            }
        }
    }
    return 0;
}
