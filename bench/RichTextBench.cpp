// Reading back one composed report, as the window does after every composition.
// Goal: under 50 microseconds a report (median of repetitions, release build).
// Also 10 MB of hostile input of three kinds, which must stay well under a second.

#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

#include "richtext/RtfReader.h"

namespace {

// A full report of about 1.5 KB: prologue, heading, the sentences about the instant and
// two period sections.
std::string ReportDocument()
{
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\widowctrl{\\fonttbl{\\f0\\fswiss"
        "\\fcharset0 Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\\viewkind4\\uc1"
        "\\tx360\\tx720\\tx1080\\tx1440\\tx2160\\tx2880\\pard\\f1 ";
    rtf += "\\b \\fs26 \\i Extended Aviation Weather Report for Boston (BOS), at 1800 EST "
           "Thursday, January 16, 2025\\i0 \\fs22 \\b0 \\f0 \\par ";
    rtf += "The temperature will be 41\xB0 F, with a dew point of 30\xB0 F. "
           "The sky will be overcast, with the lowest ceiling between 1000 and 1900 feet above "
           "ground level. "
           "Visibility will be between 3 and 5 statute miles in fog or mist, improving slowly "
           "through the afternoon. "
           "The wind will blow from the northeast at 15 knots, veering to the east later. "
           "Precipitation, if any, will most likely fall as snow, possibly mixed with "
           "freezing rain at first. ";
    rtf += "\\par \\par Between 1200 EST Thursday and 1800 EST Thursday: "
           "The probability of precipitation is 70 percent, "
           "so no convective activity is expected. "
           "The probability of thunderstorms is 3 percent, of severe thunderstorms 0 percent, "
           "so no convective activity is expected. "
           "The amount of precipitation, where it falls, will be between 0.10 and 0.24 inches. ";
    rtf += "\\par \\par Between 0600 EST Thursday and 1800 EST Thursday: "
           "The probability of precipitation is 90 percent, "
           "so no convective activity is expected. "
           "The probability of thunderstorms is 4 percent, of severe thunderstorms 1 percent. "
           "The amount of precipitation, where it falls, will be between 0.25 and 0.49 inches. "
           "Snow may accumulate to between 2 and 4 inches on untreated surfaces, with "
           "drifting in open areas.}";
    return rtf;
}

void BM_ReadReport(benchmark::State& state)
{
    const std::string rtf = ReportDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(skelmar::ReadRtf(rtf));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
    state.counters["bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_ReadReport);

// 0: text with a format change in every sentence; 1: groups nested 10 MB deep;
// 2: a paragraph break every six bytes.
void BM_ReadTenMegabytes(benchmark::State& state)
{
    static constexpr std::string_view kPieces[] = {
        "Temperature 41\xB0 F. {\\b Wind} \\u8364?\\'80 ",
        "{",
        "x\\par ",
    };
    const std::string_view piece = kPieces[state.range(0)];
    std::string rtf;
    while (rtf.size() < 10 * 1024 * 1024)
        rtf += piece;
    for (auto _ : state)
        benchmark::DoNotOptimize(skelmar::ReadRtf(rtf));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadTenMegabytes)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
