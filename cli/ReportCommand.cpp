#include "cli/ReportCommand.h"

#include <cerrno>
#include <fstream>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>
#include <variant>

#include "config/StationEntry.h"
#include "report/ForecastGraphModel.h"
#include "report/ForecastState.h"
#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/BulletinCheck.h"
#include "retrieval/HttpClient.h"  // the body limit only
#include "retrieval/NbsSource.h"
#include "retrieval/ProgramFiles.h"
#include "time/Clock.h"
#include "richtext/ReportDocument.h"
#include "text/Cp1252.h"
#include "text/Error.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"
#include "text/StringRoutines.h"
#include "text/Version.h"
#include "time/RegionalSettings.h"
#include "time/RegistryTimeZones.h"
#include "time/TimeFormat.h"
#include "time/TzifZoneStore.h"

namespace skelmar {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kProgramName = "skelmar-report";

// A bulletin larger than the text download would accept is not one.
constexpr std::size_t kMaxBulletinBytes = HttpLimits{}.maxBodyBytes;

// The window says nothing when the header's date is no calendar date ("2/30/26"); a script
// needs a reason for the refusal.
constexpr std::string_view kNoCalendarDate = "The bulletin's date is not a calendar date.";

using OutputFormat = ReportDocumentFormat;

struct Options {
    std::optional<fs::path> config;
    std::optional<std::string> station;  // code page 1252
    int step = 2;
    TimeType timeType = TimeType::Zulu;
    TemperatureUnit unit = TemperatureUnit::Fahrenheit;
    std::optional<TDateTime> today;
    OutputFormat format = OutputFormat::Text;
    bool labels = false;
    std::optional<fs::path> graph;  // where --graph draws the graph
    bool help = false;
    bool version = false;
    std::optional<std::string> bulletin;  // a path, or "-" for standard input
};

// What is wrong with the arguments, in a few words.
struct UsageProblem {
    std::string text;
};

// "YYYY-MM-DD", four, two and two digits, a valid date; nullopt otherwise.
std::optional<TDateTime> ParseIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (const std::size_t at : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
    // Each field is at most four digits: within 16 bits.
    const auto year = static_cast<std::uint16_t>(*ParseInteger(text.substr(0, 4)));
    const auto month = static_cast<std::uint16_t>(*ParseInteger(text.substr(5, 2)));
    const auto day = static_cast<std::uint16_t>(*ParseInteger(text.substr(8, 2)));
    try {
        return EncodeDate(year, month, day);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// Text from the command line in the core's code page: a UTF-8 terminal's text is converted,
// anything else is taken as it stands (as the configuration file's reader decides).
std::string ArgumentText(std::string_view text)
{
    return LooksLikeUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
}

// Takes the value of one option; a problem text when the value is not allowed.
std::optional<UsageProblem> SetOption(Options& options, std::string_view name, std::string_view value)
{
    const auto invalid = [&] {
        return UsageProblem{"invalid value '" + std::string(value) + "' for " + std::string(name)};
    };
    if (name == "--config") {
        if (value.empty())
            return invalid();
        options.config = fs::path(std::string(value));
    } else if (name == "--station") {
        options.station = ArgumentText(value);
    } else if (name == "--step") {
        const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos;
        const std::optional<int> step = digits ? ParseInteger(value) : std::nullopt;
        if (!step || *step < 2 || *step > 20)
            return invalid();
        options.step = *step;
    } else if (name == "--time") {
        if (value != "zulu" && value != "local")
            return invalid();
        options.timeType = value == "local" ? TimeType::Local : TimeType::Zulu;
    } else if (name == "--unit") {
        if (value != "f" && value != "c")
            return invalid();
        options.unit = value == "c" ? TemperatureUnit::Celsius : TemperatureUnit::Fahrenheit;
    } else if (name == "--today") {
        options.today = ParseIsoDate(value);
        if (!options.today)
            return invalid();
    } else if (name == "--format") {
        if (value == "text")
            options.format = OutputFormat::Text;
        else if (value == "rtf")
            options.format = OutputFormat::Rtf;
        else if (value == "html")
            options.format = OutputFormat::Html;
        else
            return invalid();
    } else if (name == "--graph") {
        if (value.empty())
            return invalid();
        options.graph = fs::path(std::string(value));
    }
    return std::nullopt;
}

bool TakesValue(std::string_view name)
{
    for (const std::string_view known : {"--config", "--station", "--step", "--time", "--unit", "--today", "--format",
                                    "--graph"})
        if (name == known)
            return true;
    return false;
}

// Options as "--name value" or "--name=value", in any order, the last of a repeated option
// counting; "--" ends the options, and "-" alone is the standard input.
std::variant<Options, UsageProblem> ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            if (options.bulletin)
                return UsageProblem{"more than one bulletin file given"};
            options.bulletin = std::string(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return options;
        }
        if (arg == "--version") {
            options.version = true;
            return options;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (name == "--labels") {
            if (equals != std::string_view::npos)
                return UsageProblem{"option --labels takes no value"};
            options.labels = true;
            continue;
        }
        if (!TakesValue(name))
            return UsageProblem{"unknown option '" + std::string(name) + "'"};
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return UsageProblem{"option " + std::string(name) + " needs a value"};
        }
        if (std::optional<UsageProblem> problem = SetOption(options, name, value))
            return *problem;
    }
    if (!options.station)
        return UsageProblem{"no station given (--station)"};
    if (!options.bulletin)
        return UsageProblem{"no bulletin file given"};
    return options;
}

// A message of the program (code page 1252, CR LF line breaks) as a terminal takes it: UTF-8
// with "\n", and no control character, which a bulletin's text could carry into a message.
void WriteMessage(std::ostream& err, std::string_view message)
{
    std::string text(message);
    ReplaceAll(text, "\r\n", "\n");
    err << ReplaceControlCharacters(Cp1252ToUtf8(text)) << '\n';
}

// The whole of `in` into `bytes`, unless it cannot be read (`reason` then says why, when the
// stream tells) or is larger than a bulletin.
enum class ReadResult { Read, Unreadable, TooLarge };
ReadResult ReadAll(std::istream& in, std::string& bytes, std::string& reason)
{
    bytes.clear();
    // A stream buffer that fails (a closed descriptor, a folder as standard input) reports
    // its error as an exception, which the stream passes on only when asked to.
    const std::ios::iostate oldExceptions = in.exceptions();
    ReadResult result = ReadResult::Read;
    try {
        in.exceptions(std::ios::badbit);
        char chunk[65536];
        while (result == ReadResult::Read && (in.read(chunk, sizeof chunk) || in.gcount() > 0)) {
            if (bytes.size() + static_cast<std::size_t>(in.gcount()) > kMaxBulletinBytes)
                result = ReadResult::TooLarge;
            else
                bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        }
    } catch (const std::system_error& error) {
        result = ReadResult::Unreadable;
        // The stream's own "iostream error" says nothing the message does not.
        if (error.code().category() != std::iostream_category())
            reason = error.code().message();
    } catch (const std::exception&) {
        result = ReadResult::Unreadable;
    }
    in.clear();
    in.exceptions(oldExceptions);
    return result;
}

// The bulletin's bytes from its file or from `in`; false, with the message written, when
// they cannot be had.
bool ReadBulletin(const std::string& name, std::istream& in, std::string& body, std::ostream& err)
{
    const bool standardInput = name == "-";
    const std::string shown = standardInput ? std::string("standard input") : "file " + name;
    std::ifstream file;
    if (!standardInput) {
        std::error_code error;
        if (!fs::is_directory(name, error))
            file.open(name, std::ios::binary);
        if (!file.is_open()) {
            err << "Cannot open " << shown << '\n';
            return false;
        }
    }
    std::string reason;
    switch (ReadAll(standardInput ? in : file, body, reason)) {
    case ReadResult::Read:
        return true;
    case ReadResult::Unreadable:
        err << "Cannot read " << shown << (reason.empty() ? "" : ": " + reason) << '\n';
        return false;
    case ReadResult::TooLarge:
        err << "Bulletin too large (more than " << kMaxBulletinBytes / (1024 * 1024) << " MiB): " << shown << '\n';
        return false;
    }
    return false;
}

// The zone record of the station, as the station selection finds it. Throws Error for a zone
// index that is not a whole number and for a zone that is not found.
TIME_ZONE_INFORMATION StationZone(std::string_view entry, const ConfigTexts& config)
{
    const TVeskRegistryTimeZones zones;
    return StationTimeZone(entry, config, &zones, SystemZoneDirectory());
}

// The configuration file, or nullptr when it is missing or cannot be read (it would then
// read as empty, and every text of the report would be missing).
std::unique_ptr<ConfigFile> OpenConfig(const fs::path& path)
{
    std::unique_ptr<ConfigFile> config = ConfigFile::Open(path);
    if (config && !std::ifstream(path, std::ios::binary).is_open())
        config.reset();
    return config;
}

// The sections that hold the report's texts. A file with none of them is no configuration
// of this program (an empty file, another program's): its report would be a bare heading.
constexpr std::string_view kReportSections[] = {"GENERAL", "TEMP",  "CLDS",          "CIG", "VIS",
                                                "OBVIS",   "WIND",  "PROBABILITIES", "QPF", "PTYPE"};

bool HoldsAReportSection(const ConfigFile& config)
{
    for (const std::string_view section : kReportSections)
        if (!config.SectionEntries(section).empty())
            return true;
    return false;
}

std::string ReportSectionList()
{
    std::string list;
    for (const std::string_view section : kReportSections)
        list += (list.empty() ? "[" : ", [") + std::string(section) + "]";
    return list;
}

// Writes `bytes` to standard output; false, with the message written, when that fails. The
// reason is the system's, where the failed write left one.
bool WriteStandardOutput(std::ostream& out, std::string_view bytes, std::ostream& err)
{
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out)
        return true;
    const int error = errno;
    err << "Cannot write to standard output" << (error != 0 ? ": " + std::generic_category().message(error) : "")
        << '\n';
    return false;
}

