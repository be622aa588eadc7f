#include "retrieval/GuidanceTranslator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "forecast/Categories.h"
#include "forecast/GuidanceBulletin.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

// The forecast hours of the old table's cells, row kind by row kind.
constexpr int kThreeHourly[] = {6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48, 51, 54, 57, 60};
constexpr int kCeilingHours[] = {6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 42, 48};
constexpr int kPtypeHours[] = {6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 42, 48, 54, 60};
constexpr int kSixHourEnds[] = {12, 18, 24, 30, 36, 42, 48, 54, 60};
constexpr int kTwelveHourEnds[] = {24, 36, 48, 60};
constexpr int kLastHour = 60;

// The values a row of the old table gets, in cell order, each with its forecast hour.
using Cells = std::vector<std::pair<int, std::string>>;

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "KJFK" -> "JFK": identifiers of the contiguous states begin with K, those of Alaska and
// Hawaii with P. Any other identifier stays whole, and the header check will refuse it.
std::string StationCode(std::string_view identifier)
{
    if (identifier.size() == 4 && (identifier.front() == 'K' || identifier.front() == 'P'))
        return std::string(identifier.substr(1));
    return std::string(identifier);
}

// "4/20/2026" -> "4/20/26"; a date of another form stays as it is, for the date check to judge.
std::string TwoDigitYear(std::string_view date)
{
    const std::size_t slash = date.rfind('/');
    if (slash == std::string_view::npos || !AllDigits(date.substr(slash + 1)) || date.size() - slash - 1 != 4)
        return std::string(date);
    return std::string(date.substr(0, slash + 1)) + std::string(date.substr(slash + 3));
}

// " JFK   MAV GFS MOS GUIDANCE   4/20/26  1200 UTC": the station code in characters 2 to 4,
// the product's AFOS name as word 2 so that the date is word 6 and the issue time word 7.
std::string OldHeader(const TWordList& title)
{
    std::string header = " " + StationCode(title[0]) + "   " + (title[1] == "GFS" ? "MAV " : "MET ") + title[1] +
                         " MOS GUIDANCE   " + TwoDigitYear(title[4]) + "  " + title[5];
    for (std::size_t i = 6; i < title.size(); ++i)
        header += " " + title[i];
    return header;
}

// The values for the old row's cells, in cell order, up to the first cell without one: the
// old table takes values by their order, so a value after a gap would land in a wrong cell.
Cells CellsOf(const HourValues& values, std::span<const int> hours)
{
    Cells cells;
    for (const int hour : hours) {
        const auto found = values.find(hour);
        if (found == values.end())
            break;
        cells.emplace_back(hour, found->second);
    }
    return cells;
}

// Whether every value of a period row (up to hour 60) ends where one of the old row's
// periods does.
bool EndsAt(const HourValues& values, std::span<const int> ends)
{
    return std::all_of(values.begin(), values.end(), [&](const auto& entry) {
        return entry.first > kLastHour || std::find(ends.begin(), ends.end(), entry.first) != ends.end();
    });
}

Cells Mapped(Cells cells, std::string (*map)(std::string_view))
{
    for (auto& cell : cells)
        cell.second = map(cell.second);
    return cells;
}

// One row of the old layout: the label in the first six characters, then each value
// right-aligned in the 3-character column of its hour (hour 6 ends at the 9th character,
// hour h at character h + 3). In fixed columns values may touch ("-5-10"); otherwise a value
// that would touch the one before it moves right, so that a blank always separates them.
std::string OldRow(std::string_view label, const Cells& cells, bool fixedColumns)
{
    std::string row(label);
    row.resize(6, ' ');
    for (const auto& [hour, value] : cells) {
        const std::size_t end = static_cast<std::size_t>(hour) + 3;  // one past the column
        std::size_t begin = end > value.size() ? end - value.size() : 0;
        const std::size_t earliest = row.size() == 6 || fixedColumns ? row.size() : row.size() + 1;
        begin = std::max(begin, earliest);
        row.resize(begin, ' ');
        row += value;
    }
    return row;
}

std::string HoursText(const HourValues& values)
{
    std::string text;
    for (const auto& [hour, value] : values)
        if (hour <= kLastHour)
            text += " " + std::to_string(hour);
    return text;
}

// The old category a product's category becomes: its fallback key.
std::string Lookup(std::span<const Category> table, std::string_view category)
{
    const std::optional<Category> found = FindCategory(table, category);
    return std::string(found ? found->fallbackKey : category);
}

// The translated table as it is built: its rows in the old layout, and a note for each row
// left out because its periods are not the report's.
class Translation {
public:
    explicit Translation(const GuidanceBulletin& bulletin) : bulletin_(bulletin) {}

    HourValues Values(const std::string& label) const { return bulletin_.Values(label); }
    HourValues Pairs(const std::string& label) const { return bulletin_.Pairs(label); }

    void Add(std::string_view label, const Cells& cells, bool fixedColumns = false)
    {
        if (!cells.empty())
            table.push_back(OldRow(label, cells, fixedColumns));
    }

