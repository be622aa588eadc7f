#include "retrieval/RetrievalSequence.h"

#include "forecast/ForecastReaders.h"
#include "retrieval/HttpClient.h"
#include "retrieval/NbsSource.h"
#include "retrieval/PictureFile.h"
#include "text/Error.h"

namespace skelmar {

namespace {

// The server + the code + the extension. A four-character code is a whole identifier: where
// the server text ends in the "K" that makes a three-letter code an identifier, the
// server key with "_ICAO" appended gives the address to use before such a code instead.
std::string Address(const ConfigTexts& config, std::string_view serverKey, std::string_view stationCode,
                    std::string_view extensionKey)
{
    std::string server;
    if (stationCode.size() == 4)
        server = config.Value("INTERNET", std::string(serverKey) + "_ICAO");
    if (server.empty())
        server = config.Value("INTERNET", serverKey);
    return server + std::string(stationCode) + config.Value("INTERNET", extensionKey);
}

// Runs `download` for the body; on failure adds the refused-connection warning or `notFound`
// and answers false.
template <typename Download>
bool Fetch(const Download& download, std::string_view notFound, RetrievalOutcome& outcome, std::string& body)
{
    try {
        body = download();
        return true;
    } catch (const TransferCancelledError&) {
        throw;
    } catch (const ConnectionRefusedError&) {
        outcome.messages.push_back({RetrievalMessage::Warning, std::string(kConnectWarning)});
    } catch (const Error&) {
        outcome.messages.push_back({RetrievalMessage::Error, std::string(notFound)});
    }
    return false;
}

void Retrieve(const RetrievalRequest& request, HttpClient& http, PictureTarget& picture, RetrievalOutcome& outcome)
{
    std::string body;
    // An empty server would make the address the station code alone, a request that can only
    // fail and call the whole report invalid.
    if (!request.pictureUrl.empty() &&
        Fetch([&] { return http.Get(request.pictureUrl); }, kGraphicNotFound, outcome, body)) {
        const std::filesystem::path file = picture.Path();
        WritePictureFile(file, body);
        picture.Load(file);
        outcome.pictureLoaded = true;
    }

    const auto download = [&] {
        if (request.nbsCycleFile.empty())
            return http.Get(request.textUrl);
        return FetchLatestNbsBlock(http, request.nbsCycleFile, request.nbsIdentifier, request.now).block;
    };
    if (Fetch(download, kTextNotFound, outcome, body)) {
        outcome.lines = BulletinLinesOf(body, request.tag);
        outcome.textArrived = true;
    } else {
        // A tag is applied to what a failed download left as well.
        outcome.lines = BulletinLinesOf("No Report", request.tag);
    }

    outcome.checked = true;
    outcome.verdict = AcceptBulletin(outcome.lines, request.stationCode, request.today, request.timeSeparator);
    if (!outcome.verdict.refusal.empty())
        outcome.messages.push_back({RetrievalMessage::Error, outcome.verdict.refusal});
}

}  // namespace

bool GraphServerConfigured(const ConfigTexts& config)
{
    return !config.Value("INTERNET", "C_ZOZI14_GRAPHSERVER").empty();
}

RetrievalRequest MakeRetrievalRequest(const ConfigTexts& config, std::string_view stationCode, TDateTime today,
                                      char timeSeparator)
{
    const auto address = [&](std::string_view server, std::string_view extension) {
        return Address(config, server, stationCode, extension);
    };
    RetrievalRequest request;
    request.stationCode = stationCode;
    if (GraphServerConfigured(config))
        request.pictureUrl = address("C_ZOZI14_GRAPHSERVER", "C_FOUS_GRAPH_EXT");
    request.textUrl = address("C_ZOZI14_TEXTSERVER", "C_FOUS_TEXT_EXT");
    request.tag = BulletinTag(config);
    if (NbsSourceSelected(config)) {
        request.nbsCycleFile = NbsCycleFilePattern(config);
        request.nbsIdentifier = NbsStationIdentifier(config, stationCode);
    }
    request.today = today;
    request.timeSeparator = timeSeparator;
    return request;
}

RetrievalOutcome RunRetrieval(const RetrievalRequest& request, HttpClient& http, PictureTarget& picture)
{
    RetrievalOutcome outcome;
    try {
        Retrieve(request, http, picture, outcome);
    } catch (const TransferCancelledError&) {
        throw;
    } catch (const std::exception& error) {
        outcome.error = error.what();
        // The model follows the lines held, as after a refusal.
        outcome.verdict.forecast = ReadNgmTable(outcome.lines);
    }
    return outcome;
}

}  // namespace skelmar
