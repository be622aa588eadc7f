#pragma once
// One retrieval for the selected station: download the picture and the bulletin text, check
// that the text is the bulletin of that station and of today (or tomorrow), take its issue
// time and normalise the table. It changes nothing of the window: it returns what the window
// is to show, which the window applies in one step on its own thread, so that the retrieval
// can run on another one and a cancelled one leaves no trace.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forecast/BulletinTable.h"
#include "retrieval/BulletinCheck.h"
#include "text/ConfigTexts.h"
#include "time/Calendar.h"

namespace skelmar {

class HttpClient;

// The program's messages.
inline constexpr std::string_view kConnectWarning =
    "The Skelmar is unable to connect to the Internet.\r\n"
    "This is usually due to a failure in the Proxy Server settings or another Internet connection problem.\r\n"
    "Contact your System Administrator to solve this problem.";
inline constexpr std::string_view kGraphicNotFound =
    "Graphic Weather Data file was not found on the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kTextNotFound =
    "Textual Weather Data file was not found on the Internet.\r\nReporting is not valid.";
inline constexpr std::string_view kNoForecastObtained = "No forecast obtained";

// True when [INTERNET] C_ZOZI14_GRAPHSERVER names a server for the picture. No public server
// offers one today: without it no picture is downloaded, and the window draws the graph from
// the bulletin's table instead.
bool GraphServerConfigured(const ConfigTexts& config);

// Everything a retrieval needs, taken from the configuration and the clock before it starts,
// so that it reads nothing that may change while it runs.
struct RetrievalRequest {
    std::string stationCode;
    std::string pictureUrl;  // empty: no picture server, so no picture
    std::string textUrl;
    std::string tag;         // [INTERNET] C_FOUS_TEXT_HTML; none for the NBM's text
    // With [INTERNET] C_TEXT_SOURCE=NBS: the cycle file's address pattern and the station's
    // identifier in it (NbsSource.h); the text is then the station's block of the newest
    // cycle file before `now`, in place of textUrl.
    std::string nbsCycleFile;
    std::string nbsIdentifier;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    TDateTime today = 0;
    char timeSeparator = ':';  // the regional time separator
};

// The addresses of `stationCode` from [INTERNET]: the bulletin's is C_ZOZI14_TEXTSERVER + code
// + C_FOUS_TEXT_EXT, the picture's C_ZOZI14_GRAPHSERVER + code + C_FOUS_GRAPH_EXT. For a
// four-character code (a whole identifier, "PANC") the server key with "_ICAO" appended counts
// first when set.
RetrievalRequest MakeRetrievalRequest(const ConfigTexts& config, std::string_view stationCode, TDateTime today,
                                      char timeSeparator);

// Where a downloaded picture goes, and its loading: the window's side.
class PictureTarget {
public:
    virtual ~PictureTarget() = default;
    // The picture file; asked only when a picture is about to be written. Throws
    // Error("Cannot create file ...") when it cannot be made.
    virtual std::filesystem::path Path() = 0;
    // Reads the written file as a GIF picture, to be shown when the retrieval is applied.
    // Throws Error("Invalid GIF signature") or another Error when it is not a whole one.
    virtual void Load(const std::filesystem::path& file) = 0;
};

struct RetrievalMessage {
    enum Kind { Warning, Error } kind;
    std::string text;
    bool operator==(const RetrievalMessage&) const = default;
};

// What a retrieval leaves for the window.
struct RetrievalOutcome {
    std::vector<RetrievalMessage> messages;  // the modal boxes, in order
    // What BulletinLines becomes: "No Report" until a text arrives (cut at the tag when one is
    // configured, also after a failed download), then the text's lines.
    BulletinLines lines{"No Report"};
    bool pictureLoaded = false;  // the picture target loaded a new picture
    bool textArrived = false;    // a text body arrived: the track bar becomes usable
    // The check ran: the forecast caption says kNoForecastObtained before anything else.
    bool checked = false;
    BulletinVerdict verdict;  // of the check
    // An error that ended the retrieval, for the general error box: the picture file that
    // cannot be made, a picture that does not load, a header field that does not convert.
    std::optional<std::string> error;
};

// The picture (when a server is configured), then the text, then AcceptBulletin. A failed
// download adds its message (kConnectWarning for a refused connection, else kGraphicNotFound
// or kTextNotFound); the picture's failure lets the text go on. A refused bulletin adds its
// refusal. Throws only TransferCancelledError, when the client's observer cancelled it.
RetrievalOutcome RunRetrieval(const RetrievalRequest& request, HttpClient& http, PictureTarget& picture);

}  // namespace skelmar
