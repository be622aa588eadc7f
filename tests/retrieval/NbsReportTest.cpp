// From NOAA's whole-cycle NBM file on a server on 127.0.0.1 to the sentences of the report,
// with the shipped Skelmar.ini switched to the NBS source: the station's block found by
// ranges, checked, read into the model and composed. The expected sentences were checked
// by hand against the bulletins' columns.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "report/ForecastGraphModel.h"
#include "report/ReportComposer.h"
#include "report/ForecastState.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/HttpClient.h"
#include "retrieval/RetrievalSequence.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"

namespace skelmar {
namespace {

std::string ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(SKELMAR_FIXTURES) + "/nbs/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped configuration with C_TEXT_SOURCE=NBS and the cycle file on the test server.
class NbsConfig final : public ConfigTexts {
public:
    NbsConfig(const ConfigTexts& shipped, std::string cycleFile) : shipped_(shipped), cycleFile_(std::move(cycleFile)) {}
    std::string Value(std::string_view section, std::string_view key) const override
    {
        if (ini::EqualsIgnoreCase(section, "INTERNET")) {
            if (ini::EqualsIgnoreCase(key, "C_TEXT_SOURCE"))
                return "NBS";
            if (ini::EqualsIgnoreCase(key, "C_NBS_CYCLE_FILE"))
                return cycleFile_;
            if (ini::EqualsIgnoreCase(key, "C_ZOZI14_GRAPHSERVER"))
                return "";
        }
        return shipped_.Value(section, key);
    }

private:
    const ConfigTexts& shipped_;
    std::string cycleFile_;
};

// The picture target of a retrieval that fetches no picture.
class NoPicture final : public PictureTarget {
public:
    std::filesystem::path Path() override { throw Error("no picture is expected"); }
    void Load(const std::filesystem::path&) override {}
};

class NbsReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shipped_ = ConfigFile::Open(SKELMAR_INI);
        ASSERT_TRUE(shipped_) << SKELMAR_INI;
    }

    // Serves `file` as the 08 UTC cycle of 6 May 2025 and retrieves station `code` as a
    // station change does at 09:40 UTC that day (or as `file` of another run, `date` and
    // `hour` its name, `day` the day, one hour and 40 minutes after the run).
    bool Retrieve(const std::string& code, std::string file, const std::string& date = "20250506",
                  const std::string& hour = "08", std::chrono::year_month_day day = std::chrono::year(2025) / 5 / 6)
    {
        test::Reply reply;
        reply.body = std::move(file);
        reply.ranges = true;
        server_.Serve("/blend." + date + "/" + hour + "/text/blend_nbstx.t" + hour + "z", reply);
        config_ = std::make_unique<NbsConfig>(*shipped_, server_.Url("/blend.{date}/{hour}/text/blend_nbstx.t{hour}z"));
        const TDateTime today = EncodeDate(static_cast<std::uint16_t>(static_cast<int>(day.year())),
                                           static_cast<std::uint16_t>(static_cast<unsigned>(day.month())),
                                           static_cast<std::uint16_t>(static_cast<unsigned>(day.day())));
        RetrievalRequest request = MakeRetrievalRequest(*config_, code, today, ':');
        request.now = std::chrono::sys_days(day) + std::chrono::minutes((std::stoi(hour) + 1) * 60 + 40);
        NoPicture picture;
        const RetrievalOutcome outcome = RunRetrieval(request, http_, picture);
        messages_.clear();
        for (const RetrievalMessage& message : outcome.messages)
            messages_.push_back((message.kind == RetrievalMessage::Warning ? "warning: " : "error: ") + message.text);
        if (outcome.error)
            messages_.push_back("general error: " + *outcome.error);
        state_.bulletinLines = outcome.lines;
        state_.forecast = outcome.verdict.forecast;
        if (outcome.verdict.baseTime)
            state_.forecastBaseTime = *outcome.verdict.baseTime;
        return outcome.verdict.accepted;
    }

    // The report at `step` in Zulu time, as plain text.
    std::string Report(int step) const
    {
        const TimeTextContext zulu;
        return PlainText(ReadRtf(ComposeReportText(ReportInputs{state_.forecast, state_.forecastBaseTime, step,
                                                        TemperatureUnit::Fahrenheit, "Station", *config_, zulu})));
    }

    test::LoopbackServer server_;
    test::TemporaryFolder folder_;
    std::unique_ptr<ConfigFile> shipped_;
    std::unique_ptr<NbsConfig> config_;
    CurlHttpClient http_;
    std::vector<std::string> messages_;  // the boxes the window would show, in order
    ForecastState state_;
};

struct Expected {
    int step;
    std::vector<std::string> sentences;
};

void ExpectSentences(const std::string& report, const Expected& expected)
{
    for (const std::string& sentence : expected.sentences)
        EXPECT_NE(report.find(sentence), std::string::npos) << "step " << expected.step << ": " << sentence << "\n" << report;
}

