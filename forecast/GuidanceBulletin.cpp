#include "forecast/GuidanceBulletin.h"

#include <algorithm>

#include "text/Numbers.h"

namespace skelmar {

namespace {

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool IsTitle(const TWordList& words)
{
    return words.size() >= 4 && (words[1] == "GFS" || words[1] == "NAM") && words[2] == "MOS" &&
           words[3] == "GUIDANCE";
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The issue time "hhmm" as its hour, 0..23.
std::optional<int> IssueHour(std::string_view time)
{
    if (time.size() != 4 || !AllDigits(time))
        return std::nullopt;
    const int hour = (time[0] - '0') * 10 + (time[1] - '0');
    if (hour > 23)
        return std::nullopt;
    return hour;
}

// The columns of the HR row, whose values are hours of the day (UTC). Each column holds the
// first time after the one before it (the first: after the issue) that has its hour, so the
// forecast hours grow as the hours of the day wrap at 24. Nullopt for a row without columns
// or with a word that is not an hour.
std::optional<std::vector<GuidanceColumn>> ReadHourRow(std::string_view line, int issueHour)
{
    const std::size_t start = line.find_first_not_of(' ');
    std::vector<GuidanceColumn> columns;
    int previous = issueHour;  // 0..23
    int hour = 0;              // forecast hour of the column read last
    std::size_t at = line.find(' ', start);
    while (at != std::string_view::npos) {
        const std::size_t begin = line.find_first_not_of(' ', at);
        if (begin == std::string_view::npos)
            break;
        at = line.find(' ', begin);
        const std::string_view word = line.substr(begin, at == std::string_view::npos ? at : at - begin);
        if (word.size() > 2 || !AllDigits(word) || StrToIntDef(word, 24) > 23)
            return std::nullopt;
        const int ofDay = StrToIntDef(word, 0);
        const int step = (ofDay - previous + 24) % 24;  // 0..23; 0 is a whole day
        hour += step == 0 ? 24 : step;
        previous = ofDay;
        columns.push_back({begin + word.size() - 1 - start, hour});
    }
    if (columns.empty())
        return std::nullopt;
    return columns;
}

// A row of 3-character columns: each column's text without its blanks, by forecast hour.
HourValues ReadColumns(std::string_view line, std::span<const GuidanceColumn> columns)
{
    HourValues values;
    const std::size_t start = line.find_first_not_of(' ');
    for (const GuidanceColumn& column : columns) {
        const std::size_t last = start + column.end;
        if (column.end < 2 || last >= line.size())
            continue;
        std::string value = TrimChar(line.substr(last - 2, 3), ' ');
        if (!value.empty())
            values[column.hour] = std::move(value);
    }
    return values;
}

// A row of pairs 'a/ b' (T06, T12: the probability of a thunderstorm and the conditional
// probability that it is severe). 'b' fills the two characters after the "/" and ends in
// the column of the period's end; 'a' is up to three characters before the "/", never
// reaching into the label or the pair before.
HourValues ReadPairs(std::string_view line, std::span<const GuidanceColumn> columns)
{
    HourValues values;
    const std::size_t start = line.find_first_not_of(' ');
    std::size_t free = line.find(' ', start);  // the first character a pair may use
    if (free == std::string_view::npos)
        return values;
    for (std::size_t slash = line.find('/', free); slash != std::string_view::npos;
         slash = line.find('/', slash + 1)) {
        // A "/" inside the pair before it leaves this pair no room: 'a' is empty then.
        const std::size_t from = std::min(slash, std::max(free, slash >= 3 ? slash - 3 : 0));
        const std::string a = TrimChar(line.substr(from, slash - from), ' ');
        const std::string b = TrimChar(line.substr(slash + 1, 2), ' ');
        const std::size_t last = slash + 2;
        free = last + 1;
        const auto column = std::find_if(columns.begin(), columns.end(),
                                         [&](const GuidanceColumn& c) { return start + c.end == last; });
        if (column == columns.end() || a.empty() || b.empty() || a.find('/') != std::string::npos ||
            b.find('/') != std::string::npos)
            continue;
        values[column->hour] = a + (b.size() == 1 ? "/ " : "/") + b;
    }
    return values;
}

}  // namespace

HourValues GuidanceBulletin::Values(const std::string& label) const
{
    const auto found = rows.find(label);
    return found == rows.end() ? HourValues() : ReadColumns(found->second, columns);
}

HourValues GuidanceBulletin::Pairs(const std::string& label) const
{
    const auto found = rows.find(label);
    return found == rows.end() ? HourValues() : ReadPairs(found->second, columns);
}

GuidanceRead ReadGuidanceBulletinRows(const BulletinLines& lines, GuidanceBulletin& bulletin)
{
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !IsBlank(l); });
    if (first == lines.end())
        return GuidanceRead::NotGuidance;
    TWordList title;
    SplitWords(*first, title);
    if (!IsTitle(title))
        return GuidanceRead::NotGuidance;
    const std::optional<int> issueHour = title.size() >= 6 ? IssueHour(title[5]) : std::nullopt;
    if (!issueHour)
        return GuidanceRead::Unreadable;

    std::map<std::string, std::string_view> rows;
    TWordList words;
    for (auto line = first + 1; line != lines.end() && !IsBlank(*line); ++line) {
        SplitWords(*line, words);
        if (IsTitle(words))
            break;
        rows.emplace(words.front(), *line);
    }
    const auto hourRow = rows.find("HR");
    std::optional<std::vector<GuidanceColumn>> columns =
        hourRow == rows.end() ? std::nullopt : ReadHourRow(hourRow->second, *issueHour);
    if (!columns)
        return GuidanceRead::Unreadable;

    bulletin.title = std::move(title);
    bulletin.issueHour = *issueHour;
    bulletin.rows = std::move(rows);
    bulletin.columns = std::move(*columns);
    return GuidanceRead::Read;
}

}  // namespace skelmar
