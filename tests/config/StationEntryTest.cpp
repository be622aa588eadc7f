#include "config/StationEntry.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/MemoryConfigTexts.h"
#include "text/Error.h"
#include "time/Calendar.h"
#include "time/RegistryTimeZones.h"
#include "time/TimeFormat.h"
#include "time/TzifZoneStore.h"

namespace skelmar {
namespace {

const std::filesystem::path kZoneDirectory = SKELMAR_TEST_ZONEINFO;

// The message of the Error that `work` throws, or "(no error)".
template <typename Work>
std::string ErrorOf(Work&& work)
{
    try {
        work();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(StationEntry, DisplayTextAndCode)
{
    struct Expectation {
        int line;
        std::string_view entry, display, code;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Denver, CO (DEN)=7", "Denver, CO (DEN)", "DEN"},
        {__LINE__, "Anchorage, AK (PANC)=9", "Anchorage, AK (PANC)", "PANC"},  // whole identifier
        {__LINE__, "St. Johnsbury, VT (1V4)=5", "St. Johnsbury, VT (1V4)", "1V4"},  // digits too
        {__LINE__, "Denver (DEN)", "Denver (DEN)", "DEN"},  // no "=": shown whole
        {__LINE__, "Fort (Worth) Alliance, TX (AFW)=6", "Fort (Worth) Alliance, TX (AFW)", ""},  // first "(" only
        {__LINE__, "Odd (DE=5", "Odd (DE", ""},             // no ")"
        {__LINE__, "Odd (DE)=5", "Odd (DE)", ""},           // two characters
        {__LINE__, "Odd (KDENV)=5", "Odd (KDENV)", ""},     // five
        {__LINE__, "Odd (den)=5", "Odd (den)", ""},         // codes are capitals
        {__LINE__, "NoParens=5", "NoParens", ""},
        {__LINE__, "", "", ""},
        {__LINE__, "x=(BOS)", "x", ""},                     // the code belongs to the display text
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(StationDisplayText(e.entry), e.display);
        EXPECT_EQ(StationCodeOf(e.entry), e.code);
        if (e.code.empty())
            EXPECT_NE(ErrorOf([&] { ParseStationEntry(e.entry); }).find("3 or 4 capital letters or digits"),
                      std::string::npos);
        else
            EXPECT_EQ(ParseStationEntry(e.entry).code, e.code);
    }
}

TEST(StationEntry, ZoneName)
{
    const MemoryConfigTexts config = {{"TIMEZONES", "PHX", "US Mountain Standard Time"},
                                      {"TIMEZONES", "PANC", "America/Anchorage"}};
    struct Expectation {
        int line;
        std::string_view entry;
        std::optional<std::string> zone;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Boston, MA (BOS)=5", "Eastern Standard Time"},
        {__LINE__, "Boston, MA (BOS)=6", "Central Standard Time"},  // the index decides, not the name
        {__LINE__, "Denver, CO (DEN)=7", "Mountain Standard Time"},
        {__LINE__, "Seattle, WA (SEA)=8", "Pacific Standard Time"},
        {__LINE__, "Phoenix, AZ (PHX)=7", "US Mountain Standard Time"},
        {__LINE__, "Anchorage, AK (PANC)=9", "America/Anchorage"},
        {__LINE__, "Nowhere (NOW)=9", std::nullopt},
        {__LINE__, "Nowhere (NOW)=4", std::nullopt},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(StationZoneName(e.entry, config), e.zone);
    }
}

// Every rule of the zones the station list uses, through the time texts: each station's local
// time of 1800 UTC on a winter day and on a summer day of 2026.
TEST(StationTimeZone, LocalTimesInWinterAndSummer)
{
    const TVeskRegistryTimeZones zones(TzifZoneStore{kZoneDirectory});
    const MemoryConfigTexts config = {
        {"TIMEZONES", "PHX", "US Mountain Standard Time"},   // an old file's name for Arizona
        {"TIMEZONES", "TUS", "America/Phoenix"},
        {"TIMEZONES", "PANC", "America/Anchorage"},
        {"TIMEZONES", "PADK", "America/Adak"},
        {"TIMEZONES", "PHNL", "Pacific/Honolulu"},
        {"TIMEZONES", "TJSJ", "America/Puerto_Rico"},
        {"TIMEZONES", "IND", "America/Indiana/Indianapolis"},
        {"TIMEZONES", "TEL", "America/Indiana/Tell_City"},
        {"TIMEZONES", "SDF", "America/Kentucky/Louisville"},
        {"TIMEZONES", "DTW", "America/Detroit"},
        {"TIMEZONES", "MNM", "America/Menominee"},
        {"TIMEZONES", "BOI", "America/Boise"},
        {"TIMEZONES", "DIK", "America/Denver"},
        {"TIMEZONES", "BIS", "America/North_Dakota/Center"},
    };
    struct Expectation {
        int line;
        std::string_view entry;
        std::string_view winter, summer;  // 1800 UTC on January 15 and July 15
    };
    const Expectation kExpect[] = {
        {__LINE__, "Boston, MA (BOS)=5", "1:00 pm", "2:00 pm"},
        {__LINE__, "Garden City, KS (GCK)=6", "12:00 pm", "1:00 pm"},
        {__LINE__, "Denver, CO (DEN)=7", "11:00 am", "12:00 pm"},
        {__LINE__, "Seattle, WA (SEA)=8", "10:00 am", "11:00 am"},
        // Arizona keeps standard time, by either name of its zone.
        {__LINE__, "Phoenix, AZ (PHX)=7", "11:00 am", "11:00 am"},
        {__LINE__, "Tucson, AZ (TUS)=7", "11:00 am", "11:00 am"},
        {__LINE__, "Anchorage, AK (PANC)=9", "9:00 am", "10:00 am"},
        // The Aleutians keep Hawaii-Aleutian time, with daylight saving.
        {__LINE__, "Adak Island, AK (PADK)=10", "8:00 am", "9:00 am"},
        {__LINE__, "Honolulu, HI (PHNL)=10", "8:00 am", "8:00 am"},
        {__LINE__, "San Juan, PR (TJSJ)=4", "2:00 pm", "2:00 pm"},
        // The split states: each side of the line.
        {__LINE__, "Indianapolis, IN (IND)=5", "1:00 pm", "2:00 pm"},
        {__LINE__, "Tell City, IN (TEL)=6", "12:00 pm", "1:00 pm"},
        {__LINE__, "Louisville, KY (SDF)=5", "1:00 pm", "2:00 pm"},
        {__LINE__, "Detroit, MI (DTW)=5", "1:00 pm", "2:00 pm"},
        {__LINE__, "Menominee, MI (MNM)=6", "12:00 pm", "1:00 pm"},
        {__LINE__, "Boise, ID (BOI)=7", "11:00 am", "12:00 pm"},
        {__LINE__, "Dickinson, ND (DIK)=7", "11:00 am", "12:00 pm"},
        {__LINE__, "Bismarck, ND (BIS)=6", "12:00 pm", "1:00 pm"},
    };
    TimeTextContext context;
    context.timeType = TimeType::Local;
    const TDateTime sixPm = EncodeTime(18, 0, 0, 0);
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        context.zone = StationTimeZone(e.entry, config, &zones, kZoneDirectory);
        EXPECT_EQ(FormatForecastTime(true, EncodeDate(2026, 1, 15) + sixPm, context),
                  "1/15/26 " + std::string(e.winter) + " local");
        EXPECT_EQ(FormatForecastTime(true, EncodeDate(2026, 7, 15) + sixPm, context),
                  "7/15/26 " + std::string(e.summer) + " local");
    }
}

TEST(StationTimeZone, ErrorCases)
{
    const TVeskRegistryTimeZones zones(TzifZoneStore{kZoneDirectory});
    const MemoryConfigTexts config = {{"TIMEZONES", "ATL", "America/Atlantis"},
                                      {"TIMEZONES", "UPP", "../../etc/passwd"},
                                      {"TIMEZONES", "WIN", "Atlantis Standard Time"}};
    struct Expectation {
        int line;
        std::string_view entry;
        std::string message;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Boston (BOS)=x", "'x' is not a valid integer value"},
        {__LINE__, "Boston (BOS)", "'' is not a valid integer value"},
        {__LINE__, "", "'' is not a valid integer value"},
        {__LINE__, "Anchorage, AK (PANC)=9",
         "The station \"Anchorage, AK (PANC)\" has no time zone: its zone index 9 is none of 5 to 8, and "
         "[TIMEZONES] in Skelmar.ini names no zone for it"},
        {__LINE__, "Atlanta (ATL)=5",
         "The time zone \"America/Atlantis\" of the station \"Atlanta (ATL)\" is not in the time zone database (" +
             kZoneDirectory.string() + ")"},
        {__LINE__, "Up (UPP)=5",  // not a zone name: never read outside the database
         "The time zone \"../../etc/passwd\" of the station \"Up (UPP)\" is not in the time zone database (" +
             kZoneDirectory.string() + ")"},
        {__LINE__, "Win (WIN)=5",
         "The time zone \"Atlantis Standard Time\" of the station \"Win (WIN)\" is not in the time zone database (" +
             kZoneDirectory.string() + ")"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ErrorOf([&] { StationTimeZone(e.entry, config, &zones, kZoneDirectory); }), e.message);
    }
    // Without a zone list the names of the list are not found either; IANA names still are.
    EXPECT_NE(ErrorOf([&] { StationTimeZone("Boston (BOS)=5", config, nullptr, kZoneDirectory); }).find("Eastern"),
              std::string::npos);
    const MemoryConfigTexts anchorage = {{"TIMEZONES", "PANC", "America/Anchorage"}};
    EXPECT_EQ(StationTimeZone("Anchorage, AK (PANC)=9", anchorage, nullptr, kZoneDirectory).Bias, 540);
}

TEST(StationEntry, DuplicateCodes)
{
    const std::vector<std::string> entries = {"Boston, MA (BOS)=5", "Anchorage, AK (PANC)=9",
                                              "Boston Logan, MA (BOS)=5", "Odd (DE)=5", "Also odd=5"};
    EXPECT_EQ(ErrorOf([&] { CheckStationCodeUnique(entries, "BOS"); }),
              "The station code BOS stands in 2 entries of [STATIONS] in Skelmar.ini; each station needs a code "
              "of its own");
    EXPECT_EQ(ErrorOf([&] { CheckStationCodeUnique(entries, "PANC"); }), "(no error)");
    // "ANC" is not "PANC": the K-less and whole identifiers do not collide.
    EXPECT_EQ(ErrorOf([&] { CheckStationCodeUnique(entries, "ANC"); }), "(no error)");
}

}  // namespace
}  // namespace skelmar