TEST_F(NbsReportTest, ReportOfAnHourlyRunAtSeveralSteps)
{
    ASSERT_TRUE(Retrieve("DAW", ReadFixture("nbs_v42_kdan_kdaw_kday_08z.txt"))) << ::testing::PrintToString(messages_);
    EXPECT_EQ(state_.forecastBaseTime, EncodeDate(2025, 5, 6) + 8 / 24.0);
    const Expected cases[] = {
        // Step 2 (6 hours) describes the column of 7 hours: 15 UTC.
        {2,
         {"2025 1500 Zulu", "The temperature will be 53\xC2\xB0 F.", "The dew point will be 52\xC2\xB0 F.",
          "Skies will be overcast with a ceiling of 200 feet.", "Visibility will be 0.7 miles.",
          "The wind will be from 100 degrees at 5 kt.",
          "Any precipitation will most likely fall as rain or drizzle, possibly mixed with snow.",
          "The chance of precipitation is 69 percent.", "Expect 0.10 to 0.24 inch of precipitation.",
          "The chance of thunderstorms is 9 percent.", "The chance of precipitation is 93 percent.",
          "Expect 0.25 to 0.49 inch of precipitation."}},
        // Step 5 (15 hours): 16 hours, 00 UTC on 7 May, the end of both periods.
        {5,
         {"May 7, 2025 0000 Zulu", "The temperature will be 54\xC2\xB0 F.", "Visibility will be 0.2 miles.",
          "For the 6 hours between 5/6/25 1800 Zulu and 5/7/25 0000 Zulu: The chance of precipitation is 83 percent. "
          "The chance of thunderstorms is 22 percent. Expect 0.25 to 0.49 inch of precipitation.",
          "For the 12 hours between 5/6/25 1200 Zulu and 5/7/25 0000 Zulu: The chance of precipitation is 93 percent.",
          "The maximum temperature will be 60\xC2\xB0 F."}},
        // Step 12 (36 hours): 37 hours, 21 UTC on 7 May; ceiling 4,900 feet.
        {12,
         {"The temperature will be 64\xC2\xB0 F.", "Skies will be mostly cloudy (broken clouds) with a ceiling of 4,900 feet.",
          "Visibility will be 10 miles or more.", "The wind will be from 190 degrees at 5 kt.",
          "For the 6 hours between 5/7/25 1800 Zulu and 5/8/25 0000 Zulu: The chance of precipitation is 47 percent. "
          "The chance of thunderstorms is 24 percent. Expect 0.10 to 0.24 inch of precipitation.",
          "For the 12 hours between 5/7/25 1200 Zulu and 5/8/25 0000 Zulu: The chance of precipitation is 63 percent. "
          "The chance of thunderstorms is 25 percent.",
          "The maximum temperature will be 70\xC2\xB0 F."}},
        // Step 15 (45 hours): 46 hours; no ceiling, every precipitation type at 0.
        {15,
         {"Skies will be mostly clear (few clouds) with no ceiling.", "The wind will be from 270 degrees at 3 kt."}},
    };
    for (const Expected& expected : cases)
        ExpectSentences(Report(expected.step), expected);
    // Step 4 (12 hours): the column of 13 hours, 21 UTC, 0.2 mile.
    const std::string at13 = Report(4);
    EXPECT_NE(at13.find("2025 2100 Zulu"), std::string::npos) << at13;
    EXPECT_NE(at13.find("Visibility will be 0.2 miles."), std::string::npos) << at13;
    EXPECT_EQ(Report(15).find("most likely fall as"), std::string::npos);
    // Steps 19 and 20 both describe the last column, of 58 hours (18 UTC on 8 May).
    EXPECT_NE(Report(19).find("1800 Zulu"), std::string::npos);
    EXPECT_EQ(Report(19).substr(Report(19).find("1800 Zulu")), Report(20).substr(Report(20).find("1800 Zulu")));
}

