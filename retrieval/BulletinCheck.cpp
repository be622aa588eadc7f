#include "retrieval/BulletinCheck.h"

#include <algorithm>

#include "forecast/ForecastReaders.h"
#include "retrieval/BulletinText.h"
#include "retrieval/GuidanceTranslator.h"
#include "retrieval/NbsValidation.h"
#include "text/Error.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

// A number of one or two decimal digits, or -1.
int SmallNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 2)
        return -1;
    const auto value = ParseInteger(digits);
    return value && digits.front() != '+' && digits.front() != '-' ? *value : -1;
}

}  // namespace

TDateTime StrToTime(std::string_view text, char separator)
{
    const std::size_t at = text.find(separator);
    const int hour = at == std::string_view::npos ? -1 : SmallNumber(text.substr(0, at));
    const int minute = at == std::string_view::npos ? -1 : SmallNumber(text.substr(at + 1));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw Error("'" + std::string(text) + "' is not a valid time");
    return EncodeTime(static_cast<std::uint16_t>(hour), static_cast<std::uint16_t>(minute), 0, 0);
}

BulletinVerdict CheckBulletin(const BulletinLines& lines, std::string_view stationCode, TDateTime today,
                              char timeSeparator)
{
    const std::string header =
        lines.empty() ? std::string() : lines.front().substr(std::min<std::size_t>(1, lines.front().size()));
    TWordList words;
    SplitWords(header, words);
    // The date and the issue time are words 6 and 7: a shorter header is no bulletin. The
    // header begins with the station's code: three characters, or four for a station named by
    // its whole identifier.
    if (LeftChars(header, static_cast<int>(stationCode.size())) != stationCode || words.size() < 7)
        return {false, std::nullopt, std::string(kCorruptedText)};

    // EncodeDate takes 16-bit fields: each number is taken modulo 65536.
    const std::string& dateWord = words[5];
    const auto day = static_cast<std::uint16_t>(StrToInt(ExtractField(dateWord, '/', 2)));
    const auto month = static_cast<std::uint16_t>(StrToInt(ExtractField(dateWord, '/', 1)));
    const auto year = static_cast<std::uint16_t>(StrToInt("20" + ExtractField(dateWord, '/', 3)));
    TDateTime date;
    try {
        date = EncodeDate(year, month, day);
    } catch (const Error&) {
        return {false, TDateTime(0), {}};
    }
    if (date != today && date != today + 1)
        return {false, date, std::string(kDateMismatch)};

    const std::string& issue = words[6];
    const std::string timeText =
        LeftChars(issue, 2) + timeSeparator + issue.substr(std::min<std::size_t>(2, issue.size()), 2);
    return {true, date + StrToTime(timeText, timeSeparator), {}};
}

BulletinVerdict AcceptBulletin(BulletinLines& lines, std::string_view stationCode, TDateTime today,
                               char timeSeparator)
{
    // Today's bulletins (GFS and NAM guidance) come in a newer layout than the one the check,
    // the table and the report read; they are rewritten into it first. Any other text, the
    // old layout included, passes as it is.
    // The NBM's bulletin has a reader and a check of its own, and is kept as it stands.
    if (std::optional<BulletinVerdict> nbs = CheckNbsBulletin(lines, stationCode, today))
        return std::move(*nbs);
    const BulletinLines downloaded = lines;
    TranslateGuidanceBulletin(lines);
    BulletinVerdict verdict = CheckBulletin(lines, stationCode, today, timeSeparator);
    if (verdict.accepted)
        NormaliseBulletinTable(lines);
    // The checks read the translated lines; the model is read from the bulletin as it came.
    verdict.forecast = verdict.accepted ? ReadForecast(downloaded, lines) : ReadNgmTable(lines);
    return verdict;
}

BulletinLines BulletinLinesOf(std::string_view body, std::string_view tag)
{
    BulletinLines lines = SplitBulletinText(body);
    if (!tag.empty())
        ExtractTaggedSection(lines, tag);
    return lines;
}

}  // namespace skelmar
