#include "retrieval/RetrievalSequence.h"

#include <ctime>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastReaders.h"
#include "retrieval/BulletinText.h"
#include "retrieval/GuidanceTranslator.h"
#include "retrieval/HttpClient.h"
#include "retrieval/NbsSource.h"
#include "retrieval/NbsValidation.h"
#include "retrieval/PictureFile.h"
#include "text/Error.h"
#include "text/Numbers.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

std::string Address(const ConfigTexts& config, std::string_view serverKey, std::string_view stationCode,
                    std::string_view extensionKey)
{
    return config.Value("INTERNET", serverKey) + std::string(stationCode) + config.Value("INTERNET", extensionKey);
}

// GETs `url` (or runs `download`); on failure restores the arrow, shows the
// refused-connection warning or `notFound`, and answers false.
template <typename Download>
bool FetchWith(RetrievalContext& context, const Download& download, std::string_view notFound, std::string& body)
{
    try {
        body = download();
        return true;
    } catch (const Error& error) {
        context.host.SetWaitCursor(false);
        if (std::string_view(error.what()).find("# 10061") != std::string_view::npos)
            context.host.Warning(std::string(kConnectWarning));
        else
            context.host.Error(std::string(notFound));
        return false;
    }
}

bool Fetch(RetrievalContext& context, const std::string& url, std::string_view notFound, std::string& body)
{
    return FetchWith(context, [&] { return context.http.Get(url); }, notFound, body);
}

// A number of one or two decimal digits, or -1.
int SmallNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 2)
        return -1;
    const auto value = ParseInteger(digits);
    return value && digits.front() != '+' && digits.front() != '-' ? *value : -1;
}

}  // namespace

TDateTime SystemClock::Today() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(static_cast<std::uint16_t>(local.tm_year + 1900),
                      static_cast<std::uint16_t>(local.tm_mon + 1), static_cast<std::uint16_t>(local.tm_mday));
}

TDateTime StrToTime(std::string_view text, char separator)
{
    const std::size_t at = text.find(separator);
    const int hour = at == std::string_view::npos ? -1 : SmallNumber(text.substr(0, at));
    const int minute = at == std::string_view::npos ? -1 : SmallNumber(text.substr(at + 1));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw Error("'" + std::string(text) + "' is not a valid time");
    return EncodeTime(static_cast<std::uint16_t>(hour), static_cast<std::uint16_t>(minute), 0, 0);
}

bool GraphServerConfigured(const ConfigTexts& config)
{
    return !config.Value("INTERNET", "C_ZOZI14_GRAPHSERVER").empty();
}

void DownloadGraphic(RetrievalContext& context, std::string_view stationCode)
{
    context.state.bulletinLines = {"No Report"};
    // An empty server would make the address the station code alone, a request that can only
    // fail and call the whole report invalid.
    if (!GraphServerConfigured(context.config))
        return;
    std::string body;
    if (!Fetch(context, Address(context.config, "C_ZOZI14_GRAPHSERVER", stationCode, "C_FOUS_GRAPH_EXT"),
               kGraphicNotFound, body))
        return;
    WritePictureFile(context.picturePath, body);
    context.host.ShowPicture(context.picturePath);
}

void TakeTextBody(RetrievalContext& context, std::string_view body)
{
    context.state.bulletinLines = SplitBulletinText(body);
    context.host.EnableTrackBar();
    // The NBM's text is no page: it is taken as it stands.
    const std::string tag = NbsSourceSelected(context.config) ? std::string() : context.config.Value("INTERNET", "C_FOUS_TEXT_HTML");
    if (!tag.empty())
        ExtractTaggedSection(context.state.bulletinLines, tag);
}

