#include "retrieval/NbsSource.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

#include "forecast/NbsBulletin.h"
#include "retrieval/HttpClient.h"
#include "text/ConfigTexts.h"
#include "text/Error.h"
#include "text/StringRoutines.h"

namespace skelmar {

namespace {

struct Title {
    std::string identifier;
    std::uint64_t offset = 0;  // of the title line in the file
};

// The title lines wholly inside `text`, which starts at `offset` of the file; a line cut by
// the start of the window (any but the file's first) is skipped.
std::vector<Title> TitlesIn(std::string_view text, std::uint64_t offset)
{
    std::vector<Title> titles;
    std::size_t at = 0;
    if (offset != 0) {
        at = text.find('\n');
        if (at == std::string_view::npos)
            return titles;
        ++at;
    }
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            break;
        const std::string_view line = text.substr(at, end - at);
        if (nbs::IsNbsTitle(line))
            titles.push_back({std::string(nbs::FirstWord(line)), offset + at});
        at = end + 1;
    }
    return titles;
}

// Reads lines from a stream and keeps the block of one station. Stops when the block has
// ended, or (when the file is known to be in order) at a later station's title.
class BlockScanner {
public:
    BlockScanner(std::string_view identifier, bool ordered) : identifier_(identifier), ordered_(ordered) {}

    // False when nothing more is needed.
    bool Feed(std::string_view piece)
    {
        for (const char c : piece) {
            if (c != '\n') {
                if (c != '\r')
                    line_ += c;
                continue;
            }
            if (!Line())
                return false;
            line_.clear();
        }
        return true;
    }

    // The stream ended: a last line without its line break counts.
    void End()
    {
        if (!done_ && !line_.empty())
            Line();
        line_.clear();
    }

    bool Found() const { return found_; }
    const std::string& Block() const { return block_; }

private:
    bool Line()
    {
        const bool title = nbs::IsNbsTitle(line_);
        if (found_) {
            if (title || line_.find_first_not_of(' ') == std::string::npos) {
                done_ = true;
                return false;
            }
            block_ += line_ + "\n";
            return true;
        }
        if (!title)
            return true;
        const std::string_view id = nbs::FirstWord(line_);
        if (id == identifier_) {
            found_ = true;
            block_ = line_ + "\n";
        } else if (ordered_ && id > identifier_) {
            done_ = true;
            return false;
        }
        return true;
    }

    std::string identifier_;
    bool ordered_;
    std::string line_;
    std::string block_;
    bool found_ = false;
    bool done_ = false;
};

// A ranged GET of at most `bytes` bytes from `first`, into memory.
StreamedAnswer GetWindow(HttpClient& http, const std::string& url, std::uint64_t first, std::uint64_t bytes,
                         std::string& text, NbsDownload& download)
{
    text.clear();
    const StreamedAnswer answer =
        http.GetStreamed(url, ByteRange{first, first + bytes - 1}, [&](std::string_view piece) {
            text.append(piece.substr(0, std::min<std::size_t>(piece.size(), bytes - text.size())));
            return text.size() < bytes;
        });
    download.bodyBytes += answer.bodyBytes;
    ++download.requests;
    return answer;
}

// Streams the file from `first` (the whole file when `ranged` is false) through a scanner.
void Scan(HttpClient& http, const std::string& url, std::optional<std::uint64_t> first, BlockScanner& scanner,
          NbsDownload& download)
{
    std::optional<ByteRange> range;
    if (first)
        range = ByteRange{*first, ByteRange::kToEnd};
    const StreamedAnswer answer =
        http.GetStreamed(url, range, [&](std::string_view piece) { return scanner.Feed(piece); });
    if (!answer.stopped)
        scanner.End();
    download.bodyBytes += answer.bodyBytes;
    ++download.requests;
}

NbsDownload Finished(const BlockScanner& scanner, NbsDownload download, std::string_view identifier)
{
    if (!scanner.Found())
        throw Error("No bulletin of " + std::string(identifier) + " in " + download.url);
    download.block = scanner.Block();
    return download;
}

}  // namespace

