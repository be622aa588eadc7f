#include "forecast/NbsBulletin.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar::nbs {

namespace {

// Version 3 wrote 999 for a missing value (version 4 on caps every value at 998) and 888 for
// no ceiling.
constexpr int kOldMissing = 999;
constexpr int kOldNoCeiling = 888;

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "5/06/2025" -> month, day, year.
bool ReadDate(std::string_view word, Bulletin& bulletin)
{
    const std::string month = ExtractField(word, '/', 1);
    const std::string day = ExtractField(word, '/', 2);
    const std::string year = ExtractField(word, '/', 3);
    if (!AllDigits(month) || !AllDigits(day) || year.size() != 4 || !AllDigits(year) ||
        std::count(word.begin(), word.end(), '/') != 2)
        return false;
    bulletin.month = StrToIntDef(month, 0);
    bulletin.day = StrToIntDef(day, 0);
    bulletin.year = StrToIntDef(year, 0);
    return bulletin.month >= 1 && bulletin.month <= 12 && bulletin.day >= 1 && bulletin.day <= 31;
}

// Where each column's values end, counted from a row's first character, read from the UTC row:
// the last character of each hour after the label.
std::optional<std::vector<std::size_t>> ColumnEnds(std::string_view line, std::vector<Column>& columns)
{
    const std::string_view row = line.substr(line.find_first_not_of(' '));
    std::vector<std::size_t> ends;
    std::size_t i = row.find(' ');
    while (i < row.size()) {
        if (row[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < row.size() && row[last + 1] != ' ')
            ++last;
        const std::string_view hour = row.substr(i, last - i + 1);
        if (hour.size() > 2 || !AllDigits(hour) || StrToIntDef(hour, 24) > 23)
            return std::nullopt;
        ends.push_back(last);
        columns.push_back({0, StrToIntDef(hour, 0)});
        i = last + 1;
    }
    if (ends.empty())
        return std::nullopt;
    return ends;
}

// The 3-character cell of each column; nullopt for a blank one and for one the line ends
// inside (a cut "100" must not read as 10). False for a cell that is not a number.
bool ReadCells(std::string_view line, const std::vector<std::size_t>& ends, std::vector<std::optional<int>>& values)
{
    const std::size_t start = line.find_first_not_of(' ');
    values.assign(ends.size(), std::nullopt);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const std::size_t last = start + ends[i];
        if (ends[i] < 2 || last >= line.size())
            continue;
        const std::string cell = TrimChar(line.substr(last - 2, 3), ' ');
        if (cell.empty())
            continue;
        const std::optional<int> value = ParseInteger(cell);
        if (!value)
            return false;
        values[i] = *value == kOldMissing ? kMissing : *value;
    }
    return true;
}

ReadResult Refused(std::string reason)
{
    ReadResult result;
    result.reading = Reading::Unreadable;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

const std::vector<std::optional<int>>* Bulletin::Row(std::string_view label) const
{
    const auto found = rows.find(label);
    return found == rows.end() ? nullptr : &found->second;
}

std::string_view FirstWord(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = line.find(' ', start);
    return line.substr(start, end == std::string_view::npos ? end : end - start);
}

bool IsNbsTitle(std::string_view line)
{
    TWordList words;
    SplitWords(line, words);
    return words.size() >= 5 && words[1] == "NBM" && words[2].size() >= 2 && words[2][0] == 'V' &&
           words[3] == "NBS" && words[4] == "GUIDANCE";
}

ReadResult ReadNbsBulletin(const std::vector<std::string>& lines)
{
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !IsBlank(l); });
    if (first == lines.end() || !IsNbsTitle(*first))
        return {};

    Bulletin bulletin;
    TWordList title;
    SplitWords(*first, title);
    bulletin.identifier = title[0];
    bulletin.version = title[2];
    if (title.size() < 7 || !ReadDate(title[5], bulletin))
        return Refused("no issue date in the title");
    if (title[6].size() != 4 || !AllDigits(title[6]) || StrToIntDef(title[6].substr(0, 2), 24) > 23)
        return Refused("no issue time in the title");
    bulletin.issueHour = StrToIntDef(title[6].substr(0, 2), 0);

