// The sentences of today's guidance bulletins with the shipped Skelmar.ini, step by step:
// ceiling, visibility, obstruction and precipitation type at every step from 6 to 60 hours,
// and the periods at their boundaries, each checked by hand against the bulletin's columns.
// The bulletins (tests/fixtures/bulletins, sources in the README there) are read as the
// retrieval reads them, without a server.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "forecast/ForecastReaders.h"
#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/MemoryConfigTexts.h"
#include "time/Calendar.h"

namespace skelmar {
namespace {

struct Bulletin {
    const char* file;
    TDateTime issue;  // UTC
};
const Bulletin kDenver{"mav_den_12z_winter.txt", EncodeDate(2026, 12, 9) + 0.5};
const Bulletin kIndianapolisGfs{"mav_ind_00z_2018.txt", EncodeDate(2018, 11, 27)};
const Bulletin kIndianapolisNam{"met_ind_00z_2018.txt", EncodeDate(2018, 11, 27)};

class GuidanceSentencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shipped_ = ConfigFile::Open(SKELMAR_INI);
        ASSERT_TRUE(shipped_) << SKELMAR_INI;
    }

    // The report at `step` in Zulu time, as the window composes it after a retrieval.
    std::string Report(const Bulletin& bulletin, int step, const ConfigTexts* config = nullptr)
    {
        const BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/" + bulletin.file);
        const std::optional<ForecastModel> forecast = ReadGuidanceForecast(lines);
        EXPECT_TRUE(forecast.has_value()) << bulletin.file;
        if (!forecast)
            return {};
        const TimeTextContext zulu;
        return ComposeReportText(ReportInputs{*forecast, bulletin.issue, step, TemperatureUnit::Fahrenheit, "Station",
                                              config ? *config : *shipped_, zulu});
    }

    std::unique_ptr<ConfigFile> shipped_;
};

constexpr std::string_view kNoObstruction = " with no fog or haze expected";
constexpr std::string_view kSnow = "Any precipitation will most likely fall as snow.";
constexpr std::string_view kRain = "Any precipitation will most likely fall as rain or drizzle, possibly mixed with snow.";

struct InstantExpectation {
    int hour;
    std::string sky;        // "Skies will be ..." through the visibility sentence
    std::string_view type;  // the precipitation type sentence
};

void CheckInstants(const std::vector<InstantExpectation>& table, const std::function<std::string(int)>& report)
{
    for (const InstantExpectation& e : table) {
        SCOPED_TRACE(e.hour);
        const std::string text = report(e.hour / 3);
        EXPECT_NE(text.find(e.sky), std::string::npos) << text;
        EXPECT_NE(text.find(e.type), std::string::npos) << text;
    }
}

