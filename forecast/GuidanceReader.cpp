// The GFS and NAM guidance: every value belongs to the hour of the column it stands in.

#include <algorithm>
#include <functional>

#include "forecast/Categories.h"
#include "forecast/ForecastReaders.h"
#include "forecast/GuidanceBulletin.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

using State = ForecastValue::State;

// The products' missing values.
constexpr std::string_view kMissingTemperature = "999";
constexpr int kMissingWind = 99;
// The configuration key of every missing categorical value ([CIG] 9, [VIS] 9, [QPF] 9 ...).
constexpr std::string_view kMissingKey = "9";

// The value of a row at `hour`: Absent without the row, Missing for a blank column.
ForecastValue At(const GuidanceBulletin& bulletin, const HourValues& values, const std::string& label, int hour)
{
    ForecastValue value;
    if (!bulletin.Has(label))
        return value;
    const auto found = values.find(hour);
    if (found == values.end()) {
        value.state = State::Missing;
        return value;
    }
    value.state = State::Given;
    value.text = found->second;
    return value;
}

// A categorical value: its key, fallback and bound from `table`; a code the table does not
// hold is missing.
void Categorise(ForecastValue& value, std::span<const Category> table, std::string_view missingKey = kMissingKey)
{
    if (value.state == State::Absent)
        return;
    const std::optional<Category> category =
        value.state == State::Given ? FindCategory(table, value.text) : std::nullopt;
    if (!category) {
        value.state = State::Missing;
        value.key = std::string(missingKey);
        return;
    }
    value.key = std::string(category->key);
    value.fallbackKey = std::string(category->fallbackKey);
    value.lowerBound = category->lowerBound;
}

// A whole number within [low, high] stays; "999", "99", a blank or anything else is missing,
// its text kept for the report to say what stood there.
void CheckNumber(ForecastValue& value, int low, int high, std::string_view missingText)
{
    if (value.state == State::Absent)
        return;
    const std::optional<int> number = ParseInteger(value.text);
    if (!number || *number < low || *number > high) {
        value.state = State::Missing;
        if (value.text.empty())
            value.text = std::string(missingText);
    }
}

void CheckTemperature(ForecastValue& value)
{
    CheckNumber(value, -99, 150, kMissingTemperature);
}

// The instant of each column.
std::vector<ForecastInstant> ReadInstants(const GuidanceBulletin& bulletin)
{
    const HourValues temperature = bulletin.Values("TMP");
    const HourValues dewPoint = bulletin.Values("DPT");
    const HourValues cloudCover = bulletin.Values("CLD");
    const HourValues direction = bulletin.Values("WDR");
    const HourValues speed = bulletin.Values("WSP");
    const HourValues gust = bulletin.Values("GST");
    const HourValues ceiling = bulletin.Values("CIG");
    const HourValues visibility = bulletin.Values("VIS");
    const HourValues obstruction = bulletin.Values("OBV");
    const HourValues type = bulletin.Values("TYP");

    std::vector<ForecastInstant> instants;
    for (const GuidanceColumn& column : bulletin.columns) {
        ForecastInstant instant;
        const int hour = instant.hour = column.hour;
        instant.temperature = At(bulletin, temperature, "TMP", hour);
        CheckTemperature(instant.temperature);
        instant.dewPoint = At(bulletin, dewPoint, "DPT", hour);
        CheckTemperature(instant.dewPoint);
        instant.cloudCover = At(bulletin, cloudCover, "CLD", hour);
        if (instant.cloudCover.state == State::Missing)
            instant.cloudCover = {};  // no text says a cover is unknown: no sky sentence
        instant.windDirection = At(bulletin, direction, "WDR", hour);
        CheckNumber(instant.windDirection, 0, 36, "99");
        instant.windSpeed = At(bulletin, speed, "WSP", hour);
        CheckNumber(instant.windSpeed, 0, kMissingWind - 1, "99");
        instant.windGust = At(bulletin, gust, "GST", hour);
        CheckNumber(instant.windGust, 0, kMissingWind - 1, "99");
        instant.ceiling = At(bulletin, ceiling, "CIG", hour);
        Categorise(instant.ceiling, kGuidanceCeilingCategories);
        instant.visibility = At(bulletin, visibility, "VIS", hour);
        Categorise(instant.visibility, kGuidanceVisibilityCategories);
        instant.obstruction = At(bulletin, obstruction, "OBV", hour);
        Categorise(instant.obstruction, kGuidanceObstructions, "");
        instant.precipType = At(bulletin, type, "TYP", hour);
        Categorise(instant.precipType, kGuidancePrecipTypes, "");
        instants.push_back(std::move(instant));
    }
    return instants;
}

