#include "forecast/NbsForecast.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace skelmar {

namespace {

using nbs::Bulletin;
using Row = std::vector<std::optional<int>>;

constexpr int kFirstHour = 6;
constexpr int kLastHour = 60;
constexpr int kTenMiles = 100;  // the visibility the product writes for 10 miles or more

ForecastValue Missing(int value, std::string_view missingKey = {})
{
    ForecastValue v;
    v.state = ForecastValue::State::Missing;
    v.text = std::to_string(value);
    v.key = std::string(missingKey);
    return v;
}

ForecastValue Given(int value)
{
    ForecastValue v;
    v.state = ForecastValue::State::Given;
    v.text = std::to_string(value);
    return v;
}

// The cell of `label` in `column`: nullopt where the row or the cell is absent.
std::optional<int> Cell(const Bulletin& bulletin, std::string_view label, std::size_t column)
{
    const Row* row = bulletin.Row(label);
    if (row == nullptr || column >= row->size())
        return std::nullopt;
    return (*row)[column];
}

// A plain number (temperature, wind, chance): missing when marked so or out of its range.
ForecastValue Number(std::optional<int> cell, int low, int high)
{
    if (!cell)
        return {};
    if (*cell < low || *cell > high)
        return Missing(*cell);
    return Given(*cell);
}

// A number stated by a category of `bands`; `missingKey` for a value in no band.
template <std::size_t N>
ForecastValue Categorized(std::optional<int> cell, const nbs::Band (&bands)[N], std::string_view missingKey,
                          std::string_view keyPrefix = {})
{
    if (!cell)
        return {};
    const std::optional<std::string_view> category = nbs::Categorize(*cell, bands);
    if (!category)
        return Missing(*cell, missingKey);
    ForecastValue v = Given(*cell);
    v.key = std::string(keyPrefix) + std::string(*category);
    return v;
}

ForecastValue Ceiling(std::optional<int> cell)
{
    if (!cell)
        return {};
    if (*cell == nbs::kNoCeiling) {
        ForecastValue v = Given(*cell);
        v.key = "Unlimited";
        v.fallbackKey = std::string(nbs::CeilingCategory(*cell).value_or("7"));
        v.lowerBound = std::numeric_limits<double>::infinity();
        return v;
    }
    const std::optional<std::string_view> category = nbs::CeilingCategory(*cell);
    if (!category)
        return Missing(*cell, "9");
    ForecastValue v = Given(*cell);
    v.key = std::string(*category);
    v.number = *cell * 100.0;
    v.lowerBound = v.number;
    return v;
}

ForecastValue Visibility(std::optional<int> cell)
{
    ForecastValue v = Categorized(cell, nbs::kVisibilityBands, "9");
    if (v.state != ForecastValue::State::Given)
        return v;
    v.lowerBound = *cell / 10.0;
    if (*cell >= kTenMiles) {
        // 100 stands for 10 miles or more: a text, not a number.
        v.fallbackKey = v.key;
        v.key = "P10";
    } else {
        v.number = v.lowerBound;
    }
    return v;
}

ForecastValue PrecipitationType(const Bulletin& bulletin, std::size_t column)
{
    const bool anyRow = std::any_of(std::begin(nbs::kPrecipitationTypeRows), std::end(nbs::kPrecipitationTypeRows),
                                    [&](const nbs::TypeRow& r) { return Cell(bulletin, r.row, column).has_value(); });
    if (!anyRow)
        return {};
    ForecastValue v;
    const std::optional<std::string_view> type = nbs::MostLikelyType(bulletin, column);
    if (!type) {
        v.state = ForecastValue::State::None;
        return v;
    }
    v.state = ForecastValue::State::Given;
    v.text = std::string(*type);
    if (*type == "IP")
        v.fallbackKey = "Z";
    return v;
}

ForecastValue Amount(std::optional<int> cell, bool twelveHours)
{
    ForecastValue v = twelveHours ? Categorized(cell, nbs::kTwelveHourAmountBands, "29", "2")
                                  : Categorized(cell, nbs::kSixHourAmountBands, "9");
    if (v.state == ForecastValue::State::Given)
        v.number = *cell / 100.0;
    return v;
}

// The periods of the bulletin, in the model's order: by growing end, then growing length.
std::vector<ForecastPeriod> Periods(const Bulletin& bulletin)
{
    std::vector<ForecastPeriod> periods;
    const auto add = [&](int start, int end) -> ForecastPeriod& {
        const auto found = std::find_if(periods.begin(), periods.end(),
                                        [&](const ForecastPeriod& p) { return p.startHour == start && p.endHour == end; });
        if (found != periods.end())
            return *found;
        periods.push_back({});
        periods.back().startHour = start;
        periods.back().endHour = end;
        return periods.back();
    };
    const bool maxFirstLabel = bulletin.Row("TXN") != nullptr;
    for (std::size_t column = 0; column < bulletin.columns.size(); ++column) {
        const int end = bulletin.columns[column].forecastHour;
        for (const int hours : {6, 12}) {
            const bool twelve = hours == 12;
            const std::optional<int> chance = Cell(bulletin, twelve ? "P12" : "P06", column);
            const std::optional<int> amount = Cell(bulletin, twelve ? "Q12" : "Q06", column);
            const std::optional<int> storms = Cell(bulletin, twelve ? "T12" : "T06", column);
            if (!chance && !amount && !storms)
                continue;
            ForecastPeriod& period = add(end - hours, end);
            period.precipitation = Number(chance, 0, 100);
            period.amount = Amount(amount, twelve);
            period.thunderstorms = Number(storms, 0, 100);
            if (period.thunderstorms.state == ForecastValue::State::Given)
                period.thunderstorms.key = "TSChance";  // a chance without the severe one's
        }
        // The daily extremes: the maximum stands under 00 UTC, the minimum under 12 UTC.
        const std::optional<int> extreme = Cell(bulletin, maxFirstLabel ? "TXN" : "X/N", column);
        const int utc = bulletin.columns[column].utcHour;
        if (extreme && (utc == 0 || utc == 12)) {
            ForecastPeriod& period = add(end - 12, end + 6);
            (utc == 0 ? period.maximum : period.minimum) = Number(extreme, -98, 998);
        }
    }
    std::erase_if(periods, [](const ForecastPeriod& p) { return p.endHour < kFirstHour || p.startHour >= kLastHour; });
    std::stable_sort(periods.begin(), periods.end(), [](const ForecastPeriod& a, const ForecastPeriod& b) {
        return a.endHour != b.endHour ? a.endHour < b.endHour : a.Hours() < b.Hours();
    });
    return periods;
}

// The periods that hold `hour`: 6-hour, then 12-hour, then the daily extremes.
std::vector<std::size_t> PeriodsHolding(const std::vector<ForecastPeriod>& periods, int hour)
{
    std::vector<std::size_t> held;
    for (const int hours : {6, 12, 18})
        for (std::size_t i = 0; i < periods.size(); ++i)
            if (periods[i].Hours() == hours && periods[i].startHour < hour && hour <= periods[i].endHour)
                held.push_back(i);
    return held;
}

}  // namespace

