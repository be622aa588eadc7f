// Reads any text as an NBM bulletin (NBS), fills the forecast model from what it accepts, and
// looks the text up as a whole-cycle file through ranges. What is read must agree with
// itself: a value for every column of every row, the rows the report needs whole, the
// instants from 6 to 60 hours in order, each period of an instant holding it, the steps
// never farther than 2 hours from their instants; the search never asks for more than its
// bisection needs, and finds what it finds only under its own title.

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <string_view>

#include "forecast/NbsBulletin.h"
#include "forecast/NbsForecast.h"
#include "fuzz/Require.h"
#include "retrieval/BulletinText.h"
#include "retrieval/HttpClient.h"
#include "retrieval/NbsSource.h"
#include "text/Error.h"

namespace {

using namespace skelmar;
using fuzz::Require;

// The input as a file on a server that answers ranges.
class MemoryServer final : public HttpClient {
public:
    explicit MemoryServer(std::string_view file) : file_(file) {}
    std::string Get(const std::string&) override { return std::string(file_); }
    StreamedAnswer GetStreamed(const std::string&, std::optional<ByteRange> range, const BodySink& sink) override
    {
        ++requests;
        StreamedAnswer answer;
        std::uint64_t first = 0;
        std::uint64_t last = file_.empty() ? 0 : file_.size() - 1;
        if (range) {
            if (range->first >= file_.size())
                throw Error("HTTP/1.1 416 Range Not Satisfiable");
            first = range->first;
            last = std::min<std::uint64_t>(range->last, last);
            answer.status = 206;
            answer.totalSize = file_.size();
        }
        // Pieces of 7 bytes, so that lines and titles are cut anywhere.
        for (std::uint64_t at = first; at <= last && !file_.empty(); at += 7) {
            const std::string_view piece = file_.substr(at, std::min<std::uint64_t>(7, last - at + 1));
            answer.bodyBytes += piece.size();
            if (!sink(piece)) {
                answer.stopped = true;
                break;
            }
        }
        return answer;
    }
    int requests = 0;

private:
    std::string_view file_;
};

void CheckModel(const nbs::Bulletin& bulletin)
{
    for (const auto& [label, row] : bulletin.rows)
        Require(row.size() == bulletin.columns.size());
    for (std::size_t i = 1; i < bulletin.columns.size(); ++i)
        Require(bulletin.columns[i].forecastHour > bulletin.columns[i - 1].forecastHour);
    for (const std::string_view label : nbs::kRequiredRows) {
        const auto* row = bulletin.Row(label);
        Require(row != nullptr && std::all_of(row->begin(), row->end(), [](const auto& v) { return v.has_value(); }));
    }

    const ForecastModel model = NbsForecastModel(bulletin);
    int previous = 0;
    for (const ForecastInstant& instant : model.instants) {
        Require(instant.hour >= 6 && instant.hour <= 60 && instant.hour > previous);
        previous = instant.hour;
        for (const std::size_t index : instant.periods) {
            Require(index < model.periods.size());
            const ForecastPeriod& period = model.periods[index];
            Require(period.startHour < instant.hour && instant.hour <= period.endHour);
        }
        const ForecastValue& ceiling = instant.ceiling;
        if (ceiling.state == ForecastValue::State::Given && ceiling.key != "Unlimited")
            Require(ceiling.key.size() == 1 && ceiling.key[0] >= '1' && ceiling.key[0] <= '7' && ceiling.number);
    }
    for (int step = 2; step <= 20; ++step) {
        const int hour = model.HourOfStep(step);
        Require(std::abs(hour - 3 * step) <= 2);
        Require(hour == 3 * step || model.InstantAt(hour) != nullptr);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const BulletinLines lines = SplitBulletinText(text);
    const nbs::ReadResult read = nbs::ReadNbsBulletin(lines);
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.find_first_not_of(' ') != std::string::npos; });
    Require((read.reading == nbs::Reading::NotNbs) == (first == lines.end() || !nbs::IsNbsTitle(*first)));
    Require((read.reading == nbs::Reading::Unreadable) == !read.reason.empty());
    if (read.reading == nbs::Reading::Read)
        CheckModel(read.bulletin);

    // The first title's station, looked up in the text as a cycle file.
    if (read.reading != nbs::Reading::NotNbs) {
        const std::string identifier(nbs::FirstWord(*first));
        MemoryServer server(text);
        try {
            const NbsDownload download = FetchNbsBlock(server, "memory", identifier);
            const std::string title = download.block.substr(0, download.block.find('\n'));
            Require(nbs::IsNbsTitle(title) && nbs::FirstWord(title) == identifier);
        } catch (const Error&) {
        }
        // Bisection halves the file each step, never more than about 64 steps for any size.
        Require(server.requests <= 70);
    }
    return 0;
}
