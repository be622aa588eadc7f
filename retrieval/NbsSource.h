#pragma once
// One station's NBM bulletin (NBS) from the whole-cycle file of all stations.
//
// NOAA publishes the NBS of every station of an hourly NBM run as one text file of about
// 30 MB, in its open-data bucket and on NOMADS:
//   https://noaa-nbm-grib2-pds.s3.amazonaws.com/blend.YYYYMMDD/HH/text/blend_nbstx.tHHz
//   https://nomads.ncep.noaa.gov/pub/data/nccf/com/blend/prod/blend.YYYYMMDD/HH/text/blend_nbstx.tHHz
// No public address serves one station's NBS alone. The file holds the stations' blocks in
// the order of their identifiers (byte order: digits before letters), so one block is found
// by bisection with HTTP Range requests of kNbsProbeBytes each, about 12 of them for 30 MB,
// and then read by a last request that is stopped as soon as the block has been read. A
// server that ignores Range (status 200) sends the file from its start: it is read until the
// block has been read, and stopped there.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace skelmar {

class ConfigTexts;
class HttpClient;

// The bytes each bisection step asks for: several blocks of about 3.5 KB each, so that a
// step sees at least one whole title line.
inline constexpr std::uint64_t kNbsProbeBytes = 16 * 1024;

struct NbsDownload {
    std::string block;           // the station's block: its title to its last row
    std::string url;             // the cycle file it came from
    std::uint64_t bodyBytes = 0; // body bytes received, over all requests
    int requests = 0;
};

// The address of a cycle's file: `pattern` with every "{date}" replaced by YYYYMMDD and every
// "{hour}" by HH of the cycle.
std::string NbsCycleAddress(std::string_view pattern, int year, int month, int day, int hour);

// The block of station `identifier` ("KBOS") in the cycle file at `url`. Throws Error when
// the download fails or the file holds no block of that station.
NbsDownload FetchNbsBlock(HttpClient& http, const std::string& url, std::string_view identifier);

// The block from the newest cycle file there is: that of the hour before `now` (a run is
// published within about an hour), else each earlier hour, `cycles` in all. A refused
// connection ends the search at once; otherwise the last failure is thrown.
NbsDownload FetchLatestNbsBlock(HttpClient& http, std::string_view pattern, std::string_view identifier,
                                std::chrono::system_clock::time_point now, int cycles = 3);

// The configuration of the source, in [INTERNET]:
//   C_TEXT_SOURCE=NBS      takes the bulletin text from the NBM's cycle file (any other value,
//                          or none, the page of C_ZOZI14_TEXTSERVER as before);
//   C_NBS_CYCLE_FILE=...   the cycle file's address with {date} and {hour};
//   C_NBS_PREFIX=K         put before the station code to make its identifier (default K).
bool NbsSourceSelected(const ConfigTexts& config);
std::string NbsCycleFilePattern(const ConfigTexts& config);
// The identifier of a station in the cycle file: a four-character code as it stands, else
// C_NBS_PREFIX + code.
std::string NbsStationIdentifier(const ConfigTexts& config, std::string_view stationCode);

// The tag around the bulletin in the downloaded body: [INTERNET] C_FOUS_TEXT_HTML, or none when
// the text comes from the NBM's cycle file, which is no page.
std::string BulletinTag(const ConfigTexts& config);

}  // namespace skelmar
