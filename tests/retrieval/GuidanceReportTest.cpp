// From the station page on the server to the sentences of the report: today's guidance
// bulletins fetched by the real HTTP client from a server on 127.0.0.1, cut out of the page,
// translated, checked and normalised by the retrieval, and composed with the shipped
// Skelmar.ini.

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/HttpClient.h"
#include "retrieval/RetrievalSequence.h"
#include "retrieval/StationEntry.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/MessageHost.h"
#include "tests/support/ScopedResources.h"

namespace skelmar {
namespace {

std::string ReadFixture(const std::string& path)
{
    std::ifstream in(std::string(SKELMAR_FIXTURES) + "/" + path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A bulletin fixture inside a page, as the server wraps it.
std::string Page(const std::string& bulletin)
{
    return "<HTML>\n<BODY>\n<PRE>\n" + ReadFixture("bulletins/" + bulletin) + "</PRE>\n</BODY>\n</HTML>\n";
}

// The shipped configuration, with the download addresses on the test server.
class ServedConfig final : public ConfigTexts {
public:
    ServedConfig(const ConfigTexts& shipped, const test::LoopbackServer& server)
        : shipped_(shipped), textServer_(server.Url("/mav/K")), graphServer_(server.Url("/graph/"))
    {
    }
    std::string Value(std::string_view section, std::string_view key) const override
    {
        if (ini::EqualsIgnoreCase(section, "INTERNET")) {
            if (ini::EqualsIgnoreCase(key, "C_ZOZI14_TEXTSERVER"))
                return textServer_;
            if (ini::EqualsIgnoreCase(key, "C_ZOZI14_GRAPHSERVER"))
                return graphServer_;
            if (ini::EqualsIgnoreCase(key, "C_FOUS_GRAPH_EXT"))
                return ".gif";
        }
        return shipped_.Value(section, key);
    }

private:
    const ConfigTexts& shipped_;
    std::string textServer_;
    std::string graphServer_;
};

class GuidanceReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shipped_ = ConfigFile::Open(SKELMAR_INI);
        ASSERT_TRUE(shipped_) << SKELMAR_INI;
        config_ = std::make_unique<ServedConfig>(*shipped_, server_);
    }

    // Serves `page` as the page of station `code` and retrieves it as a station change does,
    // on a computer whose local date is `today`. True when the bulletin is accepted.
    bool Retrieve(const std::string& code, std::string page, TDateTime today)
    {
        code_ = code;
        server_.Serve("/mav/K" + code, std::move(page));
        server_.Serve("/graph/" + code + ".gif", std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 13));
        const FixedClock clock(today);
        RetrievalContext context{state_, *config_, http_, host_, clock, folder_.Path() / "Temp.gif", ':'};
        return RetrieveBulletin(context, code);
    }

    // The report at `step`, in Zulu time, for the station's entry of the shipped list.
    std::string Report(int step, TemperatureUnit unit = TemperatureUnit::Fahrenheit) const
    {
        std::string entry;
        for (const std::string& e : shipped_->SectionEntries("STATIONS"))
            if (e.find("(" + code_ + ")") != std::string::npos)
                entry = e;
        EXPECT_FALSE(entry.empty()) << code_ << " is in the shipped list";
        const TimeTextContext zulu;
        return ComposeReportText(
            ReportInputs{state_.forecast, state_.forecastBaseTime, step, unit, StationDisplayText(entry), *shipped_, zulu});
    }

    // The text of the 12-hour section, "" when there is none.
    static std::string TwelveHourSection(const std::string& report)
    {
        const std::size_t at = report.find("For the 12 hours");
        return at == std::string::npos ? std::string() : report.substr(at);
    }

