#include "cli/ReportCommand.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastReaders.h"
#include "report/ForecastGraphModel.h"
#include "report/ReportComposer.h"
#include "retrieval/BulletinText.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/RetrievalSequence.h"
#include "config/StationEntry.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"
#include "text/StringRoutines.h"
#include "time/RegistryTimeZones.h"

namespace skelmar {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = SKELMAR_FIXTURES;
const std::string kBoston = kFixtures + "/bulletins/ngm_bos_winter.txt";
const std::string kPhoenix = kFixtures + "/bulletins/ngm_phx_summer.txt";
const std::string kConfig = kFixtures + "/config/report.ini";  // no tag: bare bulletins
const std::string kBostonEntry = "Boston, MA (BOS)=5";

using test::ReadFile;
using test::WriteFile;

// The Boston bulletin with its header line replaced.
std::string BostonWithHeader(std::string_view header)
{
    const std::string bulletin = ReadFile(kBoston);
    return std::string(header) + bulletin.substr(bulletin.find("\r\n"));
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The command in-process; `input` is its standard input, `programDir` where it looks for
// Skelmar.ini (by default a folder without one).
Outcome RunCommand(const std::vector<std::string>& args, const std::string& input = "",
            const fs::path& programDir = kFixtures + "/bulletins", const GraphWriter& graphWriter = {})
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunReportCommand(args, programDir, in, out, err, graphWriter);
    return {status, out.str(), err.str()};
}

// The Boston bulletin of 9 December 2026 12:00 UTC, on that day, with the fixture texts.
std::vector<std::string> BostonArgs(std::vector<std::string> extra = {})
{
    std::vector<std::string> args = {"--config", kConfig, "--station", kBostonEntry, "--today", "2026-12-09"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(kBoston);
    return args;
}

// The same, the bulletin read from standard input.
std::vector<std::string> BostonArgsFromInput()
{
    std::vector<std::string> args = BostonArgs();
    args.back() = "-";
    return args;
}

TEST(ReportCommand, TextReportAtStepsUnitsAndTimeTypes)
{
    struct Expectation {
        int line;
        std::vector<std::string> options;
        std::string text;
    };
    const Expectation kExpect[] = {
        // The defaults: step 2 (18Z, the first cell), Fahrenheit, Zulu; one period section.
        {__LINE__, {},
         "Report for Boston, MA (BOS), at December 9, 2026 1800 Zulu\n"
         "Temperature 31\u00B0 F. Dew point 20\u00B0 F. Sky overcast with a ceiling of 500 to 900 feet. "
         "Wind 20 degrees 12 kt. \n"
         "\n"
         "Between 12/9/26 1800 Zulu and 12/10/26 0000 Zulu: Precipitation 80 percent. \n"},
        // Step 8 (12Z next day, cell 7) in Celsius and Eastern standard time: both periods.
        {__LINE__, {"--step", "8", "--unit", "c", "--time", "local"},
         "Report for Boston, MA (BOS), at December 10, 2026 7:00 am local\n"
         "Temperature -7\u00B0 C. Dew point -12\u00B0 C. Sky clear with no ceiling below 12,000 feet. "
         "Wind 330 degrees 8 kt. \n"
         "\n"
         "Between 12/10/26 1:00 am local and 12/10/26 7:00 am local: Precipitation 70 percent. \n"
         "\n"
         "Between 12/9/26 7:00 pm local and 12/10/26 7:00 am local: Precipitation 95 percent. \n"},
        // The same instant in the "=value" spelling of the options, and in the default format.
        {__LINE__, {"--step=8", "--unit=f", "--format=text"},
         "Report for Boston, MA (BOS), at December 10, 2026 1200 Zulu\n"
         "Temperature 20\u00B0 F. Dew point 10\u00B0 F. Sky clear with no ceiling below 12,000 feet. "
         "Wind 330 degrees 8 kt. \n"
         "\n"
         "Between 12/10/26 0600 Zulu and 12/10/26 1200 Zulu: Precipitation 70 percent. \n"
         "\n"
         "Between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu: Precipitation 95 percent. \n"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const Outcome outcome = RunCommand(BostonArgs(e.options));
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.status, kExitReportWritten);
        EXPECT_EQ(outcome.out, e.text);
    }
}

TEST(ReportCommand, RtfIsTheComposedDocumentByteForByte)
{
    const Outcome outcome = RunCommand(BostonArgs({"--format", "rtf", "--step", "5", "--unit", "c", "--time", "local"}));
    ASSERT_EQ(outcome.status, kExitReportWritten) << outcome.err;

    // What the window composes from the same bulletin, station and selections.
    BulletinLines lines = SplitBulletinText(ReadFile(kBoston));
    NormaliseBulletinTable(lines);
    const std::unique_ptr<ConfigFile> config = ConfigFile::Open(kConfig);
    ASSERT_NE(config, nullptr);
    const TVeskRegistryTimeZones zones;
    const TVeskRegistryTimeZone* eastern = zones.FindByKeyName("Eastern Standard Time");
    ASSERT_NE(eastern, nullptr) << "the pinned zone database lacks America/New_York";
    TimeTextContext time;
    time.timeType = TimeType::Local;
    time.zone = eastern->TimeZone();
    const ForecastModel forecast = ReadNgmTable(lines);
    const std::string station = StationDisplayText(kBostonEntry);
    const ReportInputs inputs{forecast, EncodeDate(2026, 12, 9) + 0.5, 5, TemperatureUnit::Celsius,
                              station, *config, time};
    EXPECT_EQ(outcome.out, ComposeReportText(inputs));

    // Code page 1252 as composed (the degree sign one byte), nothing added after the "}".
    EXPECT_TRUE(outcome.out.starts_with(kReportPrologue));
    EXPECT_NE(outcome.out.find("Temperature -3\xB0 C."), std::string::npos);
    EXPECT_TRUE(outcome.out.ends_with("percent. }"));
}

TEST(ReportCommand, HtmlIsTheComposedDocumentAsAPage)
{
    const std::vector<std::string> selections = {"--step", "9", "--unit", "c"};
    std::vector<std::string> html = selections;
    html.insert(html.end(), {"--format", "html"});
    std::vector<std::string> rtf = selections;
    rtf.insert(rtf.end(), {"--format", "rtf"});
    const Outcome outcome = RunCommand(BostonArgs(html));
    ASSERT_EQ(outcome.status, kExitReportWritten) << outcome.err;
    EXPECT_EQ(outcome.out, HtmlText(ReadRtf(RunCommand(BostonArgs(rtf)).out)));
    EXPECT_NE(outcome.out.find("<title>Report for Boston, MA (BOS), at December 10, 2026 1500 Zulu</title>"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("Temperature -4\xC2\xB0 C."), std::string::npos);  // UTF-8 on the page
}

TEST(ReportCommand, GraphOfTheSameInputsBesideTheReport)
{
    test::TemporaryFolder folder;
    const fs::path png = folder.Path() / "g.png";
    std::vector<int> drawn;  // the selected hour's index
    std::optional<long> firstTemperature;
    const GraphWriter recorder = [&](const ForecastGraphModel& model) {
        drawn.push_back(model.selectedIndex);
        firstTemperature = model.series.temperature[0];
        return std::string("PNG of hour ") + std::to_string(model.selectedIndex);
    };
    const Outcome outcome =
        RunCommand(BostonArgs({"--graph", png.string(), "--step", "7", "--unit", "c"}), "", kFixtures, recorder);
    ASSERT_EQ(outcome.status, kExitReportWritten) << outcome.err;
    EXPECT_EQ(drawn, std::vector<int>{5});
    EXPECT_EQ(firstTemperature, -1);  // 31 F in Celsius
    EXPECT_EQ(ReadFile(png), "PNG of hour 5");
    EXPECT_EQ(outcome.out, RunCommand(BostonArgs({"--step", "7", "--unit", "c"})).out);

    // "-": the picture on standard output, in place of the report.
    const Outcome toOutput = RunCommand(BostonArgs({"--graph", "-", "--step", "7"}), "", kFixtures, recorder);
    EXPECT_EQ(toOutput.status, kExitReportWritten) << toOutput.err;
    EXPECT_EQ(toOutput.out, "PNG of hour 5");

    // A graph that cannot be drawn or written: the error, no report, no file.
    const GraphWriter failing = [](const ForecastGraphModel&) -> std::string { throw Error("Cannot draw the graph"); };
    const fs::path other = folder.Path() / "other.png";
    const Outcome failed = RunCommand(BostonArgs({"--graph", other.string()}), "", kFixtures, failing);
    EXPECT_EQ(failed.status, kExitFailure);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "Cannot draw the graph.\n");
    const fs::path nowhere = folder.Path() / "nowhere" / "g.png";
    const Outcome unwritable = RunCommand(BostonArgs({"--graph", nowhere.string()}), "", kFixtures, recorder);
    EXPECT_EQ(unwritable.status, kExitFailure);
    EXPECT_EQ(unwritable.out, "");
    EXPECT_EQ(unwritable.err, "Cannot create file " + nowhere.string() + ": No such file or directory.\n");
    const Outcome folderGraph = RunCommand(BostonArgs({"--graph", folder.Path().string()}), "", kFixtures, recorder);
    EXPECT_EQ(folderGraph.status, kExitFailure);
    EXPECT_EQ(folderGraph.err, "Cannot create file " + folder.Path().string() + ": it is a folder.\n");
    EXPECT_EQ(test::Names(folder.Path()), std::set<std::string>{"g.png"});

    // A refused bulletin draws nothing.
    drawn.clear();
    const Outcome refused = RunCommand({"--config", kConfig, "--station", kBostonEntry, "--today", "2026-12-11",
                                        "--graph", png.string(), kBoston},
                                       "", kFixtures, recorder);
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_TRUE(drawn.empty());
}

TEST(ReportCommand, LabelsInZuluAndLocal)
{
    struct Expectation {
        int line;
        std::vector<std::string> args;
        std::string labels;
    };
    const Expectation kExpect[] = {
        {__LINE__, BostonArgs({"--labels"}),
         "12/9/26 1800\n12/10/26 0000\n0600\n1200\n1800\n12/11/26 0000\n0600\n1200\n1800\n12/12/26 0000\n"
         "Forecast: December 9, 2026 1200 Zulu, Boston, MA (BOS) station.\n"
         "Time of forecast: 12/9/26 1200 Zulu for Boston, MA (BOS).   \n"},
        // Eastern standard time (UTC - 5) from the zone database; the dated label has "hh".
        {__LINE__, BostonArgs({"--labels", "--time", "local"}),
         "12/9/26 01:00 pm\n7:00 pm\n12/10/26 01:00 am\n7:00 am\n1:00 pm\n7:00 pm\n12/11/26 01:00 am\n"
         "7:00 am\n1:00 pm\n7:00 pm\n"
         "Forecast: December 9, 2026 7:00 am local, Boston, MA (BOS) station.\n"
         "Time of forecast: 12/9/26 7:00 am local for Boston, MA (BOS).   \n"},
        // --labels wins over --format; the step plays no part in the time scale.
        {__LINE__, BostonArgs({"--format", "rtf", "--labels", "--step", "20"}),
         "12/9/26 1800\n12/10/26 0000\n0600\n1200\n1800\n12/11/26 0000\n0600\n1200\n1800\n12/12/26 0000\n"
         "Forecast: December 9, 2026 1200 Zulu, Boston, MA (BOS) station.\n"
         "Time of forecast: 12/9/26 1200 Zulu for Boston, MA (BOS).   \n"},
        // Phoenix's [TIMEZONES] zone keeps standard time (UTC - 7) in July: 06Z is 11 pm the
        // day before, where Mountain daylight time would say midnight.
        {__LINE__,
         {"--config", kConfig, "--station", "Phoenix, AZ (PHX)=7", "--today", "2026-07-14", "--labels", "--time",
          "local", kPhoenix},
         "7/13/26 11:00 pm\n7/14/26 05:00 am\n11:00 am\n5:00 pm\n11:00 pm\n7/15/26 05:00 am\n11:00 am\n"
         "5:00 pm\n11:00 pm\n7/16/26 05:00 am\n"
         "Forecast: July 13, 2026 5:00 pm local, Phoenix, AZ (PHX) station.\n"
         "Time of forecast: 7/13/26 5:00 pm local for Phoenix, AZ (PHX).   \n"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const Outcome outcome = RunCommand(e.args);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.status, kExitReportWritten);
        EXPECT_EQ(outcome.out, e.labels);
    }
}

TEST(ReportCommand, BulletinDatedTheNextDayIsAccepted)
{
    std::vector<std::string> args = BostonArgs();
    args[5] = "2026-12-08";  // the bulletin's date is tomorrow's
    const Outcome outcome = RunCommand(args);
    EXPECT_EQ(outcome.status, kExitReportWritten) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("Report for Boston, MA (BOS), at December 9, 2026 1800 Zulu\n"));
}

TEST(ReportCommand, TaggedPageFromStandardInput)
{
    test::TemporaryFolder folder;
    std::string tagged = ReadFile(kConfig);
    ASSERT_EQ(ReplaceAll(tagged, "C_FOUS_TEXT_HTML=", "C_FOUS_TEXT_HTML=PRE"), 1);
    const fs::path taggedConfig = folder.Path() / "tagged.ini";
    WriteFile(taggedConfig, tagged);
    const std::string page = "<html>\n<body>\n<h1>MOS</h1>\n  <PRE> \n" + ReadFile(kBoston) +
                             "</PRE>\n<PRE>\nsecond section\n</PRE>\n</body>\n</html>\n";
    const std::vector<std::string> args = {"--config", taggedConfig.string(), "--station", kBostonEntry,
                                           "--today", "2026-12-09", "-"};

    const Outcome fromPage = RunCommand(args, page);
    EXPECT_EQ(fromPage.err, "");
    EXPECT_EQ(fromPage.status, kExitReportWritten);
    EXPECT_EQ(fromPage.out, RunCommand(BostonArgs()).out);

    // With the tag configured, a bare bulletin has no tagged section: nothing is left of it.
    const Outcome bare = RunCommand(args, ReadFile(kBoston));
    EXPECT_EQ(bare.status, kExitFailure);
    EXPECT_EQ(bare.err, "Corrupted Weather Text Data file was retrieved from the Internet.\nReporting is not valid.\n");
}

TEST(ReportCommand, DefaultConfigurationLiesBesideTheProgram)
{
    test::TemporaryFolder programDir;
    fs::copy_file(kConfig, programDir.Path() / "Skelmar.ini");
    const Outcome outcome =
        RunCommand({"--station", kBostonEntry, "--today", "2026-12-09", kBoston}, "", programDir.Path());
    EXPECT_EQ(outcome.status, kExitReportWritten) << outcome.err;
    EXPECT_EQ(outcome.out, RunCommand(BostonArgs()).out);
}

TEST(ReportCommand, UsersOwnConfigurationComesBeforeTheShippedOne)
{
    test::TemporaryFolder folder;
    const fs::path programDir = folder.Path() / "bin";  // holds no Skelmar.ini
    fs::create_directories(programDir);
    fs::create_directories(folder.Path() / "config" / "skelmar");
    fs::copy_file(kConfig, folder.Path() / "config" / "skelmar" / "Skelmar.ini");
    const std::vector<std::string> args = {"--station", kBostonEntry, "--today", "2026-12-09", kBoston};

    const Outcome shipped = RunCommand(args, "", programDir);
    EXPECT_EQ(shipped.err, "Cannot open file " + (programDir / "Skelmar.ini").string() + "\n");

    test::ScopedEnvironment xdgVariable("XDG_CONFIG_HOME", (folder.Path() / "config").string());
    const Outcome users = RunCommand(args, "", programDir);
    EXPECT_EQ(users.status, kExitReportWritten) << users.err;
    EXPECT_EQ(users.out, RunCommand(BostonArgs()).out);

    // --config still names the file to read.
    std::vector<std::string> named = {"--config", (folder.Path() / "other.ini").string()};
    named.insert(named.end(), args.begin(), args.end());
    EXPECT_EQ(RunCommand(named, "", programDir).err, "Cannot open file " + (folder.Path() / "other.ini").string() + "\n");
}

TEST(ReportCommand, StationTextFromAUtf8Terminal)
{
    const std::vector<std::string> args = {"--config", kConfig, "--station", "B\u00F4ston (BOS)=5", "--today",
                                           "2026-12-09"};
    std::vector<std::string> text = args;
    text.push_back(kBoston);
    EXPECT_TRUE(RunCommand(text).out.starts_with("Report for B\u00F4ston (BOS), at "));
    std::vector<std::string> rtf = args;
    rtf.insert(rtf.end(), {"--format", "rtf", kBoston});
    EXPECT_NE(RunCommand(rtf).out.find("Report for B\xF4ston (BOS), at "), std::string::npos);
}

TEST(ReportCommand, ErrorCases)
{
    const std::string kCorrupted =
        "Corrupted Weather Text Data file was retrieved from the Internet.\nReporting is not valid.\n";
    const std::string kDate =
        "The Weather Text Data file does not match this computer's system date\n"
        "or this computer's date format is not recognizable.\n"
        "Reporting is not valid, correct your clock, or retrieve correct file later.\n";
    struct Expectation {
        int line;
        std::vector<std::string> args;
        std::string input;  // standard input
        std::string err;
    };
    const std::vector<std::string> kFromInput = BostonArgsFromInput();
    const Expectation kExpect[] = {
        // The retrieval sequence's refusals, with the box's text.
        {__LINE__, {"--config", kConfig, "--station", kBostonEntry, "--today", "2026-12-11", kBoston}, "", kDate},
        {__LINE__, {"--config", kConfig, "--station", kBostonEntry, "--today", "2026-12-10", kBoston}, "", kDate},
        {__LINE__, {"--config", kConfig, "--station", "Denver, CO (DEN)=7", "--today", "2026-12-09", kBoston}, "",
         kCorrupted},
        {__LINE__, kFromInput, BostonWithHeader(" bos   EC NGM MOS GUIDANCE   12/9/26  1200 UTC"), kCorrupted},
        {__LINE__, kFromInput, BostonWithHeader(" BOS   EC NGM MOS GUIDANCE   12/9/26"), kCorrupted},
        {__LINE__, kFromInput, "", kCorrupted},
        // The window says nothing about an impossible date; the command must.
        {__LINE__, kFromInput, BostonWithHeader(" BOS   EC NGM MOS GUIDANCE   2/30/26  1200 UTC"),
         "The bulletin's date is not a calendar date.\n"},
        // The general error box's texts, with its full stop.
        {__LINE__, {"--config", kConfig, "--station", "Boston, MA (BOS)=x", kBoston}, "",
         "'x' is not a valid integer value.\n"},
        {__LINE__, {"--config", kConfig, "--station", "Boston, MA (BOS)", kBoston}, "",
         "'' is not a valid integer value.\n"},
        // A station without a clock or a code is refused, never reported in UTC.
        {__LINE__, {"--config", kConfig, "--station", "Boston, MA (BOS)=9", kBoston}, "",
         "The station \"Boston, MA (BOS)\" has no time zone: its zone index 9 is none of 5 to 8, and [TIMEZONES] "
         "in Skelmar.ini names no zone for it.\n"},
        {__LINE__, {"--config", kConfig, "--station", "Boston, MA=5", kBoston}, "",
         "The station \"Boston, MA\" has no station code in parentheses: that takes 3 or 4 capital letters or "
         "digits.\n"},
        {__LINE__, kFromInput, BostonWithHeader(" BOS   EC NGM MOS GUIDANCE   12/9/26  12ab UTC"),
         "'12:ab' is not a valid time.\n"},
        // A control character from the bulletin does not reach the terminal.
        {__LINE__, kFromInput, BostonWithHeader(" BOS   EC NGM MOS GUIDANCE   12/\x1B[2J/26  1200 UTC"),
         "'?[2J' is not a valid integer value.\n"},
        // Files that cannot be read.
        {__LINE__, {"--config", kConfig, "--station", kBostonEntry, "/nonexistent/bulletin.txt"}, "",
         "Cannot open file /nonexistent/bulletin.txt\n"},
        {__LINE__, {"--config", kConfig, "--station", kBostonEntry, kFixtures}, "",
         "Cannot open file " + kFixtures + "\n"},
        {__LINE__, {"--config", "/nonexistent/Skelmar.ini", "--station", kBostonEntry, kBoston}, "",
         "Cannot open file /nonexistent/Skelmar.ini\n"},
        // The default configuration is looked for beside the program only.
        {__LINE__, {"--station", kBostonEntry, kBoston}, "",
         "Cannot open file " + kFixtures + "/bulletins/Skelmar.ini\n"},
        // A configuration without any of the report's sections: none of its texts.
        {__LINE__, {"--config", kFixtures + "/bulletins/ngm_bos_winter.txt", "--station", kBostonEntry, kBoston}, "",
         "The configuration file " + kFixtures +
             "/bulletins/ngm_bos_winter.txt holds none of the report's sections ([GENERAL], [TEMP], [CLDS], [CIG], "
             "[VIS], [OBVIS], [WIND], [PROBABILITIES], [QPF], [PTYPE])\n"},
        // After "--" a name that starts with "-" is a file.
        {__LINE__, {"--config", kConfig, "--station", kBostonEntry, "--", "-x"}, "", "Cannot open file -x\n"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const Outcome outcome = RunCommand(e.args, e.input);
        EXPECT_EQ(outcome.status, kExitFailure);
        EXPECT_EQ(outcome.err, e.err);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(ReportCommand, EdgeCases)
{
    // No bulletin is larger than the text download accepts; endless input is not read whole.
    const std::string huge(16 * 1024 * 1024 + 1, ' ');
    const Outcome outcome = RunCommand({"--config", kConfig, "--station", kBostonEntry, "-"}, huge);
    EXPECT_EQ(outcome.status, kExitFailure);
    EXPECT_EQ(outcome.err, "Bulletin too large (more than 16 MiB): standard input\n");

    // A body with lone CR line ends and a NUL after the table is taken as the download takes it.
    std::string crOnly = ReadFile(kBoston);
    ReplaceAll(crOnly, "\r\n", "\r");
    crOnly += std::string("\0garbage\n", 9);
    EXPECT_EQ(RunCommand(BostonArgsFromInput(), crOnly).out, RunCommand(BostonArgs()).out);
}

TEST(ReportCommand, BadArgumentsGiveTheUsage)
{
    struct Expectation {
        int line;
        std::vector<std::string> args;
        std::string problem;  // the first line on standard error
    };
    const Expectation kExpect[] = {
        {__LINE__, {}, "no station given (--station)"},
        {__LINE__, {kBoston}, "no station given (--station)"},
        {__LINE__, {"--station", kBostonEntry}, "no bulletin file given"},
        {__LINE__, {"--station", kBostonEntry, kBoston, kBoston}, "more than one bulletin file given"},
        {__LINE__, {"--station", kBostonEntry, "--verbose", kBoston}, "unknown option '--verbose'"},
        {__LINE__, {"--station", kBostonEntry, "-s", kBoston}, "unknown option '-s'"},
        {__LINE__, {kBoston, "--station"}, "option --station needs a value"},
        {__LINE__, {"--station", kBostonEntry, "--labels=yes", kBoston}, "option --labels takes no value"},
        {__LINE__, {"--station", kBostonEntry, "--step", "1", kBoston}, "invalid value '1' for --step"},
        {__LINE__, {"--station", kBostonEntry, "--step", "21", kBoston}, "invalid value '21' for --step"},
        {__LINE__, {"--station", kBostonEntry, "--step", "+5", kBoston}, "invalid value '+5' for --step"},
        {__LINE__, {"--station", kBostonEntry, "--step=", kBoston}, "invalid value '' for --step"},
        {__LINE__, {"--station", kBostonEntry, "--time", "utc", kBoston}, "invalid value 'utc' for --time"},
        {__LINE__, {"--station", kBostonEntry, "--unit", "F", kBoston}, "invalid value 'F' for --unit"},
        {__LINE__, {"--station", kBostonEntry, "--format", "pdf", kBoston}, "invalid value 'pdf' for --format"},
        {__LINE__, {"--station", kBostonEntry, "--graph=", kBoston}, "invalid value '' for --graph"},
        {__LINE__, {"--station", kBostonEntry, "--graph", "g.png", kBoston}, "this build draws no graph (--graph)"},
        {__LINE__, {"--station", kBostonEntry, "--config=", kBoston}, "invalid value '' for --config"},
        {__LINE__, {"--station", kBostonEntry, "--today", "2026-02-29", kBoston},
         "invalid value '2026-02-29' for --today"},
        {__LINE__, {"--station", kBostonEntry, "--today", "2026-12-9", kBoston},
         "invalid value '2026-12-9' for --today"},
        {__LINE__, {"--station", kBostonEntry, "--today", "12/09/2026", kBoston},
         "invalid value '12/09/2026' for --today"},
        {__LINE__, {"--station", kBostonEntry, "--today", "0000-01-01", kBoston},
         "invalid value '0000-01-01' for --today"},
    };
    const std::string usage = ReportCommandUsage();
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const Outcome outcome = RunCommand(e.args);
        EXPECT_EQ(outcome.status, kExitUsage);
        EXPECT_EQ(outcome.err, "skelmar-report: " + e.problem + "\n\n" + usage);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(ReportCommand, StandardOutputThatFailsIsAnError)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, BostonArgs()}) {
        std::istringstream in;
        std::ostringstream out;
        out.setstate(std::ios::badbit);
        std::ostringstream err;
        EXPECT_EQ(RunReportCommand(args, kFixtures, in, out, err), kExitFailure);
        EXPECT_EQ(err.str(), "Cannot write to standard output\n");
    }
}

TEST(ReportCommand, HelpGoesToStandardOutput)
{
    for (const std::string help : {"--help", "-h"}) {
        SCOPED_TRACE(help);
        const Outcome outcome = RunCommand({help});
        EXPECT_EQ(outcome.status, kExitReportWritten);
        EXPECT_EQ(outcome.out, ReportCommandUsage());
        EXPECT_EQ(outcome.err, "");
    }
    EXPECT_TRUE(ReportCommandUsage().starts_with("Usage: skelmar-report [--config FILE] --station ENTRY"));
}

TEST(ReportCommand, VersionIsTheProjects)
{
    // The number set in CMake's project(), whatever other arguments follow.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"--version", "--station", kBostonEntry, kBoston}}) {
        const Outcome outcome = RunCommand(args);
        EXPECT_EQ(outcome.status, kExitReportWritten);
        EXPECT_EQ(outcome.out, "skelmar-report " SKELMAR_PROJECT_VERSION "\n");
        EXPECT_EQ(outcome.err, "");
    }
    EXPECT_NE(ReportCommandUsage().find("--version"), std::string::npos);
}

// The built program, run by the shell: its exit statuses and the bytes of its output.
struct ProgramOutcome {
    int status;
    std::string out;
};

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ProgramOutcome RunProgram(const std::vector<std::string>& args, const fs::path& errFile)
{
    std::string command = Quoted(SKELMAR_REPORT_EXE);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " 2>" + Quoted(errFile.string()) + " </dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, ""};
    std::string out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        out.append(chunk, n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(ReportProgram, ExitStatusesAndOutputBytes)
{
    test::TemporaryFolder folder;
    const fs::path errFile = folder.Path() / "stderr.txt";

    const ProgramOutcome rtf = RunProgram(BostonArgs({"--format", "rtf", "--step", "12"}), errFile);
    EXPECT_EQ(rtf.status, 0);
    EXPECT_EQ(rtf.out, RunCommand(BostonArgs({"--format", "rtf", "--step", "12"})).out);
    EXPECT_EQ(ReadFile(errFile), "");

    const ProgramOutcome refused =
        RunProgram({"--config", kConfig, "--station", kBostonEntry, "--today", "2026-12-11", kBoston}, errFile);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_TRUE(ReadFile(errFile).starts_with("The Weather Text Data file does not match"));

    const ProgramOutcome bad = RunProgram({"--station", kBostonEntry, "--unit", "k", kBoston}, errFile);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_TRUE(ReadFile(errFile).starts_with("skelmar-report: invalid value 'k' for --unit\n"));
}

TEST(ReportProgram, ShippedConfigurationBesideTheProgramReadsTheDownloadedPage)
{
    // The shipped Skelmar.ini names the tag "PRE": the program takes the page as downloaded.
    test::TemporaryFolder folder;
    const fs::path page = folder.Path() / "page.html";
    WriteFile(page, "<html><body>\n<PRE>\n" + ReadFile(kBoston) + "</PRE>\n</body></html>\n");
    const ProgramOutcome outcome =
        RunProgram({"--station", kBostonEntry, "--today", "2026-12-09", page.string()}, folder.Path() / "err");
    EXPECT_EQ(outcome.status, 0) << ReadFile(folder.Path() / "err");
    EXPECT_TRUE(outcome.out.starts_with(
        "Extended Aviation Weather Report for Boston, MA (BOS), at December 9, 2026 1800 Zulu\n"
        "The temperature will be 31\u00B0 F."))
        << outcome.out;
}

// The built program with its standard streams set up here: `in` and `out` become its
// standard input and output (-1: closed), standard error goes to `errFile`. The exit status,
// or -1 when it did not exit.
int SpawnProgram(const std::vector<std::string>& args, int in, int out, const fs::path& errFile)
{
    std::vector<std::string> argv = {SKELMAR_REPORT_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [fd, target] : {std::pair{in, 0}, std::pair{out, 1}}) {
        if (fd < 0)
            posix_spawn_file_actions_addclose(&actions, target);
        else
            posix_spawn_file_actions_adddup2(&actions, fd, target);
    }
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A descriptor, closed when it goes.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The Boston bulletin with the cell of `row` at `column` (of its line) replaced by `bytes`.
std::string BostonWithCell(std::string_view row, std::size_t column, std::string_view bytes)
{
    std::string bulletin = ReadFile(kBoston);
    const std::size_t line = bulletin.find("\r\n" + std::string(row) + " ") + 2;
    bulletin.replace(line + column, bytes.size(), bytes);
    return bulletin;
}

// A FIFO or a device named as the graph's file is written into and stays what it is.
#ifdef SKELMAR_REPORT_DRAWS_GRAPH
TEST(ReportProgram, GraphIntoAFifoOrDeviceLeavesItAsItIs)
{
    test::TemporaryFolder folder;
    const fs::path fifo = folder.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The reader is there before the program: the picture (about 32 KiB) fits the pipe.
    const Fd reader{::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    ASSERT_GE(reader.fd, 0);
    const ProgramOutcome outcome = RunProgram(BostonArgs({"--graph", fifo.string()}), folder.Path() / "err");
    EXPECT_EQ(outcome.status, 0) << ReadFile(folder.Path() / "err");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    std::string received;
    char chunk[4096];
    for (ssize_t n; (n = ::read(reader.fd, chunk, sizeof chunk)) > 0;)
        received.append(chunk, static_cast<std::size_t>(n));
    EXPECT_TRUE(received.starts_with("\x89PNG\r\n\x1a\n")) << received.size();
    EXPECT_EQ(outcome.out, RunCommand(BostonArgs()).out);

    // A device with the numbers of /dev/null, made in the test's own folder.
    if (::geteuid() != 0) {
        std::printf("[ SKIPPED  ] the device case: making a device needs root\n");
        return;
    }
    const fs::path device = folder.Path() / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
        std::printf("[ SKIPPED  ] the device case: mknod failed (%s)\n", std::strerror(errno));
        return;
    }
    const ProgramOutcome intoDevice = RunProgram(BostonArgs({"--graph", device.string()}), folder.Path() / "err");
    const std::string err = ReadFile(folder.Path() / "err");
    if (intoDevice.status == 1 && err.find("Permission denied") != std::string::npos) {
        std::printf("[ SKIPPED  ] the device case: the temporary folder's file system ignores devices\n");
        EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device)));
        return;
    }
    EXPECT_EQ(intoDevice.status, 0) << err;
    struct stat status {};
    ASSERT_EQ(::lstat(device.c_str(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_EQ(status.st_rdev, makedev(1, 3));
}
#endif

// A run that fails leaves no file behind, new or overwritten: not when the report cannot be
// composed, not when standard output cannot be written.
#ifdef SKELMAR_REPORT_DRAWS_GRAPH
TEST(ReportProgram, FailedRunWritesNoFile)
{
    test::TemporaryFolder folder;
    const fs::path bad = folder.Path() / "bad.txt";
    WriteFile(bad, BostonWithCell("WSPD", 7, "XX"));
    const fs::path png = folder.Path() / "g.png";
    const fs::path err = folder.Path() / "err";
    std::vector<std::string> args = BostonArgs({"--graph", png.string()});
    args.back() = bad.string();

    const ProgramOutcome fresh = RunProgram(args, err);
    EXPECT_EQ(fresh.status, 1);
    EXPECT_EQ(ReadFile(err), "'XX' is not a valid integer value.\n");
    EXPECT_FALSE(fs::exists(png));

    WriteFile(png, "an older graph");
    EXPECT_EQ(RunProgram(args, err).status, 1);
    EXPECT_TRUE(ReadFile(png) == "an older graph") << "the older graph was replaced";

    // Standard output on a full device (written to only, never created or replaced).
    const Fd full{::open("/dev/full", O_WRONLY | O_CLOEXEC)};
    ASSERT_GE(full.fd, 0);
    EXPECT_EQ(SpawnProgram(BostonArgs({"--graph", png.string()}), -1, full.fd, err), 1);
    EXPECT_EQ(ReadFile(err), "Cannot write to standard output: No space left on device\n");
    EXPECT_TRUE(ReadFile(png) == "an older graph") << "the older graph was replaced";
    EXPECT_EQ(test::Names(folder.Path()), (std::set<std::string>{"bad.txt", "err", "g.png"}));

    // A FIFO named for the graph receives nothing from a run whose report cannot be written.
    const fs::path fifo = folder.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Fd reader{::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    ASSERT_GE(reader.fd, 0);
    EXPECT_EQ(SpawnProgram(BostonArgs({"--graph", fifo.string()}), -1, full.fd, err), 1);
    char byte = 0;
    EXPECT_EQ(::read(reader.fd, &byte, 1), 0) << "the FIFO received the graph of a failed run";
}
#endif

// Control characters that a bulletin's cell carries reach no terminal and no file raw.
TEST(ReportProgram, ControlCharactersOfTheBulletinStayOut)
{
    test::TemporaryFolder folder;
    const fs::path bulletin = folder.Path() / "controls.txt";
    // Temperature "3" and the undefined byte 0x9D (U+009D in Unicode); dew point "2", ESC.
    std::string text = BostonWithCell("TEMP", 8, "\x9D");
    const std::size_t dewPoint = text.find("\r\nDEWPT ") + 2;
    text[dewPoint + 8] = '\x1B';
    WriteFile(bulletin, text);
    struct Expectation {
        int line;
        std::string format;
        std::string temperature;  // what the temperature reads as
    };
    const Expectation kExpect[] = {
        {__LINE__, "text", "Temperature 3?\xC2\xB0 F."},
        {__LINE__, "html", "Temperature 3&#xFFFD;\xC2\xB0 F."},
        {__LINE__, "rtf", "Temperature 3\\'9d\xB0 F."},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        std::vector<std::string> args = BostonArgs({"--format", e.format});
        args.back() = bulletin.string();
        const ProgramOutcome outcome = RunProgram(args, folder.Path() / "err");
        EXPECT_EQ(outcome.status, 0) << ReadFile(folder.Path() / "err");
        EXPECT_NE(outcome.out.find(e.temperature), std::string::npos) << outcome.out;
        for (std::size_t i = 0; i < outcome.out.size(); ++i) {
            const auto byte = static_cast<unsigned char>(outcome.out[i]);
            const bool c0 = byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t';
            const bool c1 = e.format == "rtf" ? (byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
                                                 byte == 0x90 || byte == 0x9D)
                                              : (byte == 0x7F || (byte == 0xC2 && i + 1 < outcome.out.size() &&
                                                                  (outcome.out[i + 1] & 0xE0) == 0x80));
            EXPECT_FALSE(c0 || c1) << "control byte " << int(byte) << " at " << i;
        }
    }
}

// Standard input that cannot be read, standard output that cannot be written and a
// configuration of another program each say so, with exit status 1.
TEST(ReportProgram, MessagesThatSayWhatWentWrong)
{
    test::TemporaryFolder folder;
    const fs::path err = folder.Path() / "err";
    const fs::path out = folder.Path() / "out";
    const Fd outFile{::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)};
    ASSERT_GE(outFile.fd, 0);
    const std::vector<std::string> fromInput = BostonArgsFromInput();

    // "- <&-" and "- < folder".
    EXPECT_EQ(SpawnProgram(fromInput, -1, outFile.fd, err), 1);
    EXPECT_EQ(ReadFile(err), "Cannot read standard input: Bad file descriptor\n");
    const Fd aFolder{::open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    EXPECT_EQ(SpawnProgram(fromInput, aFolder.fd, outFile.fd, err), 1);
    EXPECT_EQ(ReadFile(err), "Cannot read standard input: Is a directory\n");

    // --help into a pipe whose reader has gone, and into a full device.
    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
    ::close(pipeEnds[0]);
    const Fd writeEnd{pipeEnds[1]};
    EXPECT_EQ(SpawnProgram({"--help"}, -1, writeEnd.fd, err), 1);
    EXPECT_EQ(ReadFile(err), "Cannot write to standard output: Broken pipe\n");
    const Fd full{::open("/dev/full", O_WRONLY | O_CLOEXEC)};
    ASSERT_GE(full.fd, 0);
    EXPECT_EQ(SpawnProgram({"--help"}, -1, full.fd, err), 1);
    EXPECT_EQ(ReadFile(err), "Cannot write to standard output: No space left on device\n");

    // An empty configuration file, and one of another program.
    for (const std::string& content : {std::string(), std::string("[Settings]\r\nColour=blue\r\n")}) {
        SCOPED_TRACE(content);
        const fs::path config = folder.Path() / "other.ini";
        WriteFile(config, content);
        std::vector<std::string> args = BostonArgs();
        args[1] = config.string();
        EXPECT_EQ(SpawnProgram(args, -1, outFile.fd, err), 1);
        EXPECT_EQ(ReadFile(err), "The configuration file " + config.string() +
                                     " holds none of the report's sections ([GENERAL], [TEMP], [CLDS], [CIG], "
                                     "[VIS], [OBVIS], [WIND], [PROBABILITIES], [QPF], [PTYPE])\n");
    }
    EXPECT_EQ(ReadFile(out), "");
}

#ifdef SKELMAR_REPORT_DRAWS_GRAPH
TEST(ReportProgram, GraphWithoutADisplay)
{
    test::TemporaryFolder folder;
    const fs::path png = folder.Path() / "graph.png";
    // No display to be had: the program draws offscreen whatever the environment asks for.
    const test::ScopedEnvironment display("DISPLAY", std::nullopt);
    const test::ScopedEnvironment wayland("WAYLAND_DISPLAY", std::nullopt);
    const test::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    const ProgramOutcome outcome = RunProgram(BostonArgs({"--graph", png.string()}), folder.Path() / "err");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(ReadFile(folder.Path() / "err"), "");
    EXPECT_EQ(outcome.out, RunCommand(BostonArgs()).out);
    const std::string bytes = ReadFile(png);
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\x02\x80\0\0\x02\0", 8));  // 640 x 512

    // "--graph -": the same picture on standard output, and no report.
    const ProgramOutcome toOutput = RunProgram(BostonArgs({"--graph", "-"}), folder.Path() / "err");
    EXPECT_EQ(toOutput.status, 0) << ReadFile(folder.Path() / "err");
    EXPECT_TRUE(toOutput.out == bytes) << "standard output is not the PNG file's bytes";
}
#endif

}  // namespace
}  // namespace skelmar
