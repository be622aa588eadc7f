#pragma once
// One retrieval for the selected station: download the picture and the bulletin text, check
// that the text is the bulletin of that station and of today (or tomorrow), take its issue
// time, update the time scale and normalise the table. The sequence talks to the window
// through RetrievalHost and to the platform through HttpClient and Clock, so that tests and
// the command line can stand in for both.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "report/ForecastState.h"
#include "text/ConfigTexts.h"
#include "time/Calendar.h"

namespace skelmar {

class HttpClient;

// What the sequence needs of the window.
class RetrievalHost {
public:
    virtual ~RetrievalHost() = default;
    // Modal boxes with one "OK" button, captioned "Warning" and "Error".
    virtual void Warning(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;
    // The hourglass (true) or the normal arrow (false).
    virtual void SetWaitCursor(bool wait) = 0;
    // Loads the picture file into the picture control as a GIF picture. Throws
    // Error("Invalid GIF signature") when the file is not one.
    virtual void ShowPicture(const std::filesystem::path& file) = 0;
    // A bulletin text has arrived: the track bar becomes usable.
    virtual void EnableTrackBar() = 0;
    // The caption of the forecast label above the report.
    virtual void SetForecastCaption(const std::string& caption) = 0;
    // Rewrites the time scale and both forecast captions from ForecastBaseTime.
    virtual void UpdateTimeLabels() = 0;
};

// The computer's local calendar date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Today() const = 0;  // midnight of the local date
    // The present instant, which picks the newest NBM cycle.
    virtual std::chrono::system_clock::time_point Now() const { return std::chrono::system_clock::now(); }
};

class SystemClock final : public Clock {
public:
    TDateTime Today() const override;
};

// A date given from outside: the command line's --today, the tests' fixed day.
class FixedClock final : public Clock {
public:
    explicit FixedClock(TDateTime today) : today_(today) {}
    TDateTime Today() const override { return today_; }

private:
    TDateTime today_;
};

struct RetrievalContext {
    ForecastState& state;
    const ConfigTexts& config;
    HttpClient& http;
    RetrievalHost& host;
    const Clock& clock;
    std::filesystem::path picturePath;  // where the downloaded picture is written
    char timeSeparator = ':';           // the regional time separator
};

// The program's messages.
inline constexpr std::string_view kConnectWarning =
    "The Skelmar is unable to connect to the Internet.\r\n"
    "This is usually due to a failure in the Proxy Server settings or another Internet connection problem.\r\n"
    "Contact your System Administrator to solve this problem.";
inline constexpr std::string_view kGraphicNotFound =
    "Graphic Weather Data file was not found on the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kTextNotFound =
    "Textual Weather Data file was not found on the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kCorruptedText =
    "Corrupted Weather Text Data file was retrieved from the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kDateMismatch =
    "The Weather Text Data file does not match this computer's system date\r\n"
    "or this computer's date format is not recognizable.\r\n"
    "Reporting is not valid, correct your clock, or retrieve correct file later.";
inline constexpr std::string_view kNoForecastObtained = "No forecast obtained";

// True when [INTERNET] C_ZOZI14_GRAPHSERVER names a server for the picture. No public server
// offers one today: without it no picture is downloaded, and the window draws the graph from
// the bulletin's table instead.
bool GraphServerConfigured(const ConfigTexts& config);

// Fetches the picture of `stationCode` into the picture file and shows it. A failed download
// shows its message and leaves the picture as it was. Without a picture server it sets
// BulletinLines to "No Report" (as the text download does first in any case) and fetches and
// shows nothing. Throws Error("Cannot create file ...") or the picture's decoding error,
// which end the whole retrieval.
void DownloadGraphic(RetrievalContext& context, std::string_view stationCode);

// Fetches the bulletin text into BulletinLines and cuts it out of its page. A failed
// download shows its message and leaves "No Report" (or, with a tag configured, no line).
// With [INTERNET] C_TEXT_SOURCE=NBS the text is the station's block of the newest NBM cycle
// file instead (NbsSource.h), taken as it stands.
void DownloadText(RetrievalContext& context, std::string_view stationCode);

// A downloaded body made BulletinLines: split into lines, the track bar enabled, the tagged
// section kept when [INTERNET] C_FOUS_TEXT_HTML names a tag.
void TakeTextBody(RetrievalContext& context, std::string_view body);

// The date word of the header ("12/9/05"): sets ForecastBaseTime to that date and answers
// whether it is today's or tomorrow's local date. An impossible date sets 0 and answers false
// silently; a date of another day shows the date error. Throws Error("'...' is not a valid
// integer value") for a field that is not a number.
bool CheckBulletinDate(RetrievalContext& context, std::string_view dateWord);

// Checks the held BulletinLines as the bulletin of `stationCode`, sets ForecastBaseTime from
// its header, updates the time scale and normalises the table. A GFS or NAM guidance bulletin
// is first rewritten into the old layout (TranslateGuidanceBulletin), so a refused one is left
// in that layout. Whatever the outcome, the state's forecast model becomes that of the lines
// held: an accepted GFS or NAM bulletin read as downloaded (ReadForecast), anything else as a
// table of the old layout (ReadNgmTable). False, with its message shown, when the bulletin is refused. Throws Error for a header field that does not convert
// ("'...' is not a valid integer value", "'...' is not a valid time").
bool ValidateBulletin(RetrievalContext& context, std::string_view stationCode);

// Both downloads under the hourglass, then ValidateBulletin. True when a valid bulletin is in
// place. Errors of the downloads end it (the cursor restored first).
bool RetrieveBulletin(RetrievalContext& context, std::string_view stationCode);

// "hh<sep>nn" as a time of day; throws Error("'<text>' is not a valid time").
TDateTime StrToTime(std::string_view text, char separator);

}  // namespace skelmar