    // The block's rows by label, the first of each.
    std::map<std::string, std::string_view, std::less<>> block;
    for (auto line = first + 1; line != lines.end() && !IsBlank(*line) && !IsNbsTitle(*line); ++line)
        block.emplace(std::string(FirstWord(*line)), *line);

    const auto utc = block.find("UTC");
    const auto fhr = block.find("FHR");
    if (utc == block.end() || fhr == block.end())
        return Refused("no UTC or FHR row");
    const std::optional<std::vector<std::size_t>> ends = ColumnEnds(utc->second, bulletin.columns);
    if (!ends)
        return Refused("an unreadable UTC row");

    std::vector<std::optional<int>> hours;
    if (!ReadCells(fhr->second, *ends, hours))
        return Refused("an unreadable FHR row");
    int previous = 0;
    for (std::size_t i = 0; i < hours.size(); ++i) {
        if (!hours[i] || *hours[i] <= previous || (bulletin.issueHour + *hours[i]) % 24 != bulletin.columns[i].utcHour)
            return Refused("forecast hours that do not fit the issue time and the UTC row");
        bulletin.columns[i].forecastHour = previous = *hours[i];
    }

    for (const auto& [label, line] : block) {
        if (label == "DT" || label == "UTC" || label == "FHR")
            continue;
        std::vector<std::optional<int>> values;
        if (!ReadCells(line, *ends, values))
            return Refused("a value that is not a number in row " + label);
        if (bulletin.version.starts_with("V3") && (label == "CIG" || label == "LCB"))
            std::replace(values.begin(), values.end(), std::optional<int>(kOldNoCeiling), std::optional<int>(kNoCeiling));
        bulletin.rows.emplace(label, std::move(values));
    }
    for (const std::string_view label : kRequiredRows) {
        const auto* row = bulletin.Row(label);
        if (row == nullptr)
            return Refused("no " + std::string(label) + " row");
        if (std::any_of(row->begin(), row->end(), [](const std::optional<int>& v) { return !v; }))
            return Refused("the " + std::string(label) + " row is cut short");
    }

    ReadResult result;
    result.reading = Reading::Read;
    result.bulletin = std::move(bulletin);
    return result;
}

std::optional<std::string_view> Categorize(int value, const Band* begin, const Band* end)
{
    const Band* band = std::find_if(begin, end, [&](const Band& b) { return value >= b.low && value <= b.high; });
    if (band == end)
        return std::nullopt;
    return band->category;
}

std::optional<std::string_view> CeilingCategory(int hundredsOfFeet)
{
    if (hundredsOfFeet == kNoCeiling)
        return std::end(kCeilingBands)[-1].category;  // the highest: no ceiling below 12,000 feet
    return Categorize(hundredsOfFeet, kCeilingBands);
}

std::optional<std::string_view> MostLikelyType(const Bulletin& bulletin, std::size_t column)
{
    std::optional<std::string_view> type;
    int best = 0;  // a type of chance 0 is no type
    for (const TypeRow& candidate : kPrecipitationTypeRows) {
        const auto* row = bulletin.Row(candidate.row);
        if (row == nullptr || column >= row->size() || !(*row)[column] || *(*row)[column] < 0)
            continue;
        if (*(*row)[column] > best) {
            best = *(*row)[column];
            type = candidate.type;
        }
    }
    return type;
}

std::string TenthsText(int tenths)
{
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

std::string HundredsOfFeetText(int hundreds)
{
    if (hundreds <= 0)
        return std::to_string(hundreds);
    // Built by appending, digit groups of three from the left.
    const std::string digits = std::to_string(hundreds) + "00";
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace skelmar::nbs