void DownloadText(RetrievalContext& context, std::string_view stationCode)
{
    context.state.bulletinLines = {"No Report"};
    std::string body;
    if (NbsSourceSelected(context.config)) {
        const auto download = [&] {
            return FetchLatestNbsBlock(context.http, NbsCycleFilePattern(context.config),
                                       NbsStationIdentifier(context.config, stationCode), context.clock.Now())
                .block;
        };
        if (FetchWith(context, download, kTextNotFound, body))
            TakeTextBody(context, body);
        return;
    }
    if (Fetch(context, Address(context.config, "C_ZOZI14_TEXTSERVER", stationCode, "C_FOUS_TEXT_EXT"),
              kTextNotFound, body)) {
        TakeTextBody(context, body);
        return;
    }
    // A tag is applied to what a failed download left as well.
    const std::string tag = context.config.Value("INTERNET", "C_FOUS_TEXT_HTML");
    if (!tag.empty())
        ExtractTaggedSection(context.state.bulletinLines, tag);
}

bool CheckBulletinDate(RetrievalContext& context, std::string_view dateWord)
{
    // EncodeDate takes 16-bit fields: each number is taken modulo 65536.
    const auto day = static_cast<std::uint16_t>(StrToInt(ExtractField(dateWord, '/', 2)));
    const auto month = static_cast<std::uint16_t>(StrToInt(ExtractField(dateWord, '/', 1)));
    const auto year = static_cast<std::uint16_t>(StrToInt("20" + ExtractField(dateWord, '/', 3)));
    TDateTime date;
    try {
        date = EncodeDate(year, month, day);
    } catch (const Error&) {
        context.state.forecastBaseTime = 0;
        return false;
    }
    context.state.forecastBaseTime = date;
    const TDateTime today = context.clock.Today();
    if (date == today || date == today + 1)
        return true;
    context.host.Error(std::string(kDateMismatch));
    return false;
}

namespace {

bool CheckBulletin(RetrievalContext& context, std::string_view stationCode)
{
    // Today's bulletins (GFS and NAM guidance) come in a newer layout than the one the
    // checks read; they are rewritten into it first. Any other text, the old layout
    // included, passes as it is.
    TranslateGuidanceBulletin(context.state.bulletinLines);

    const BulletinLines& lines = context.state.bulletinLines;
    const std::string header = lines.empty() ? std::string() : lines.front().substr(std::min<std::size_t>(1, lines.front().size()));
    context.host.SetForecastCaption(std::string(kNoForecastObtained));

    TWordList words;
    SplitWords(header, words);
    // The date and the issue time are words 6 and 7: a shorter header is no bulletin.
    if (LeftChars(header, 3) != stationCode || words.size() < 7) {
        context.host.Error(std::string(kCorruptedText));
        return false;
    }
    if (!CheckBulletinDate(context, words[5]))
        return false;

    const std::string& issue = words[6];
    const std::string timeText = LeftChars(issue, 2) + context.timeSeparator + issue.substr(std::min<std::size_t>(2, issue.size()), 2);
    context.state.forecastBaseTime += StrToTime(timeText, context.timeSeparator);

    context.host.UpdateTimeLabels();
    NormaliseBulletinTable(context.state.bulletinLines);
    return true;
}

}  // namespace

bool ValidateBulletin(RetrievalContext& context, std::string_view stationCode)
{
    // The model is read from the bulletin as it came, hour by hour; the checks read the
    // translated lines. Whatever the outcome, the model is that of the lines held.
    ForecastState& state = context.state;
    // The NBM's bulletin is checked and read by its own reader, as it stands.
    if (const std::optional<bool> nbs = ValidateNbsBulletin(context, stationCode, state.forecast))
        return *nbs;
    const BulletinLines downloaded = state.bulletinLines;
    bool accepted = false;
    try {
        accepted = CheckBulletin(context, stationCode);
    } catch (...) {
        state.forecast = ReadNgmTable(state.bulletinLines);
        throw;
    }
    state.forecast = accepted ? ReadForecast(downloaded, state.bulletinLines) : ReadNgmTable(state.bulletinLines);
    return accepted;
}

bool RetrieveBulletin(RetrievalContext& context, std::string_view stationCode)
{
    context.host.SetWaitCursor(true);
    try {
        DownloadGraphic(context, stationCode);
        DownloadText(context, stationCode);
    } catch (...) {
        context.host.SetWaitCursor(false);
        throw;
    }
    context.host.SetWaitCursor(false);
    return ValidateBulletin(context, stationCode);
}

}  // namespace skelmar
