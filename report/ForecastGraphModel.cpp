#include "report/ForecastGraphModel.h"

#include <algorithm>

#include "config/StationEntry.h"
#include "report/Composition.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"
#include "time/TimeFormat.h"

namespace skelmar {

namespace {

// Temperatures the bulletin can hold in its 3-character columns that are weather; 999 and
// anything else outside is a gap.
constexpr int kLowestFahrenheit = -99;
constexpr int kHighestFahrenheit = 150;

// The whole number `text` when it lies in [low, high].
std::optional<int> NumberIn(std::string_view text, int low, int high)
{
    const std::optional<int> value = ParseInteger(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

// The highest codes of the two rows; each code above 4 means VFR.
constexpr int kHighestCeilingCode = 7;
constexpr int kHighestVisibilityCode = 5;

// The ceiling and the visibility codes share the boundaries of the flight categories: 1 and 2
// LIFR, 3 IFR, 4 MVFR, 5 and above VFR. None for anything but a code from 1 to `highest`.
FlightCategory CodeCategory(std::string_view code, int highest)
{
    const std::optional<int> value = NumberIn(code, 1, highest);
    if (!value)
        return FlightCategory::None;
    if (*value <= 2)
        return FlightCategory::Lifr;
    if (*value == 3)
        return FlightCategory::Ifr;
    return *value == 4 ? FlightCategory::Mvfr : FlightCategory::Vfr;
}

// The 3-hourly values of `label`'s row, one per hour; "" where there is none.
std::array<std::string, kGraphHours> ThreeHourly(Composition& table, std::string_view label)
{
    std::array<std::string, kGraphHours> values;
    table.FindRow(label);
    for (int i = 0; i < kGraphHours; ++i)
        values[static_cast<std::size_t>(i)] = table.Cell(i + kFirstStep - 1);
    return values;
}

// The values of `label`'s row at the cells that `column` gives each step; "" for cell 0.
std::array<std::string, kGraphHours> StepCells(Composition& table, std::string_view label, StepColumn column)
{
    std::array<std::string, kGraphHours> values;
    table.FindRow(label);
    for (int i = 0; i < kGraphHours; ++i) {
        const int cell = StepTableValue(i + kFirstStep, column);
        values[static_cast<std::size_t>(i)] = cell > 0 ? table.Cell(cell) : std::string();
    }
    return values;
}

std::optional<long> Temperature(std::string_view text, TemperatureUnit unit)
{
    const std::optional<int> fahrenheit = NumberIn(text, kLowestFahrenheit, kHighestFahrenheit);
    return fahrenheit ? std::optional<long>(ConvertTemperature(*fahrenheit, unit)) : std::nullopt;
}

// A probability cell: the percentage before a "/" (a TSV pair's second part is the chance of
// a severe storm, which the graph leaves to the report).
std::optional<int> Probability(std::string_view cell)
{
    return NumberIn(ExtractField(cell, '/', 1), 0, 100);
}

// The periods of one length: each cell the step table assigns, with its end hour, in the
// order of the cells (1, 2 ...).
template <std::size_t N>
std::array<PeriodValues, N> ReadPeriods(Composition& table, std::string_view precipitationRow,
                                        std::string_view thunderstormRow, StepColumn cellColumn,
                                        StepColumn endColumn)
{
    std::array<PeriodValues, N> periods{};
    for (int step = kFirstStep; step <= kLastStep; ++step) {
        const int cell = StepTableValue(step, cellColumn);
        if (cell >= 1 && static_cast<std::size_t>(cell) <= N)
            periods[static_cast<std::size_t>(cell - 1)].endHour = StepTableValue(step, endColumn);
    }
    table.FindRow(precipitationRow);
    for (std::size_t k = 0; k < N; ++k)
        periods[k].precipitation = Probability(table.Cell(static_cast<int>(k) + 1));
    table.FindRow(thunderstormRow);
    for (std::size_t k = 0; k < N; ++k)
        periods[k].thunderstorms = Probability(table.Cell(static_cast<int>(k) + 1));
    return periods;
}

GraphCaptions ReadCaptions(const ReportInputs& inputs)
{
    const auto text = [&](std::string_view key) { return inputs.config.Value("GRAPH", key); };
    GraphCaptions captions;
    captions.title = FillTemplate(text("Title"), StationDisplayText(inputs.stationEntry),
                                  FormatForecastTime(true, inputs.forecastBaseTime, inputs.time));
    captions.temperature = text("Temperature");
    captions.dewPoint = text("DewPoint");
    captions.temperatureAxis = FillTemplate(text("TemperatureAxis"), TemperatureUnitSymbol(inputs.unit));
    captions.clouds = text("Clouds");
    captions.wind = text("Wind");
    captions.category = text("Category");
    captions.categoryNames = {text("LIFR"), text("IFR"), text("MVFR"), text("VFR")};
    captions.probabilityAxis = text("ProbabilityAxis");
    captions.precipitation6 = text("Precipitation6");
    captions.precipitation12 = text("Precipitation12");
    captions.thunderstorms6 = text("Thunderstorms6");
    captions.thunderstorms12 = text("Thunderstorms12");
    captions.noTable = text("NoTable");
    return captions;
}

}  // namespace

FlightCategory FlightCategoryOf(std::string_view ceiling, std::string_view visibility)
{
    const FlightCategory byCeiling = CodeCategory(ceiling, kHighestCeilingCode);
    const FlightCategory byVisibility = CodeCategory(visibility, kHighestVisibilityCode);
    if (byCeiling == FlightCategory::None || byVisibility == FlightCategory::None)
        return FlightCategory::None;
    return std::min(byCeiling, byVisibility);
}

ForecastSeries ReadForecastSeries(const BulletinLines& lines, TemperatureUnit unit)
{
    Composition table(lines, kFirstStep);
    ForecastSeries series;

    const auto temperature = ThreeHourly(table, "TEMP");
    const auto dewPoint = ThreeHourly(table, "DEWPT");
    series.cloudCover = ThreeHourly(table, "CLDS");
    const auto direction = ThreeHourly(table, "WDIR");
    const auto speed = ThreeHourly(table, "WSPD");
    const auto ceiling = StepCells(table, "CIG", StepColumn::CigVisObvisCell);
    const auto visibility = StepCells(table, "VIS", StepColumn::CigVisObvisCell);
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        series.temperature[i] = Temperature(temperature[i], unit);
        series.dewPoint[i] = Temperature(dewPoint[i], unit);
        series.windDirection[i] = NumberIn(direction[i], 0, 36);
        series.windSpeed[i] = NumberIn(speed[i], 0, 98);
        series.category[i] = FlightCategoryOf(ceiling[i], visibility[i]);
    }
    series.sixHours = ReadPeriods<kSixHourPeriods>(table, "POP06", "TSV06", StepColumn::Period6Cell,
                                                   StepColumn::Period6EndHour);
    series.twelveHours = ReadPeriods<kTwelveHourPeriods>(table, "POP12", "TSV12", StepColumn::Period12Cell,
                                                         StepColumn::Period12EndHour);
    return series;
}

ForecastGraphModel BuildForecastGraphModel(const ReportInputs& inputs)
{
    ForecastGraphModel model;
    model.captions = ReadCaptions(inputs);

    // The time scale's own captions; the label before the first has no bearing on them.
    const TimeLabelCaptions scale = ComputeTimeLabelCaptions(inputs.forecastBaseTime, "", inputs.time, 0);
    for (std::size_t k = 0; k < model.timeLabels.size(); ++k) {
        GraphTimeLabel& label = model.timeLabels[k];
        label.hour = 6 * static_cast<int>(k + 1);
        const std::string& text = scale.timeLabels[k];
        const std::string& date = scale.timeLabelDates[k];
        if (!date.empty() && text.size() > date.size() && text.starts_with(date) && text[date.size()] == ' ') {
            label.date = date;
            label.time = text.substr(date.size() + 1);
        } else {
            label.time = text;
        }
    }

    model.selectedIndex = std::clamp(inputs.forecastStep, kFirstStep, kLastStep) - kFirstStep;
    model.holdsTable = HoldsTable(inputs.lines);
    model.series = ReadForecastSeries(inputs.lines, inputs.unit);
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        const std::string& code = model.series.cloudCover[i];
        if (!code.empty())
            model.cloudEighths[i] = NumberIn(inputs.config.Value("GRAPH", "Cover" + code), 0, 8);
    }
    return model;
}

}  // namespace skelmar