// What --labels writes: the ten time-scale captions, then LabelForecast and
// RzLabelForecastPlaceTime, one a line.
std::string LabelsText(const TimeLabelCaptions& captions)
{
    std::string text;
    for (const std::string& caption : captions.timeLabels)
        text += Cp1252ToUtf8(caption) + '\n';
    text += Cp1252ToUtf8(captions.labelForecast) + '\n';
    text += Cp1252ToUtf8(captions.placeTime) + '\n';
    return text;
}

// The station change and the retrieval sequence on the bulletin, then the report. Throws
// Error where the window would show the general error box.
int MakeReport(const Options& options, const fs::path& programDir, std::istream& in, std::ostream& out,
               std::ostream& err, const GraphWriter& graphWriter)
{
    const fs::path configPath = options.config.value_or(ConfigFilePath(ShippedDataDirectory(programDir)));
    const std::unique_ptr<ConfigFile> config = OpenConfig(configPath);
    if (!config) {
        err << "Cannot open file " << configPath.string() << '\n';
        return kExitFailure;
    }
    if (!HoldsAReportSection(*config)) {
        err << "The configuration file " << configPath.string() << " holds none of the report's sections ("
            << ReportSectionList() << ")\n";
        return kExitFailure;
    }

    // As the station change does: the zone first (a bad zone index ends it), then the code.
    const std::string& entry = *options.station;
    ForecastState state;
    state.stationTimeZone = StationZone(entry, *config);
    const std::string stationCode = ParseStationEntry(entry).code;
    CheckStationCodeUnique(config->SectionEntries("STATIONS"), stationCode);

    std::string body;
    if (!ReadBulletin(*options.bulletin, in, body, err))
        return kExitFailure;

    const TimeTextContext time{options.timeType, state.stationTimeZone, SystemFormatSettings()};
    const TDateTime today = options.today ? *options.today : SystemClock().Today();
    state.bulletinLines = BulletinLinesOf(body, BulletinTag(*config));
    const BulletinVerdict verdict = AcceptBulletin(state.bulletinLines, stationCode, today, time.settings.TimeSeparator);
    if (!verdict.accepted) {
        WriteMessage(err, verdict.refusal.empty() ? std::string(kNoCalendarDate) : verdict.refusal);
        return kExitFailure;
    }
    state.forecastBaseTime = *verdict.baseTime;
    state.forecast = verdict.forecast;

    // Everything is composed before anything is written, so that a failure (a value of the
    // bulletin that is no number, say) leaves no file behind.
    const std::string station = StationDisplayText(entry);
    const ReportInputs inputs{state.forecast, state.forecastBaseTime, options.step, options.unit,
                              station, *config, time};
    // The document exactly as the report view is given it (its raw control bytes escaped),
    // its text a paragraph a line, or an HTML page.
    const std::string output =
        options.labels
            ? ReplaceControlCharacters(LabelsText(ComputeTimeLabelCaptions(state.forecastBaseTime, station, time, 0)))
            : ReportDocumentBytes(options.format, ComposeReportText(inputs));
    std::string png;
    if (options.graph)
        png = graphWriter(BuildForecastGraphModel(inputs));

    // "--graph -": the picture on standard output, in place of the report.
    if (options.graph && options.graph->native() == "-")
        return WriteStandardOutput(out, png, err) ? kExitReportWritten : kExitFailure;

    // The graph's file is put in place only once the report is out: a report that cannot be
    // written leaves an earlier file as it was, and a FIFO or device receives nothing. The
    // output is opened first, so that a folder or a file that cannot be made is found before
    // the report goes out.
    std::optional<OutputFile> graphFile;
    if (options.graph) {
        graphFile.emplace(*options.graph);
        if (!graphFile->Direct())
            graphFile->Write(png);
    }
    if (!WriteStandardOutput(out, output, err))
        return kExitFailure;
    if (graphFile) {
        if (graphFile->Direct())
            graphFile->Write(png);
        graphFile->Commit();
    }
    return kExitReportWritten;
}

}  // namespace