    test::LoopbackServer server_;
    test::TemporaryFolder folder_;
    std::unique_ptr<ConfigFile> shipped_;
    std::unique_ptr<ServedConfig> config_;
    CurlHttpClient http_;
    test::MessageHost host_;
    ForecastState state_;
    std::string code_;
};

// The page as the server sends it: a GFS bulletin of the 12 UTC run.
TEST_F(GuidanceReportTest, StationPageOfTheGfsGuidance)
{
    ASSERT_TRUE(Retrieve("JFK", ReadFixture("pages/getmav_kjfk.html"), EncodeDate(2026, 4, 20)));
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(state_.forecastBaseTime, EncodeDate(2026, 4, 20) + 0.5);
    ASSERT_FALSE(state_.bulletinLines.empty());
    EXPECT_EQ(state_.bulletinLines.front(), "MN/MX 46 58 44 61");

    const std::string sixHours = Report(2);
    EXPECT_NE(sixHours.find("Extended Aviation Weather Report for New York Kennedy, NY (JFK), at April 20, 2026 "
                            "1800 Zulu"),
              std::string::npos);
    EXPECT_NE(sixHours.find("The temperature will be 52\xB0 F. The dew point will be 40\xB0 F. Skies will be "
                            "mostly cloudy (broken clouds) with a ceiling of 3,100 to 6,500 feet. Visibility "
                            "will be more than 6 miles with no fog or haze expected. The wind will be from 150 "
                            "degrees at 9 kt. Any precipitation will most likely fall as rain or drizzle, possibly "
                            "mixed with snow. "),
              std::string::npos)
        << sixHours;
    // The bulletin's own periods that hold hour 6: the 6-hour one ending at 00 UTC, with its
    // amount, and the first 12-hour thunderstorm period, which ends at 06 UTC.
    EXPECT_NE(sixHours.find("For the 6 hours between 4/20/26 1800 Zulu and 4/21/26 0000 Zulu: The chance of "
                            "precipitation is 47 percent. The chance of thunderstorms is 1 percent, and the chance "
                            "that a storm would be severe is 0 percent. Expect 0.01 to 0.09 inch of "
                            "precipitation. "),
              std::string::npos)
        << sixHours;
    EXPECT_EQ(TwelveHourSection(sixHours),
              "For the 12 hours between 4/20/26 1800 Zulu and 4/21/26 0600 Zulu: The chance of thunderstorms is 3 "
              "percent, and the chance that a storm would be severe is 1 percent. }");

    // Hour 12: the precipitation and thunderstorm periods of 12 hours differ, so each has its
    // own section; the overnight minimum shares the precipitation's period.
    EXPECT_EQ(TwelveHourSection(Report(4)),
              "For the 12 hours between 4/20/26 1800 Zulu and 4/21/26 0600 Zulu: The chance of thunderstorms is 3 "
              "percent, and the chance that a storm would be severe is 1 percent. \\par \\par For the 12 hours "
              "between 4/21/26 0000 Zulu and 4/21/26 1200 Zulu: The chance of precipitation is 92 percent. Expect "
              "0.25 to 0.49 inch of precipitation. The minimum temperature will be 46\xB0 F. }");

    // Hour 18: the product's ceiling 2 and visibility 3 in fog, in its own categories.
    EXPECT_NE(Report(6).find("Skies will be overcast with a ceiling of 200 to 400 feet. Visibility will be 1 to "
                             "less than 2 miles in fog. "),
              std::string::npos);
    // Hour 51 has its ceiling and visibility like every other hour.
    EXPECT_NE(Report(17).find("Skies will be mostly clear (few clouds) with no ceiling below 12,000 feet. "
                              "Visibility will be more than 6 miles with no fog or haze expected. "),
              std::string::npos);
}

// An 18 UTC run: its 12-hour precipitation periods end at 12 UTC, its 12-hour thunderstorm
// periods at 18 UTC; both are reported, each with its own span.
TEST_F(GuidanceReportTest, EighteenUtcRunHasBothTwelveHourPeriods)
{
    ASSERT_TRUE(Retrieve("DFW", Page("mav_dfw_18z_summer.txt"), EncodeDate(2026, 6, 22)));
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(state_.forecastBaseTime, EncodeDate(2026, 6, 22) + 0.75);

    const std::string report = Report(4);
    EXPECT_NE(report.find("For the 6 hours between 6/23/26 0000 Zulu and 6/23/26 0600 Zulu"), std::string::npos)
        << "the 6-hour period of hour 12 ends at 06 UTC";
    EXPECT_EQ(TwelveHourSection(report),
              "For the 12 hours between 6/23/26 0000 Zulu and 6/23/26 1200 Zulu: The chance of precipitation is 7 "
              "percent. Expect no measurable amount of precipitation. The minimum temperature will be 76\xB0 F. "
              "\\par \\par For the 12 hours between 6/23/26 0600 Zulu and 6/23/26 1800 Zulu: The chance of "
              "thunderstorms is 7 percent, and the chance that a storm would be severe is 3 percent. }");
}

// Cold and snow from the 06 UTC run, in both units; the NAM guidance in the same way.
TEST_F(GuidanceReportTest, WinterBulletinsOfBothProducts)
{
    ASSERT_TRUE(Retrieve("INL", Page("mav_inl_06z_winter.txt"), EncodeDate(2026, 2, 3)));
    EXPECT_NE(Report(2).find("The temperature will be -8\xB0 F. The dew point will be -14\xB0 F. "), std::string::npos);
    EXPECT_NE(Report(2, TemperatureUnit::Celsius).find("The temperature will be -22\xB0 C. The dew point will be "
                                                        "-26\xB0 C. "),
              std::string::npos);
    EXPECT_NE(Report(7).find("Any precipitation will most likely fall as snow."), std::string::npos);

    ASSERT_TRUE(Retrieve("ORD", Page("met_ord_00z_winter.txt"), EncodeDate(2026, 12, 8)));
    EXPECT_TRUE(host_.messages.empty());
    const std::string report = Report(4);
    EXPECT_NE(report.find("Chicago O'Hare, IL (ORD), at December 8, 2026 1200 Zulu"), std::string::npos);
    EXPECT_NE(report.find("Any precipitation will most likely fall as freezing rain, freezing drizzle or ice "
                          "pellets."),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Visibility will be 3 to 5 miles with no fog or haze expected."), std::string::npos);
}

TEST_F(GuidanceReportTest, ErrorCases)
{
    const std::string corrupted = "error: " + std::string(kCorruptedText);
    // Another station's bulletin.
    EXPECT_FALSE(Retrieve("BOS", ReadFixture("pages/getmav_kjfk.html"), EncodeDate(2026, 4, 20)));
    EXPECT_EQ(host_.messages, std::vector<std::string>{corrupted});

    // A GFS title over a table without its HR row cannot be read.
    host_.messages.clear();
    const std::string page = "<PRE>\n KJFK   GFS MOS GUIDANCE    4/20/2026  1200 UTC\n TMP  52 55\n</PRE>\n";
    EXPECT_FALSE(Retrieve("JFK", page, EncodeDate(2026, 4, 20)));
    EXPECT_EQ(host_.messages, std::vector<std::string>{corrupted});

    // A bulletin of another day is refused by the date check after its translation.
    host_.messages.clear();
    EXPECT_FALSE(Retrieve("JFK", ReadFixture("pages/getmav_kjfk.html"), EncodeDate(2026, 4, 22)));
    EXPECT_EQ(host_.messages, std::vector<std::string>{"error: " + std::string(kDateMismatch)});
    EXPECT_EQ(state_.bulletinLines.front(), " JFK   MAV GFS MOS GUIDANCE   4/20/26  1200 UTC");
}

}  // namespace
}  // namespace skelmar