// A run at a 3-hourly hour: every step describes exactly its own hour.
TEST_F(NbsReportTest, ReportOfARunAtA3HourlyHour)
{
    ASSERT_TRUE(Retrieve("FYJ", ReadFixture("nbs_v42_kfyj_12z.txt"), "20240829", "12", std::chrono::year(2024) / 8 / 29))
        << ::testing::PrintToString(messages_);
    const Expected cases[] = {
        {2,
         {"August 29, 2024 1800 Zulu", "The temperature will be 91\xC2\xB0 F.",
          "Skies will be mostly clear (few clouds) with no ceiling.", "Visibility will be 10 miles or more.",
          "The wind will be calm.",
          "For the 6 hours between 8/29/24 1200 Zulu and 8/29/24 1800 Zulu: The chance of precipitation is 4 percent. "
          "The chance of thunderstorms is 9 percent. Expect no measurable amount of precipitation."}},
        // 21 hours, 09 UTC: 300 feet, 1 mile.
        {7,
         {"August 30, 2024 0900 Zulu", "Skies will be overcast with a ceiling of 300 feet.", "Visibility will be 1 mile.",
          "For the 6 hours between 8/30/24 0600 Zulu and 8/30/24 1200 Zulu: The chance of precipitation is 29 percent.",
          "For the 12 hours between 8/30/24 0000 Zulu and 8/30/24 1200 Zulu: The chance of precipitation is 44 percent. "
          "The chance of thunderstorms is 43 percent. Expect 0.10 to 0.24 inch of precipitation."}},
        // 30 hours, 18 UTC: 1,500 feet.
        {10, {"August 30, 2024 1800 Zulu", "Skies will be mostly cloudy (broken clouds) with a ceiling of 1,500 feet."}},
    };
    for (const Expected& expected : cases)
        ExpectSentences(Report(expected.step), expected);
}

// Gusts get a sentence of their own when they exceed the wind by 10 kt or more, and the graph
// shows them.
TEST_F(NbsReportTest, GustsBeyondTheMargin)
{
    std::string file = ReadFixture("nbs_v42_kdan_kdaw_kday_08z.txt");
    // KDAY's gusts at 7, 10 and 13 hours raised to 22, 24 and 22 kt: 10 kt over 12 and 14 kt
    // are told, 9 over 13 is not.
    const std::string original = " GST  16 18 21 20 15";
    const std::string raised = " GST  16 22 24 22 15";
    ASSERT_NE(file.find(original), std::string::npos);
    file.replace(file.find(original), original.size(), raised);
    ASSERT_TRUE(Retrieve("DAY", file)) << ::testing::PrintToString(messages_);
    EXPECT_NE(Report(2).find("The wind will be from 250 degrees at 12 kt. Gusts to 22 kt are expected."), std::string::npos)
        << Report(2);
    EXPECT_NE(Report(3).find("Gusts to 24 kt are expected."), std::string::npos) << Report(3);
    EXPECT_EQ(Report(4).find("Gusts"), std::string::npos) << Report(4);  // 22 over 13: 9 kt

    const ForecastSeries series = ReadForecastSeries(state_.forecast, TemperatureUnit::Fahrenheit);
    EXPECT_EQ(series.windGust[0], 22);
    EXPECT_EQ(series.windGust[1], 24);
    EXPECT_FALSE(series.windGust[2]);  // 22 over 13 kt
}

// The daily extremes stand at the bulletin's 00 and 12 UTC columns: in the report under their
// own 18-hour period, in the graph at those hours. A temperature the bulletin marks missing
// (-99) is a gap in the graph, not a point at -99 degrees.
TEST_F(NbsReportTest, ExtremesAndMissingTemperatures)
{
    std::string file = ReadFixture("nbs_v42_kfyj_12z.txt");
    const std::string original = " TMP  91 88";
    ASSERT_NE(file.find(original), std::string::npos);
    file.replace(file.find(original), original.size(), " TMP -99 88");
    ASSERT_TRUE(Retrieve("FYJ", file, "20240829", "12", std::chrono::year(2024) / 8 / 29))
        << ::testing::PrintToString(messages_);

    EXPECT_NE(Report(4).find("For the 18 hours between 8/29/24 1200 Zulu and 8/30/24 0600 Zulu: The maximum "
                             "temperature will be 92\xC2\xB0 F."),
              std::string::npos)
        << Report(4);

    const ForecastSeries series = ReadForecastSeries(state_.forecast, TemperatureUnit::Fahrenheit);
    EXPECT_FALSE(series.temperature[0]);  // 6 hours: -99
    EXPECT_EQ(series.temperature[1], 88);
    std::vector<std::tuple<int, long, bool>> extremes;
    for (const ExtremeValue& extreme : series.extremes)
        extremes.emplace_back(extreme.hour, extreme.temperature, extreme.maximum);
    for (const auto& expected : {std::tuple<int, long, bool>{12, 92, true}, {24, 71, false}, {36, 83, true},
                                 {48, 69, false}})
        EXPECT_NE(std::find(extremes.begin(), extremes.end(), expected), extremes.end())
            << std::get<0>(expected) << " hours: " << ::testing::PrintToString(extremes);
}

// The refusals reach the user as for the other bulletins.
TEST_F(NbsReportTest, AStationNotInTheFileIsNotFound)
{
    EXPECT_FALSE(Retrieve("XYZ", ReadFixture("nbs_v42_kdan_kdaw_kday_08z.txt")));
    EXPECT_EQ(messages_, (std::vector<std::string>{"error: " + std::string(kTextNotFound),
                                                        "error: " + std::string(kCorruptedText)}));
}

}  // namespace
}  // namespace skelmar