    // A period row whose periods are the report's; the others are left out with a note.
    void AddPeriods(std::string_view label, const std::string& source, const HourValues& values,
                    std::span<const int> ends)
    {
        if (Aligned(source, values, ends))
            Add(label, CellsOf(values, ends));
    }

    // Whether the periods of row `source` end at `ends`; when not, a note says it is left out.
    bool Aligned(const std::string& source, const HourValues& values, std::span<const int> ends)
    {
        if (EndsAt(values, ends))
            return true;
        notes.push_back("NOTE: " + source + " LEFT OUT, ITS PERIODS END AT HOURS" + HoursText(values));
        return false;
    }

    std::vector<std::string> notes;
    std::vector<std::string> table;

private:
    const GuidanceBulletin& bulletin_;
};

}  // namespace

std::string MappedCeilingCategory(std::string_view category)
{
    return Lookup(kGuidanceCeilingCategories, category);
}

std::string MappedVisibilityCategory(std::string_view category)
{
    return Lookup(kGuidanceVisibilityCategories, category);
}

GuidanceTranslation TranslateGuidanceBulletin(BulletinLines& lines)
{
    GuidanceBulletin bulletin;
    switch (ReadGuidanceBulletinRows(lines, bulletin)) {
    case GuidanceRead::NotGuidance: return GuidanceTranslation::NotGuidance;
    case GuidanceRead::Unreadable: return GuidanceTranslation::Unreadable;
    case GuidanceRead::Read: break;
    }
    const TWordList& title = bulletin.title;
    const int issueHour = bulletin.issueHour;
    const std::vector<GuidanceColumn>& columns = bulletin.columns;
    const auto& rows = bulletin.rows;

    Translation t(bulletin);

    // The table starts at its max/min row, which the report does not read; without one the
    // normalisation would find no table.
    const bool minFirst = rows.contains("N/X");
    HourValues extremes = t.Values(minFirst ? "N/X" : "X/N");
    std::erase_if(extremes, [](const auto& entry) { return entry.first > kLastHour; });
    t.table.push_back(OldRow(minFirst ? "MN/MX" : "MX/MN", Cells(extremes.begin(), extremes.end()), false));

    t.Add("TEMP", CellsOf(t.Values("TMP"), kThreeHourly), true);
    t.Add("DEWPT", CellsOf(t.Values("DPT"), kThreeHourly), true);
    t.Add("CLDS", CellsOf(t.Values("CLD"), kThreeHourly));
    t.Add("WDIR", CellsOf(t.Values("WDR"), kThreeHourly));
    t.Add("WSPD", CellsOf(t.Values("WSP"), kThreeHourly));
    t.AddPeriods("POP06", "P06", t.Values("P06"), kSixHourEnds);
    t.AddPeriods("POP12", "P12", t.Values("P12"), kTwelveHourEnds);

    // QPF: the 6-hour category of each 6-hour period, then "/" and, at the ends of the
    // 12-hour periods, the 12-hour category.
    const HourValues sixHours = t.Values("Q06");
    const HourValues twelveHours = t.Values("Q12");
    if (t.Aligned("Q06", sixHours, kSixHourEnds)) {
        const bool withTwelve = rows.contains("Q12") && t.Aligned("Q12", twelveHours, kTwelveHourEnds);
        Cells cells = CellsOf(sixHours, kSixHourEnds);
        for (auto& [hour, value] : cells) {
            const auto twelve = twelveHours.find(hour);
            value += "/" + (withTwelve && twelve != twelveHours.end() ? twelve->second : std::string());
        }
        t.Add("QPF", cells);
    }

    t.AddPeriods("TSV06", "T06", t.Pairs("T06"), kSixHourEnds);
    t.AddPeriods("TSV12", "T12", t.Pairs("T12"), kTwelveHourEnds);
    t.Add("PTYPE", CellsOf(t.Values("TYP"), kPtypeHours));
    t.Add("CIG", Mapped(CellsOf(t.Values("CIG"), kCeilingHours), MappedCeilingCategory));
    t.Add("VIS", Mapped(CellsOf(t.Values("VIS"), kCeilingHours), MappedVisibilityCategory));
    t.Add("OBVIS", CellsOf(t.Values("OBV"), kCeilingHours));

    // Above the table: the header, the hours of the day of the 3-hourly cells, the notes.
    BulletinLines translated = {OldHeader(title)};
    Cells hoursOfDay;
    for (const GuidanceColumn& column : columns) {
        if (column.hour > kLastHour)
            break;
        char text[4];
        std::snprintf(text, sizeof text, "%02d", (issueHour + column.hour) % 24);
        hoursOfDay.emplace_back(column.hour, text);
    }
    translated.push_back(OldRow("HOUR", hoursOfDay, true));
    translated.insert(translated.end(), t.notes.begin(), t.notes.end());
    translated.insert(translated.end(), t.table.begin(), t.table.end());
    lines = std::move(translated);
    return GuidanceTranslation::Translated;
}

}  // namespace skelmar
