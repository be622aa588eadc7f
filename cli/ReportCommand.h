#pragma once
// skelmar-report: the report of a downloaded bulletin, without a window, for scripts and for
// machines without a display. It runs the window's own steps on a bulletin file: the lines
// as the text download takes them (the tagged section too), the header and date checks of
// the retrieval sequence, the station's zone as the station selection finds it, and the
// report composer.
//
//   skelmar-report [--config FILE] --station ENTRY [--step N] [--time zulu|local]
//                  [--unit f|c] [--today YYYY-MM-DD] [--format text|rtf] [--labels]
//                  BULLETIN_FILE|-

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace skelmar {

// Exit statuses.
inline constexpr int kExitReportWritten = 0;  // also after --help
inline constexpr int kExitFailure = 1;        // a refused bulletin, a file or value in error
inline constexpr int kExitUsage = 2;          // bad arguments

// The help text: synopsis, options, exit statuses. Ends with a line break.
std::string ReportCommandUsage();

// Runs the command on `args` (the arguments after the program's name). `programDir` is where
// the default configuration file "Skelmar.ini" is looked for. The bulletin is read from
// `in` when its argument is "-".
//
// Writes the report (or the help text) to `out` and answers kExitReportWritten. Otherwise
// writes to `err`, as UTF-8 with "\n" line ends, and answers:
//  - kExitUsage with a line naming the problem and the help text, for bad arguments;
//  - kExitFailure with the text of the box the window would show, for a refused bulletin or
//    an error (the general error box's text), and with "Cannot open file <path>" for a file
//    that cannot be read, and "Cannot write the report" when `out` fails.
// Never throws but std::bad_alloc.
int RunReportCommand(const std::vector<std::string>& args, const std::filesystem::path& programDir,
                     std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace skelmar