TEST_F(GuidanceSentencesTest, DenverAtEveryStep)
{
    // CLD, CIG, VIS, OBV and TYP of each column, 6 to 60 hours after 12 UTC on 9 December.
    const std::string none(kNoObstruction);
    const std::vector<InstantExpectation> kExpect = {
        {6, "Skies will be partly cloudy (scattered clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kRain},
        {9, "Skies will be partly cloudy (scattered clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kRain},
        {12, "Skies will be mostly cloudy (broken clouds) with a ceiling of 6,600 to 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kRain},
        {15, "Skies will be mostly cloudy (broken clouds) with a ceiling of 6,600 to 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {18, "Skies will be mostly cloudy (broken clouds) with a ceiling of 3,100 to 6,500 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {21, "Skies will be mostly cloudy (broken clouds) with a ceiling of 3,100 to 6,500 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {24, "Skies will be partly cloudy (scattered clouds) with a ceiling of 6,600 to 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {27, "Skies will be partly cloudy (scattered clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {30, "Skies will be mostly clear (few clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {33, "Skies will be mostly clear (few clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {36, "Skies will be partly cloudy (scattered clouds) with no ceiling below 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
        {39, "Skies will be mostly cloudy (broken clouds) with a ceiling of 3,100 to 6,500 feet. Visibility will be 6 miles" + none + ". ", kSnow},
        {42, "Skies will be overcast with a ceiling of 1,000 to 1,900 feet. Visibility will be 3 to 5 miles in mist. ", kSnow},
        {45, "Skies will be overcast with a ceiling of 500 to 900 feet. Visibility will be 1 to less than 2 miles in blowing snow, sand or dust. ", kSnow},
        {48, "Skies will be overcast with a ceiling of 200 to 400 feet. Visibility will be 1/2 mile to less than 1 mile in blowing snow, sand or dust. ", kSnow},
        {51, "Skies will be overcast with a ceiling of 500 to 900 feet. Visibility will be 1 to less than 2 miles in mist. ", kSnow},
        {54, "Skies will be overcast with a ceiling of 1,000 to 1,900 feet. Visibility will be 3 to 5 miles" + none + ". ", kSnow},
        {57, "Skies will be mostly cloudy (broken clouds) with a ceiling of 3,100 to 6,500 feet. Visibility will be 6 miles" + none + ". ", kSnow},
        {60, "Skies will be partly cloudy (scattered clouds) with a ceiling of 6,600 to 12,000 feet. Visibility will be more than 6 miles" + none + ". ", kSnow},
    };
    CheckInstants(kExpect, [&](int step) { return Report(kDenver, step); });
}

// The two Indianapolis bulletins of the same run, GFS and NAM, as a table of their codes.
TEST_F(GuidanceSentencesTest, IndianapolisGfsAndNamAtEveryStep)
{
    const std::map<std::string, std::string> sky = {
        {"OV", "overcast"}, {"BK", "mostly cloudy (broken clouds)"}, {"SC", "partly cloudy (scattered clouds)"},
        {"FW", "mostly clear (few clouds)"}, {"CL", "clear"}};
    const std::map<char, std::string> ceiling = {
        {'4', " with a ceiling of 1,000 to 1,900 feet."}, {'5', " with a ceiling of 2,000 to 3,000 feet."},
        {'6', " with a ceiling of 3,100 to 6,500 feet."}, {'7', " with a ceiling of 6,600 to 12,000 feet."},
        {'8', " with no ceiling below 12,000 feet."}};
    struct Column {
        const Bulletin* bulletin;
        // Hours 6 to 60 read off by eye; every visibility is 7 (more than 6 miles) with no
        // obstruction, every type S.
        std::vector<std::string> clouds;
        std::string ceilings;
    };
    const Column kColumns[] = {
        {&kIndianapolisGfs,
         {"OV", "OV", "OV", "BK", "BK", "OV", "OV", "OV", "OV", "SC", "CL", "CL", "FW", "OV", "OV", "OV", "OV", "OV", "OV"},
         "4456666668888877776"},
        {&kIndianapolisNam,
         {"OV", "OV", "OV", "OV", "OV", "OV", "OV", "OV", "BK", "FW", "CL", "CL", "SC", "BK", "OV", "OV", "OV", "OV", "OV"},
         "5555556668888887776"},
    };
    for (const Column& c : kColumns) {
        SCOPED_TRACE(c.bulletin->file);
        std::vector<InstantExpectation> table;
        for (std::size_t i = 0; i < 19; ++i) {
            const std::string sentence = "Skies will be " + sky.at(c.clouds[i]) + ceiling.at(c.ceilings[i]) +
                                         " Visibility will be more than 6 miles" + std::string(kNoObstruction) + ". ";
            table.push_back({6 + 3 * static_cast<int>(i), sentence, kSnow});
        }
        CheckInstants(table, [&](int step) { return Report(*c.bulletin, step); });
    }
}

// The sections after the instant's sentences, each cut to its introduction's span and a
// short form of what follows: "P" chance of precipitation, "T" thunderstorms, "Q" amount
// category, "X"/"N" maximum/minimum, "S" snowfall.
std::vector<std::string> Sections(const std::string& report)
{
    std::vector<std::string> sections;
    for (std::size_t at = report.find("\\par \\par "); at != std::string::npos;
         at = report.find("\\par \\par ", at + 1)) {
        const std::size_t end = report.find("\\par \\par ", at + 1);
        const std::string section = report.substr(at + 10, end == std::string::npos ? std::string::npos : end - at - 10);
        std::string shortForm = section.substr(0, section.find(':'));
        for (const auto& [phrase, code] : std::vector<std::pair<std::string, std::string>>{
                 {"The chance of precipitation is ", " P"},
                 {"The chance of thunderstorms is ", " T"},
                 {"of precipitation.", " Q"},
                 {"The maximum temperature will be ", " X"},
                 {"The minimum temperature will be ", " N"},
                 {"snow", " S"}}) {
            if (section.find(phrase) != std::string::npos)
                shortForm += code;
        }
        sections.push_back(shortForm);
    }
    return sections;
}

TEST_F(GuidanceSentencesTest, PeriodsAtTheirBoundaries)
{
    struct Expectation {
        int line;
        const Bulletin* bulletin;
        int hour;
        std::vector<std::string> sections;
    };
    const Expectation kExpect[] = {
        // Denver, 12 UTC run: P06 ends 00, 06, 12, 18 UTC; P12 and Q12 at 00 and 12 UTC with
        // the minimum (12 UTC) or maximum (00 UTC); T12 at 06 and 18 UTC.
        {__LINE__, &kDenver, 6,
         {"For the 6 hours between 12/9/26 1800 Zulu and 12/10/26 0000 Zulu P T Q",
          "For the 12 hours between 12/9/26 1800 Zulu and 12/10/26 0600 Zulu T"}},
        {__LINE__, &kDenver, 12,
         {"For the 6 hours between 12/9/26 1800 Zulu and 12/10/26 0000 Zulu P T Q",
          "For the 12 hours between 12/9/26 1800 Zulu and 12/10/26 0600 Zulu T",
          "For the 12 hours between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu P Q N"}},
        {__LINE__, &kDenver, 15,
         {"For the 6 hours between 12/10/26 0000 Zulu and 12/10/26 0600 Zulu P T Q",
          "For the 12 hours between 12/9/26 1800 Zulu and 12/10/26 0600 Zulu T",
          "For the 12 hours between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu P Q N"}},
        {__LINE__, &kDenver, 18,
         {"For the 6 hours between 12/10/26 0000 Zulu and 12/10/26 0600 Zulu P T Q",
          "For the 12 hours between 12/9/26 1800 Zulu and 12/10/26 0600 Zulu T",
          "For the 12 hours between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu P Q N"}},
        {__LINE__, &kDenver, 21,
         {"For the 6 hours between 12/10/26 0600 Zulu and 12/10/26 1200 Zulu P T Q",
          "For the 12 hours between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu P Q N",
          "For the 12 hours between 12/10/26 0600 Zulu and 12/10/26 1800 Zulu T"}},
        {__LINE__, &kDenver, 24,
         {"For the 6 hours between 12/10/26 0600 Zulu and 12/10/26 1200 Zulu P T Q",
          "For the 12 hours between 12/10/26 0000 Zulu and 12/10/26 1200 Zulu P Q N",
          "For the 12 hours between 12/10/26 0600 Zulu and 12/10/26 1800 Zulu T"}},
        {__LINE__, &kDenver, 60,
         {"For the 6 hours between 12/11/26 1800 Zulu and 12/12/26 0000 Zulu P T Q",
          "For the 12 hours between 12/11/26 1200 Zulu and 12/12/26 0000 Zulu P Q X",
          "For the 12 hours between 12/11/26 1800 Zulu and 12/12/26 0600 Zulu T"}},
        // Indianapolis, 00 UTC run, with the 24-hour snowfall ending at 12 UTC.
        {__LINE__, &kIndianapolisGfs, 6,
         {"For the 6 hours between 11/27/18 0600 Zulu and 11/27/18 1200 Zulu P T Q",
          "For the 12 hours between 11/27/18 0600 Zulu and 11/27/18 1800 Zulu T"}},
        {__LINE__, &kIndianapolisGfs, 12,
         {"For the 6 hours between 11/27/18 0600 Zulu and 11/27/18 1200 Zulu P T Q",
          "For the 12 hours between 11/27/18 0600 Zulu and 11/27/18 1800 Zulu T",
          "For the 12 hours between 11/27/18 1200 Zulu and 11/28/18 0000 Zulu P Q X",
          "For the 24 hours between 11/27/18 1200 Zulu and 11/28/18 1200 Zulu S"}},
        {__LINE__, &kIndianapolisGfs, 36,
         {"For the 6 hours between 11/28/18 0600 Zulu and 11/28/18 1200 Zulu P T Q",
          "For the 12 hours between 11/28/18 0000 Zulu and 11/28/18 1200 Zulu P Q N",
          "For the 12 hours between 11/28/18 0600 Zulu and 11/28/18 1800 Zulu T",
          "For the 24 hours between 11/27/18 1200 Zulu and 11/28/18 1200 Zulu S"}},
        {__LINE__, &kIndianapolisGfs, 39,
         {"For the 6 hours between 11/28/18 1200 Zulu and 11/28/18 1800 Zulu P T Q",
          "For the 12 hours between 11/28/18 0600 Zulu and 11/28/18 1800 Zulu T",
          "For the 12 hours between 11/28/18 1200 Zulu and 11/29/18 0000 Zulu P Q X",
          "For the 24 hours between 11/28/18 1200 Zulu and 11/29/18 1200 Zulu S"}},
        {__LINE__, &kIndianapolisNam, 60,
         {"For the 6 hours between 11/29/18 0600 Zulu and 11/29/18 1200 Zulu P T Q",
          "For the 12 hours between 11/29/18 0000 Zulu and 11/29/18 1200 Zulu P Q N",
          "For the 12 hours between 11/29/18 0600 Zulu and 11/29/18 1800 Zulu T",
          "For the 24 hours between 11/28/18 1200 Zulu and 11/29/18 1200 Zulu S"}},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(Sections(Report(*e.bulletin, e.hour / 3)), e.sections);
    }

    // The figures of one section, word for word: Denver at 45 hours, 06 to 12 UTC.
    const std::string report = Report(kDenver, 15);
    EXPECT_NE(report.find("For the 6 hours between 12/11/26 0600 Zulu and 12/11/26 1200 Zulu: The chance of "
                          "precipitation is 62 percent. The chance of thunderstorms is 1 percent, and the chance "
                          "that a storm would be severe is 0 percent. Expect 0.10 to 0.24 inch of precipitation. "),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("For the 12 hours between 12/11/26 0000 Zulu and 12/11/26 1200 Zulu: The chance of "
                          "precipitation is 70 percent. Expect 0.25 to 0.49 inch of precipitation. The minimum "
                          "temperature will be 22\xB0 F. "),
              std::string::npos)
        << report;
    EXPECT_NE(Report(kIndianapolisGfs, 12).find("For the 24 hours between 11/27/18 1200 Zulu and 11/28/18 1200 "
                                                "Zulu: Expect no snow, or no more than a trace. "),
              std::string::npos);
}

// Every ceiling and visibility category of the GFS and NAM guidance to its text: the
// shipped file's own text for each, and an older file's merged text where it lacks the new
// keys. A code outside the categories gives the missing text.
TEST_F(GuidanceSentencesTest, EveryCategoryWithAndWithoutTheNewKeys)
{
    // One column per category, all at hours 6 to 27 of a 00 UTC run.
    const BulletinLines lines = {
        " KABC   GFS MOS GUIDANCE    1/14/2026  0000 UTC",
        " HR   06 09 12 15 18 21 00 03 06",
        " CLD  OV OV OV OV OV OV OV OV OV",
        " CIG   1  2  3  4  5  6  7  8  0",
        " VIS   1  2  3  4  5  6  7  9 12",
        " OBV   N  N  N  N  N  N  N  N  N",
    };
    const std::optional<ForecastModel> forecast = ReadGuidanceForecast(lines);
    ASSERT_TRUE(forecast.has_value());
    // The texts an older file has: seven ceiling and five visibility categories.
    const MemoryConfigTexts older = {
        {"CIG", "1", "below 200"},    {"CIG", "2", "200-400"},        {"CIG", "3", "500-900"},
        {"CIG", "4", "1000-3000"},    {"CIG", "5", "3100-6500"},      {"CIG", "6", "6600-12000"},
        {"CIG", "7", "above 12000"},  {"CIG", "9", "no ceiling"},     {"VIS", "1", "below 1/2"},
        {"VIS", "2", "1/2-1"},        {"VIS", "3", "1-3"},            {"VIS", "4", "3-5"},
        {"VIS", "5", "above 5"},      {"VIS", "9", "no visibility"},
    };
    struct Expectation {
        int hour;
        std::string_view shippedCeiling, olderCeiling, shippedVisibility, olderVisibility;
    };
    const Expectation kExpect[] = {
        {6, " with a ceiling below 200 feet.", "below 200", "less than 1/2 mile", "below 1/2"},
        {9, " with a ceiling of 200 to 400 feet.", "200-400", "1/2 mile to less than 1 mile", "1/2-1"},
        {12, " with a ceiling of 500 to 900 feet.", "500-900", "1 to less than 2 miles", "1-3"},
        {15, " with a ceiling of 1,000 to 1,900 feet.", "1000-3000", "2 to less than 3 miles", "1-3"},
        {18, " with a ceiling of 2,000 to 3,000 feet.", "1000-3000", "3 to 5 miles", "3-5"},
        {21, " with a ceiling of 3,100 to 6,500 feet.", "3100-6500", "6 miles", "above 5"},
        {24, " with a ceiling of 6,600 to 12,000 feet.", "6600-12000", "more than 6 miles", "above 5"},
        {27, " with no ceiling below 12,000 feet.", "above 12000",
         "No visibility forecast is available for this time.", "no visibility"},
        {30, " (no ceiling forecast is available for this time).", "no ceiling",
         "No visibility forecast is available for this time.", "no visibility"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.hour);
        const ForecastInstant* instant = forecast->InstantAt(e.hour);
        ASSERT_NE(instant, nullptr);
        EXPECT_EQ(CategoryText(*shipped_, "CIG", instant->ceiling), e.shippedCeiling);
        EXPECT_EQ(CategoryText(older, "CIG", instant->ceiling), e.olderCeiling);
        EXPECT_EQ(CategoryText(*shipped_, "VIS", instant->visibility), e.shippedVisibility);
        EXPECT_EQ(CategoryText(older, "VIS", instant->visibility), e.olderVisibility);
    }
}

// Missing values read as missing, never as a neighbour's: a blank column, 999, 99 and
// codes outside the categories, with the shipped texts.
TEST_F(GuidanceSentencesTest, MissingValuesHaveTheirTexts)
{
    const BulletinLines lines = {
        " KABC   GFS MOS GUIDANCE    1/14/2026  0000 UTC",
        " HR   06 09 12 15",
        " TMP  27999 25 26",
        " DPT  20 20    999",
        " CLD  OV OV OV OV",
        " WDR  27 27 99 27",
        " WSP  10 10 10 99",
        " CIG   4     5 12",
        " VIS   7  7  0  7",
        " OBV   N  N  N XX",
        " TYP   R  R  P  R",
    };
    const std::optional<ForecastModel> forecast = ReadGuidanceForecast(lines);
    ASSERT_TRUE(forecast.has_value());
    const TimeTextContext zulu;
    const auto report = [&](int step) {
        return ComposeReportText(ReportInputs{*forecast, EncodeDate(2026, 1, 14), step, TemperatureUnit::Fahrenheit,
                                              "Station", *shipped_, zulu});
    };
    const std::string at9 = report(3);
    EXPECT_NE(at9.find("No temperature or dew point forecast is available for this time. Skies will be overcast "
                       "(no ceiling forecast is available for this time). Visibility will be more than 6 miles with "
                       "no fog or haze expected. The wind will be from 270 degrees at 10 kt."),
              std::string::npos)
        << at9;
    const std::string at12 = report(4);
    EXPECT_NE(at12.find("The temperature will be 25\xB0 F. No dew point forecast is available for this time. Skies "
                        "will be overcast with a ceiling of 2,000 to 3,000 feet. No visibility forecast is "
                        "available for this time. No wind forecast is available for this time. "),
              std::string::npos)
        << at12;
    EXPECT_EQ(at12.find("Any precipitation"), std::string::npos) << "type P is no category";
    const std::string at15 = report(5);
    EXPECT_NE(at15.find("The dew point will be"), std::string::npos);
    EXPECT_NE(at15.find("Skies will be overcast (no ceiling forecast is available for this time). Visibility will "
                        "be more than 6 miles. No wind forecast is available for this time."),
              std::string::npos)
        << at15;
}

// An older Skelmar.ini, without the new keys, still reports every hour: the merged texts.
TEST_F(GuidanceSentencesTest, OlderConfigurationFallsBack)
{
    const MemoryConfigTexts older = {
        {"CLDS", "CLDS", "Skies %s"}, {"CLDS", "OV", "overcast"}, {"CIG", "4", " ceiling 1000-3000."},
        {"CIG", "3", " ceiling 500-900."}, {"VIS", "VIS2", "Vis %s%s."}, {"VIS", "3", "1-3 mi"},
        {"VIS", "2", "1/2-1 mi"}, {"OBVIS", "BL", " blowing"},
    };
    const std::string at42 = Report(kDenver, 14, &older);
    EXPECT_NE(at42.find("Skies overcast ceiling 1000-3000. "), std::string::npos) << at42;
    const std::string at45 = Report(kDenver, 15, &older);
    EXPECT_NE(at45.find("Skies overcast ceiling 500-900. Vis 1-3 mi blowing. "), std::string::npos) << at45;
}

}  // namespace
}  // namespace skelmar