std::string NbsCycleAddress(std::string_view pattern, int year, int month, int day, int hour)
{
    char date[16];
    char hh[8];
    std::snprintf(date, sizeof date, "%04d%02d%02d", year, month, day);
    std::snprintf(hh, sizeof hh, "%02d", hour);
    std::string address;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i).starts_with("{date}")) {
            address += date;
            i += 6;
        } else if (pattern.substr(i).starts_with("{hour}")) {
            address += hh;
            i += 6;
        } else {
            address += pattern[i++];
        }
    }
    return address;
}

NbsDownload FetchNbsBlock(HttpClient& http, const std::string& url, std::string_view identifier)
{
    NbsDownload download;
    download.url = url;
    const std::string target(identifier);

    std::string text;
    StreamedAnswer answer = GetWindow(http, url, 0, kNbsProbeBytes, text, download);
    if (answer.status != 206 || !answer.totalSize) {
        // No ranges: the whole file from its start, read up to the block's end.
        BlockScanner scanner(target, false);
        Scan(http, url, std::nullopt, scanner, download);
        return Finished(scanner, download, identifier);
    }

    // Bisection: [low, high) holds the block's title, if the file has one.
    std::uint64_t low = 0;
    std::uint64_t high = *answer.totalSize;
    std::vector<Title> titles = TitlesIn(text, 0);
    for (;;) {
        const auto same = std::find_if(titles.begin(), titles.end(), [&](const Title& t) { return t.identifier == target; });
        if (same != titles.end()) {
            low = same->offset;
            break;
        }
        const bool someBefore = std::any_of(titles.begin(), titles.end(), [&](const Title& t) { return t.identifier < target; });
        const bool someAfter = std::any_of(titles.begin(), titles.end(), [&](const Title& t) { return t.identifier > target; });
        if (someBefore && someAfter)
            throw Error("No bulletin of " + target + " in " + url);
        if (someBefore)
            low = std::max(low, titles.back().offset);
        if (high - low <= kNbsProbeBytes)
            break;
        const std::uint64_t middle = low + (high - low) / 2;
        answer = GetWindow(http, url, middle, std::min(kNbsProbeBytes, high - middle), text, download);
        titles = TitlesIn(text, middle);
        if (titles.empty() || titles.front().identifier > target) {
            high = middle;
            titles.clear();
        }
    }

    BlockScanner scanner(target, true);
    Scan(http, url, low, scanner, download);
    return Finished(scanner, download, identifier);
}

NbsDownload FetchLatestNbsBlock(HttpClient& http, std::string_view pattern, std::string_view identifier,
                                std::chrono::system_clock::time_point now, int cycles)
{
    for (int back = 1;; ++back) {
        const std::time_t when = std::chrono::system_clock::to_time_t(now - std::chrono::hours(back));
        std::tm utc{};
        gmtime_r(&when, &utc);
        const std::string url = NbsCycleAddress(pattern, utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour);
        try {
            return FetchNbsBlock(http, url, identifier);
        } catch (const TransferCancelledError&) {
            throw;  // the user's cancel ends the search, not one cycle
        } catch (const ConnectionRefusedError&) {
            throw;  // no server: no other cycle will be reached either
        } catch (const Error&) {
            if (back >= cycles)
                throw;
        }
    }
}

bool NbsSourceSelected(const ConfigTexts& config)
{
    return TrimChar(config.Value("INTERNET", "C_TEXT_SOURCE"), ' ') == "NBS";
}

std::string NbsCycleFilePattern(const ConfigTexts& config)
{
    return TrimChar(config.Value("INTERNET", "C_NBS_CYCLE_FILE"), ' ');
}

std::string NbsStationIdentifier(const ConfigTexts& config, std::string_view stationCode)
{
    // A four-character code is a whole identifier already ("PANC").
    if (stationCode.size() == 4)
        return std::string(stationCode);
    std::string prefix = TrimChar(config.Value("INTERNET", "C_NBS_PREFIX"), ' ');
    if (prefix.empty())
        prefix = "K";
    return prefix + std::string(stationCode);
}

std::string BulletinTag(const ConfigTexts& config)
{
    // The NBM's text is no page: it is taken as it stands.
    return NbsSourceSelected(config) ? std::string() : config.Value("INTERNET", "C_FOUS_TEXT_HTML");
}

}  // namespace skelmar