ForecastModel NbsForecastModel(const nbs::Bulletin& bulletin)
{
    ForecastModel model;
    model.holdsTable = true;
    model.periods = Periods(bulletin);
    for (std::size_t column = 0; column < bulletin.columns.size(); ++column) {
        const int hour = bulletin.columns[column].forecastHour;
        if (hour < kFirstHour || hour > kLastHour)
            continue;
        ForecastInstant instant;
        instant.hour = hour;
        instant.temperature = Number(Cell(bulletin, "TMP", column), -98, 998);
        instant.dewPoint = Number(Cell(bulletin, "DPT", column), -98, 998);
        instant.cloudCover = Categorized(Cell(bulletin, "SKY", column), nbs::kSkyCoverBands, {});
        if (instant.cloudCover.state == ForecastValue::State::Given)
            instant.cloudCover.number = *Cell(bulletin, "SKY", column);
        instant.ceiling = Ceiling(Cell(bulletin, "CIG", column));
        instant.visibility = Visibility(Cell(bulletin, "VIS", column));
        instant.windDirection = Number(Cell(bulletin, "WDR", column), 0, 36);
        instant.windSpeed = Number(Cell(bulletin, "WSP", column), 0, 998);
        instant.windGust = Number(Cell(bulletin, "GST", column), 0, 998);
        instant.precipType = PrecipitationType(bulletin, column);
        instant.periods = PeriodsHolding(model.periods, hour);
        model.instants.push_back(std::move(instant));
    }
    return model;
}

}  // namespace skelmar
