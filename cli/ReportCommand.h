#pragma once
// skelmar-report: the report of a downloaded bulletin, without a window, for scripts and for
// machines without a display. It runs the window's own steps on a bulletin file: the lines
// as the text download takes them (the tagged section too), the header and date checks of
// the retrieval sequence, the station's zone as the station selection finds it, and the
// report composer.
//
//   skelmar-report [--config FILE] --station ENTRY [--step N] [--time zulu|local]
//                  [--unit f|c] [--today YYYY-MM-DD] [--format text|rtf|html] [--labels]
//                  [--graph FILE.png|-] BULLETIN_FILE|-
//
// The command's logic links no Qt; the forecast graph is drawn by a GraphWriter that the
// program hands in where it is built with the graph library.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace skelmar {

struct ForecastGraphModel;

// Draws the graph of `model`: the bytes of its PNG file. Throws Error when it cannot.
using GraphWriter = std::function<std::string(const ForecastGraphModel& model)>;

// Exit statuses.
inline constexpr int kExitReportWritten = 0;  // also after --help and --version
inline constexpr int kExitFailure = 1;        // a refused bulletin, a file or value in error
inline constexpr int kExitUsage = 2;          // bad arguments

// The help text: synopsis, options, exit statuses. Ends with a line break.
std::string ReportCommandUsage();

// Runs the command on `args` (the arguments after the program's name). `programDir` is the
// running program's folder; without --config the configuration file is
// ConfigFilePath(ShippedDataDirectory(programDir)): the user's own, else the shipped one. The
// bulletin is read from `in` when its argument is "-".
//
// Writes the report (or the help text, or "skelmar-report <version>" and a line break) to
// `out` and answers kExitReportWritten. Otherwise writes to `err`, as UTF-8 with "\n" line
// ends, and answers:
//  - kExitUsage with a line naming the problem and the help text, for bad arguments;
//  - kExitFailure with the text of the box the window would show, for a refused bulletin or
//    an error (the general error box's text), with "Cannot open file <path>" or "Cannot read
//    ...: <reason>" for a bulletin or configuration that cannot be read, with a line naming
//    the configuration file and the sections it lacks when it holds none of the report's,
//    and with "Cannot write to standard output: <reason>" when `out` fails.
// The report is composed before anything is written; a failed run writes no file.
// With --graph the graph of the same inputs is drawn by `graphWriter` and written by the
// rules of OutputFile (text/OutputFile.h), its file put in place only after the report was
// written; "--graph -" writes the PNG to `out` in place of the report. Without a writer
// --graph is a bad argument (kExitUsage).
// Never throws but std::bad_alloc.
int RunReportCommand(const std::vector<std::string>& args, const std::filesystem::path& programDir,
                     std::istream& in, std::ostream& out, std::ostream& err,
                     const GraphWriter& graphWriter = {});

}  // namespace skelmar