// The model's periods as they are collected: one per span, each element filled once.
class Periods {
public:
    Periods(std::vector<ForecastPeriod>& periods, int issueHour) : periods_(periods), issueHour_(issueHour) {}

    // The period of `hours` hours ending at `endHour`; nullptr when it does not fit the run:
    // when it would start before the issue, or end at another hour than 00, 06, 12 or 18 UTC
    // (a value misplaced in its row, which must not be taken for a neighbour's).
    ForecastPeriod* At(int endHour, int hours)
    {
        const int start = endHour - hours;
        if (start < 0 || (issueHour_ + endHour) % 6 != 0)
            return nullptr;
        for (ForecastPeriod& period : periods_)
            if (period.startHour == start && period.endHour == endHour)
                return &period;
        ForecastPeriod& period = periods_.emplace_back();
        period.startHour = start;
        period.endHour = endHour;
        return &period;
    }

    // Each value of `values` into the element `member` of its period.
    void Add(const HourValues& values, int hours, ForecastValue ForecastPeriod::*member,
             const std::function<void(ForecastValue&)>& check)
    {
        for (const auto& [endHour, text] : values) {
            ForecastPeriod* period = At(endHour, hours);
            if (period == nullptr)
                continue;
            ForecastValue& value = period->*member;
            value.state = State::Given;
            value.text = text;
            check(value);
        }
    }

private:
    std::vector<ForecastPeriod>& periods_;
    int issueHour_;
};

void CheckProbability(ForecastValue& value)
{
    CheckNumber(value, 0, 100, "999");
}

// A thunderstorm pair "a/b" of two probabilities.
void CheckPair(ForecastValue& value)
{
    const auto probability = [](std::string_view text) {
        const std::optional<int> number = ParseInteger(TrimChar(text, ' '));
        return number && *number >= 0 && *number <= 100;
    };
    const std::string text = value.text;
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos || !probability(text.substr(0, slash)) || !probability(text.substr(slash + 1))) {
        value.state = State::Missing;
        return;
    }
    value.text = TrimChar(text.substr(0, slash), ' ') + "/" + TrimChar(text.substr(slash + 1), ' ');
}

// The daily maximum and minimum of an N/X or X/N row: the values take turns, the first a
// minimum in N/X and a maximum in X/N. Each covers the 12 hours before its column.
void AddExtremes(const GuidanceBulletin& bulletin, Periods& periods)
{
    const bool minimumFirst = bulletin.Has("N/X");
    const HourValues values = bulletin.Values(minimumFirst ? "N/X" : "X/N");
    bool minimum = minimumFirst;
    for (const auto& [endHour, text] : values) {
        if (ForecastPeriod* period = periods.At(endHour, 12)) {
            ForecastValue& value = minimum ? period->minimum : period->maximum;
            value.state = State::Given;
            value.text = text;
            CheckTemperature(value);
        }
        minimum = !minimum;
    }
}

