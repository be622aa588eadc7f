// Reads the graph's values from any text taken as a bulletin (either reader, as the
// retrieval picks it), at the first, a middle and the last step, in both units and both time types. It never fails, and every value it keeps is
// one the graph can place: temperatures of the bulletin's range in the unit, winds and
// probabilities within their scales, the selected hour on the axis.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "forecast/ForecastReaders.h"
#include "report/ForecastGraphModel.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/EasternLocalTime.h"
#include "tests/support/MemoryConfigTexts.h"

namespace {

bool Within(const std::optional<long>& value, long low, long high)
{
    return !value || (*value >= low && *value <= high);
}

bool Within(const std::optional<int>& value, int low, int high)
{
    return !value || (*value >= low && *value <= high);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const skelmar::MemoryConfigTexts config = {
        {"GRAPH", "Title", "%s %s"}, {"GRAPH", "CoverOV", "8"}, {"GRAPH", "CoverSC", "x"}};
    static const skelmar::TimeTextContext zulu;
    static const skelmar::TimeTextContext local = skelmar::EasternLocalTime();

    const skelmar::BulletinLines bulletin = skelmar::SplitBulletinText({reinterpret_cast<const char*>(data), size});
    skelmar::BulletinLines lines = bulletin;
    skelmar::NormaliseBulletinTable(lines);
    const skelmar::ForecastModel forecast = skelmar::ReadForecast(bulletin, lines);
    const skelmar::TDateTime base = skelmar::EncodeDate(2026, 12, 9) + 0.5;
    for (const int step : {skelmar::kGraphFirstStep, 11, skelmar::kGraphLastStep}) {
        for (const auto unit : {skelmar::TemperatureUnit::Fahrenheit, skelmar::TemperatureUnit::Celsius}) {
            for (const skelmar::TimeTextContext* time : {&zulu, &local}) {
                const skelmar::ForecastGraphModel model = skelmar::BuildForecastGraphModel(
                    skelmar::ReportInputs{forecast, base, step, unit, "Station (ABC)", config, *time});
                if (model.selectedIndex != step - skelmar::kGraphFirstStep)
                    __builtin_trap();
                // -99 to 150 F, and in Celsius -73 to 66.
                const long low = unit == skelmar::TemperatureUnit::Celsius ? -73 : -99;
                const long high = unit == skelmar::TemperatureUnit::Celsius ? 66 : 150;
                const skelmar::ForecastSeries& s = model.series;
                for (std::size_t i = 0; i < skelmar::kGraphHours; ++i) {
                    if (!Within(s.temperature[i], low, high) || !Within(s.dewPoint[i], low, high) ||
                        !Within(s.windDirection[i], 0, 36) || !Within(s.windSpeed[i], 0, 98) ||
                        !Within(model.cloudEighths[i], 0, 8))
                        __builtin_trap();
                }
                for (const auto& period : s.sixHours)
                    if (!Within(period.precipitation, 0, 100) || !Within(period.thunderstorms, 0, 100))
                        __builtin_trap();
                for (const auto& period : s.twelveHours)
                    if (!Within(period.precipitation, 0, 100) || !Within(period.thunderstorms, 0, 100))
                        __builtin_trap();
                for (const auto& extreme : s.extremes)
                    if (!Within(std::optional<long>(extreme.temperature), low, high) || extreme.hour < 6 ||
                        extreme.hour > 60)
                        __builtin_trap();
            }
        }
    }
    return 0;
}