std::string ReportCommandUsage()
{
    return R"(Usage: skelmar-report [--config FILE] --station ENTRY [--step N] [--time zulu|local]
                      [--unit f|c] [--today YYYY-MM-DD] [--format text|rtf|html] [--labels]
                      [--graph FILE.png|-] BULLETIN_FILE|-

Writes the Extended Aviation Weather Report of a downloaded bulletin, as the Skelmar window
would show it, to standard output. BULLETIN_FILE is the bulletin text as downloaded (the web
page that carries it, when the configuration names its tag); "-" reads standard input.

Options:
  --config FILE       the configuration file (default: $XDG_CONFIG_HOME/skelmar/Skelmar.ini
                      when it exists, else the Skelmar.ini shipped with the program)
  --station ENTRY     the station as the [STATIONS] list holds it, e.g. "Boston, MA (BOS)=5";
                      its code must match the bulletin's header
  --step N            the instant described, 3 x N hours after the issue; 2 to 20 (default 2)
  --time zulu|local   times in Zulu or in the station's local time (default zulu)
  --unit f|c          temperatures in Fahrenheit or Celsius (default f)
  --today YYYY-MM-DD  the local date that the bulletin's date is checked against: a
                      bulletin of that day or the next is accepted (default: the clock)
  --format text|rtf|html
                      text: the report as UTF-8 text, a paragraph a line (default);
                      rtf: the RTF document (code page 1252) exactly, no line break added;
                      html: the report as an HTML page (UTF-8)
  --labels            instead of the report, the ten time-scale captions, the forecast
                      caption and the picture's caption, one a line
  --graph FILE.png    also draw the forecast graph, as the window's "Graphic Report" page
                      shows it, into FILE.png (640 x 512); needs no display; "-" writes
                      the PNG to standard output in place of the report
  -h, --help          show this help and exit
  --version           show the version and exit

A run that fails writes no file. A regular file is replaced whole or not at all (a link
to one stays a link); a FIFO or device is written into, never replaced; a folder is refused.

Exit status: 0 written; 1 the bulletin was refused or an error occurred (the message on
standard error); 2 bad arguments.
)";
}

int RunReportCommand(const std::vector<std::string>& args, const fs::path& programDir, std::istream& in,
                     std::ostream& out, std::ostream& err, const GraphWriter& graphWriter)
{
    const std::variant<Options, UsageProblem> parsed = ParseOptions(args);
    if (const auto* problem = std::get_if<UsageProblem>(&parsed)) {
        err << kProgramName << ": " << problem->text << "\n\n" << ReportCommandUsage();
        return kExitUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help)
        return WriteStandardOutput(out, ReportCommandUsage(), err) ? kExitReportWritten : kExitFailure;
    if (options.version) {
        const std::string version = std::string(kProgramName) + ' ' + std::string(kSkelmarVersion) + '\n';
        return WriteStandardOutput(out, version, err) ? kExitReportWritten : kExitFailure;
    }
    if (options.graph && !graphWriter) {
        err << kProgramName << ": this build draws no graph (--graph)\n\n" << ReportCommandUsage();
        return kExitUsage;
    }
    try {
        return MakeReport(options, programDir, in, out, err, graphWriter);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        WriteMessage(err, GeneralErrorText(error.what()));
        return kExitFailure;
    }
}

}  // namespace skelmar