// The elements the report describes by period, each with its length: an instant refers to
// the period of each that holds it. The daily maximum and minimum are one element, so that
// an instant at the end of one and the start of the next gets one of them.
struct PeriodElement {
    int hours;
    bool (*holds)(const ForecastPeriod&);
};
constexpr PeriodElement kPeriodElements[] = {
    {6, [](const ForecastPeriod& p) { return p.precipitation.Present(); }},
    {6, [](const ForecastPeriod& p) { return p.thunderstorms.Present(); }},
    {6, [](const ForecastPeriod& p) { return p.amount.Present(); }},
    {12, [](const ForecastPeriod& p) { return p.precipitation.Present(); }},
    {12, [](const ForecastPeriod& p) { return p.thunderstorms.Present(); }},
    {12, [](const ForecastPeriod& p) { return p.amount.Present(); }},
    {12, [](const ForecastPeriod& p) { return p.maximum.Present() || p.minimum.Present(); }},
    {24, [](const ForecastPeriod& p) { return p.snowfall.Present(); }},
};

void ReferPeriods(ForecastModel& model)
{
    for (ForecastInstant& instant : model.instants) {
        for (const PeriodElement& element : kPeriodElements) {
            std::optional<std::size_t> holding;
            for (std::size_t i = 0; i < model.periods.size(); ++i) {
                const ForecastPeriod& period = model.periods[i];
                if (period.Hours() != element.hours || !element.holds(period) ||
                    instant.hour < period.startHour || instant.hour > period.endHour)
                    continue;
                if (!holding || period.endHour < model.periods[*holding].endHour)
                    holding = i;
            }
            if (holding && std::find(instant.periods.begin(), instant.periods.end(), *holding) == instant.periods.end())
                instant.periods.push_back(*holding);
        }
        // Shorter periods first, then the earlier.
        std::sort(instant.periods.begin(), instant.periods.end(), [&](std::size_t a, std::size_t b) {
            const ForecastPeriod& pa = model.periods[a];
            const ForecastPeriod& pb = model.periods[b];
            return std::make_pair(pa.Hours(), pa.endHour) < std::make_pair(pb.Hours(), pb.endHour);
        });
    }
}

}  // namespace

std::optional<ForecastModel> ReadGuidanceForecast(const BulletinLines& lines)
{
    GuidanceBulletin bulletin;
    if (ReadGuidanceBulletinRows(lines, bulletin) != GuidanceRead::Read)
        return std::nullopt;

    ForecastModel model;
    model.holdsTable = true;
    model.instants = ReadInstants(bulletin);

    Periods periods(model.periods, bulletin.issueHour);
    const auto categorised = [](std::span<const Category> table) {
        return [table](ForecastValue& value) { Categorise(value, table); };
    };
    periods.Add(bulletin.Values("P06"), 6, &ForecastPeriod::precipitation, CheckProbability);
    periods.Add(bulletin.Pairs("T06"), 6, &ForecastPeriod::thunderstorms, CheckPair);
    periods.Add(bulletin.Values("Q06"), 6, &ForecastPeriod::amount, categorised(kSixHourAmounts));
    periods.Add(bulletin.Values("P12"), 12, &ForecastPeriod::precipitation, CheckProbability);
    periods.Add(bulletin.Pairs("T12"), 12, &ForecastPeriod::thunderstorms, CheckPair);
    periods.Add(bulletin.Values("Q12"), 12, &ForecastPeriod::amount, [](ForecastValue& value) {
        Categorise(value, kTwelveHourAmounts, "29");
    });
    AddExtremes(bulletin, periods);
    periods.Add(bulletin.Values("SNW"), 24, &ForecastPeriod::snowfall, categorised(kSnowfallCategories));

    std::sort(model.periods.begin(), model.periods.end(), [](const ForecastPeriod& a, const ForecastPeriod& b) {
        return std::make_pair(a.endHour, a.Hours()) < std::make_pair(b.endHour, b.Hours());
    });
    ReferPeriods(model);
    return model;
}

ForecastModel ReadForecast(const BulletinLines& bulletin, const BulletinLines& table)
{
    std::optional<ForecastModel> guidance = ReadGuidanceForecast(bulletin);
    return guidance ? std::move(*guidance) : ReadNgmTable(table);
}

}  // namespace skelmar
