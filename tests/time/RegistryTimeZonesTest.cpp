#include "time/RegistryTimeZones.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "TzifWriter.h"
#include "text/Error.h"
#include "time/TzifZoneStore.h"
#include "time/WindowsZones.h"
#include "time/ZoneConversion.h"

namespace skelmar {
namespace {

namespace fs = std::filesystem;

SYSTEMTIME Rule(std::uint16_t month, std::uint16_t week, std::uint16_t weekday,
                std::uint16_t hour, std::uint16_t minute = 0, std::uint16_t second = 0,
                std::uint16_t milliseconds = 0)
{
    return {0, month, weekday, week, hour, minute, second, milliseconds};
}

ZoneName Name(std::u16string_view text)
{
    ZoneName name{};
    std::copy(text.begin(), text.end(), name.begin());
    return name;
}

std::vector<std::string> KeyNamesOf(const TVeskRegistryTimeZones& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Items(i).KeyName());
    return names;
}

void ExpectIndexError(const TVeskRegistryTimeZones& list, int index, const char* message)
{
    try {
        list.Items(index);
        ADD_FAILURE() << "no error for index " << index;
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

// Sets TZDIR for the life of the object, then puts back what was there.
class ScopedTzdir {
public:
    explicit ScopedTzdir(const std::string& value)
    {
        if (const char* old = std::getenv("TZDIR"))
            old_ = old;
        ::setenv("TZDIR", value.c_str(), 1);
    }
    ~ScopedTzdir()
    {
        if (old_)
            ::setenv("TZDIR", old_->c_str(), 1);
        else
            ::unsetenv("TZDIR");
    }
    ScopedTzdir(const ScopedTzdir&) = delete;
    ScopedTzdir& operator=(const ScopedTzdir&) = delete;

private:
    std::optional<std::string> old_;
};

// A tz directory of the test's own, in a fresh temporary folder.
class TzifZoneStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("skelmar-tzdir-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteFile(const std::string& ianaId, std::string_view bytes)
    {
        const fs::path path = dir_ / ianaId;
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    void WriteZone(const std::string& ianaId, const std::string& tzString, char version = '2')
    {
        WriteFile(ianaId, test::WriteTzif({version, 4, 0, tzString}));
    }

    TVeskRegistryTimeZones Build() const { return TVeskRegistryTimeZones(TzifZoneStore(dir_)); }

    fs::path dir_;
};

TEST_F(TzifZoneStoreTest, RecordsFromTheCurrentRule)
{
    struct Expectation {
        int line;
        const char* ianaId;
        const char* tzString;
        const char* keyName;
        std::u16string_view daylightName;
        const char* displayName;
        std::int32_t bias;
        std::int32_t daylightBias;
        SYSTEMTIME standardDate;
        SYSTEMTIME daylightDate;
    };
    const Expectation kExpect[] = {
        {__LINE__, "America/New_York", "EST5EDT,M3.2.0,M11.1.0", "Eastern Standard Time",
         u"Eastern Daylight Time", "(UTC-05:00) Eastern Time (US & Canada)", 300, -60,
         Rule(11, 1, 0, 2), Rule(3, 2, 0, 2)},
        {__LINE__, "America/Phoenix", "MST7", "US Mountain Standard Time",
         u"US Mountain Daylight Time", "(UTC-07:00) Arizona", 420, 0, {}, {}},
        // Southern hemisphere: daylight time from October to April.
        {__LINE__, "Australia/Sydney", "AEST-10AEDT,M10.1.0,M4.1.0/3", "AUS Eastern Standard Time",
         u"AUS Eastern Daylight Time", "(UTC+10:00) Canberra, Melbourne, Sydney", -600, -60,
         Rule(4, 1, 0, 3), Rule(10, 1, 0, 2)},
        // Changes at 24:00 on Saturday: the last millisecond of that Saturday.
        {__LINE__, "America/Santiago", "<-04>4<-03>,M9.1.6/24,M4.1.6/24",
         "Pacific SA Standard Time",
         u"Pacific SA Daylight Time", "(UTC-04:00) Santiago", 240, -60,
         Rule(4, 1, 6, 23, 59, 59, 999), Rule(9, 1, 6, 23, 59, 59, 999)},
        // Half an hour of daylight saving, with quoted names; version 3 file.
        {__LINE__, "Australia/Lord_Howe", "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",
         "Lord Howe Standard Time", u"Lord Howe Daylight Time", "(UTC+10:30) Lord Howe Island",
         -630, -30, Rule(4, 1, 0, 2), Rule(10, 1, 0, 2)},
        {__LINE__, "Pacific/Chatham", "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
         "Chatham Islands Standard Time", u"Chatham Islands Daylight Time",
         "(UTC+12:45) Chatham Islands", -765, -60, Rule(4, 1, 0, 3, 45), Rule(9, 5, 0, 2, 45)},
        {__LINE__, "America/St_Johns", "NST3:30NDT,M3.2.0,M11.1.0", "Newfoundland Standard Time",
         u"Newfoundland Daylight Time", "(UTC-03:30) Newfoundland", 210, -60, Rule(11, 1, 0, 2),
         Rule(3, 2, 0, 2)},
        {__LINE__, "Etc/UTC", "UTC0", "UTC", u"UTC", "(UTC+00:00) Coordinated Universal Time", 0,
         0, {}, {}},
    };
    for (const Expectation& e : kExpect)
        WriteZone(e.ianaId, e.tzString, e.line % 2 == 0 ? '2' : '3');

    const TVeskRegistryTimeZones list = Build();
    EXPECT_EQ(list.Count(), static_cast<int>(std::size(kExpect)));
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const TVeskRegistryTimeZone* zone = list.FindByKeyName(e.keyName);
        ASSERT_NE(zone, nullptr);
        EXPECT_EQ(zone->KeyName(), e.keyName);
        EXPECT_EQ(zone->DisplayName(), e.displayName);
        TIME_ZONE_INFORMATION expected;
        expected.Bias = e.bias;
        const std::string_view keyName = e.keyName;  // ASCII: one unit per character
        expected.StandardName = Name(std::u16string(keyName.begin(), keyName.end()));
        expected.StandardDate = e.standardDate;
        expected.StandardBias = 0;
        expected.DaylightName = Name(e.daylightName);
        expected.DaylightDate = e.daylightDate;
        expected.DaylightBias = e.daylightBias;
        EXPECT_EQ(zone->TimeZone(), expected);
    }
}

TEST_F(TzifZoneStoreTest, FilesWithoutAUsableRuleAreSkipped)
{
    const std::string valid = test::WriteTzif({'2', 4, 0, "EST5EDT,M3.2.0,M11.1.0"});
    struct Expectation {
        int line;
        std::string file;
    };
    const Expectation kExpect[] = {
        {__LINE__, ""},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0\n"},                   // not TZif
        {__LINE__, std::string(300, '\x5A')},                     // random bytes
        {__LINE__, valid.substr(0, valid.size() - 5)},            // truncated
        {__LINE__, test::WriteTzif({'\0', 4, 0, ""})},            // version 1 only
        {__LINE__, test::WriteTzif({'2', 4, 0, ""})},             // no rule
        {__LINE__, test::WriteTzif({'2', 0, 0, "EST5EDT"})},      // daylight time, no rules
        {__LINE__, test::WriteTzif({'2', 0, 0, "EST5EDT,J60,J300"})},    // Julian days
        {__LINE__, test::WriteTzif({'2', 0, 0, "EST5EDT,60,M11.1.0"})},
        {__LINE__, test::WriteTzif({'3', 0, 0, "EST5EDT,M3.2.0/25,M11.1.0"})},  // beyond 24 h
        {__LINE__, test::WriteTzif({'3', 0, 0, "EST5EDT,M3.2.0,M11.1.0/-1"})},  // before 0 h
        {__LINE__, test::WriteTzif({'2', 0, 0, "<-0456>4:56:02"})},  // not whole minutes
    };
    WriteZone("America/Chicago", "CST6CDT,M3.2.0,M11.1.0");
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        WriteFile("America/New_York", e.file);
        EXPECT_EQ(KeyNamesOf(Build()), std::vector<std::string>{"Central Standard Time"});
    }

    // A directory where the zone's file should be.
    fs::remove(dir_ / "America/New_York");
    fs::create_directories(dir_ / "America/New_York");
    EXPECT_EQ(KeyNamesOf(Build()), std::vector<std::string>{"Central Standard Time"});
}

TEST_F(TzifZoneStoreTest, LinkedZoneFilesAreRead)
{
    // The tz database links many names to one file.
    WriteZone("America/Indiana/Indianapolis", "EST5EDT,M3.2.0,M11.1.0");
    fs::create_symlink("Indiana/Indianapolis", dir_ / "America/Indianapolis");
    const TVeskRegistryTimeZones list = Build();
    ASSERT_EQ(KeyNamesOf(list), std::vector<std::string>{"US Eastern Standard Time"});
    EXPECT_EQ(list.Items(0).TimeZone().Bias, 300);
}

TEST_F(TzifZoneStoreTest, OrderedByKeyNameByteByByte)
{
    for (const char* ianaId : {"Etc/GMT+11", "Etc/UTC", "America/Phoenix", "America/Denver",
                               "America/Anchorage", "Australia/Sydney"})
        WriteZone(ianaId, "XXX0");
    const std::vector<std::string> expected = {
        "AUS Eastern Standard Time",  // "U" sorts before "l"
        "Alaskan Standard Time",     "Mountain Standard Time", "US Mountain Standard Time",
        "UTC",                       "UTC-11",
    };
    EXPECT_EQ(KeyNamesOf(Build()), expected);
}

TEST_F(TzifZoneStoreTest, LookupByExactKeyName)
{
    WriteZone("America/New_York", "EST5EDT,M3.2.0,M11.1.0");
    WriteZone("America/Chicago", "CST6CDT,M3.2.0,M11.1.0");
    const TVeskRegistryTimeZones list = Build();

    const TVeskRegistryTimeZone* central = list.FindByKeyName("Central Standard Time");
    ASSERT_NE(central, nullptr);
    EXPECT_EQ(central->TimeZone().Bias, 360);
    EXPECT_EQ(central, &list.Items(0));
    for (const char* name : {"central standard time", "CENTRAL STANDARD TIME",
                             "Central Standard Time ", "Central", "Mountain Standard Time", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(list.FindByKeyName(name), nullptr);
    }
}

TEST_F(TzifZoneStoreTest, ItemsOutsideTheListFail)
{
    WriteZone("America/New_York", "EST5EDT,M3.2.0,M11.1.0");
    WriteZone("America/Chicago", "CST6CDT,M3.2.0,M11.1.0");
    const TVeskRegistryTimeZones list = Build();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1).KeyName(), "Eastern Standard Time");
    ExpectIndexError(list, 5, "List index out of bounds (5)");
    ExpectIndexError(list, 2, "List index out of bounds (2)");
    ExpectIndexError(list, -1, "List index out of bounds (-1)");
}

TEST_F(TzifZoneStoreTest, DefaultListReadsTzdir)
{
    WriteZone("America/Denver", "MST7MDT,M3.2.0,M11.1.0");
    const ScopedTzdir tzdir(dir_.string());
    const TVeskRegistryTimeZones list;
    EXPECT_EQ(KeyNamesOf(list), std::vector<std::string>{"Mountain Standard Time"});
}

TEST_F(TzifZoneStoreTest, MissingDatabaseGivesAnEmptyList)
{
    // A directory without zone files still lists every key; none of them opens.
    EXPECT_EQ(TzifZoneStore(dir_).KeyNames().size(), WindowsZones().size());
    EXPECT_EQ(Build().Count(), 0);

    WriteFile("not-a-directory", "x");
    for (const fs::path& missing : {dir_ / "absent", dir_ / "not-a-directory"}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(TzifZoneStore(missing).KeyNames(), std::vector<std::string>{});
        const TVeskRegistryTimeZones list{TzifZoneStore(missing)};
        EXPECT_EQ(list.Count(), 0);
        ExpectIndexError(list, 0, "List index out of bounds (0)");

        const ScopedTzdir tzdir(missing.string());
        EXPECT_EQ(TVeskRegistryTimeZones().Count(), 0);
    }
}

// A store in the registry's layout, held in memory.
class MemoryZoneStore final : public ZoneStore {
public:
    struct Entry {
        std::string keyName;
        std::optional<ZoneValues> values;  // nullopt: the zone cannot be opened
    };
    explicit MemoryZoneStore(std::vector<Entry> entries) : entries_(std::move(entries)) {}

    std::vector<std::string> KeyNames() const override
    {
        std::vector<std::string> names;
        for (const Entry& entry : entries_)
            names.push_back(entry.keyName);
        return names;
    }
    // The first entry of that name, as a registry has one sub-key per name.
    std::optional<ZoneValues> Values(std::string_view keyName) const override
    {
        for (const Entry& entry : entries_)
            if (entry.keyName == keyName) {
                if (entry.values && entry.values->display == "throw")
                    throw Error("Invalid data type for 'Display'");
                return entry.values;
            }
        return std::nullopt;
    }

private:
    std::vector<Entry> entries_;
};

std::vector<std::uint8_t> TziBytes(std::int32_t bias)
{
    TIME_ZONE_INFORMATION zone;
    zone.Bias = bias;
    zone.DaylightBias = -60;
    zone.DaylightDate = Rule(3, 2, 0, 2);
    zone.StandardDate = Rule(11, 1, 0, 2);
    const TziRecord tzi = EncodeTzi(zone);
    return {tzi.begin(), tzi.end()};
}

ZoneValues Values(std::string display, std::string standardName, std::string daylightName,
                  std::optional<std::vector<std::uint8_t>> tzi)
{
    return {std::move(display), std::move(standardName), std::move(daylightName), std::move(tzi)};
}

TEST(TVeskRegistryTimeZones, TakesTheStoresZonesInItsOrder)
{
    std::vector<std::uint8_t> shortTzi = TziBytes(1);
    shortTzi.pop_back();
    std::vector<std::uint8_t> longTzi = TziBytes(1);
    longTzi.push_back(0);
    const MemoryZoneStore store({
        {"Zulu Time", Values("(UTC) Zulu", "Zulu Std", "Zulu Dlt", TziBytes(10))},
        {"No TZI", Values("d", "s", "t", std::nullopt)},
        {"Short TZI", Values("d", "s", "t", shortTzi)},
        {"Long TZI", Values("d", "s", "t", longTzi)},
        {"Unopened", std::nullopt},
        {"Alpha Time", Values("", "", "", TziBytes(20))},  // no texts at all
        {"Zulu Time", Values("second", "s", "t", TziBytes(30))},
    });
    const TVeskRegistryTimeZones list(store);
    ASSERT_EQ(KeyNamesOf(list), (std::vector<std::string>{"Zulu Time", "Alpha Time", "Zulu Time"}));

    const TVeskRegistryTimeZone& zulu = list.Items(0);
    EXPECT_EQ(zulu.DisplayName(), "(UTC) Zulu");
    EXPECT_EQ(zulu.TimeZone().Bias, 10);
    EXPECT_EQ(zulu.TimeZone().DaylightBias, -60);
    EXPECT_EQ(zulu.TimeZone().DaylightDate, Rule(3, 2, 0, 2));
    EXPECT_EQ(zulu.TimeZone().StandardDate, Rule(11, 1, 0, 2));
    EXPECT_EQ(zulu.TimeZone().StandardName, Name(u"Zulu Std"));
    EXPECT_EQ(zulu.TimeZone().DaylightName, Name(u"Zulu Dlt"));

    const TVeskRegistryTimeZone& alpha = list.Items(1);
    EXPECT_EQ(alpha.DisplayName(), "");
    EXPECT_EQ(alpha.TimeZone().Bias, 20);
    EXPECT_EQ(alpha.TimeZone().StandardName, ZoneName{});

    // Two entries of one name: the lookup takes the first.
    EXPECT_EQ(list.FindByKeyName("Zulu Time"), &list.Items(0));
}

TEST(TVeskRegistryTimeZones, StoreErrorEndsTheConstruction)
{
    const MemoryZoneStore store({
        {"Good", Values("d", "s", "t", TziBytes(1))},
        {"Bad", Values("throw", "s", "t", TziBytes(2))},
    });
    try {
        const TVeskRegistryTimeZones list(store);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Display'");
    }
}

TEST(ZoneNameFromText, ThirtyOneCharactersFitWhole)
{
    struct Expectation {
        int line;
        std::string_view text;
        std::u16string_view name;
    };
    const Expectation kExpect[] = {
        {__LINE__, "", u""},
        {__LINE__, "Eastern Standard Time", u"Eastern Standard Time"},
        {__LINE__, "Central Brazilian Standard Time", u"Central Brazilian Standard Time"},  // 31
        {__LINE__, "Central Brazilian Standard Time!", u""},  // 32: too long, left empty
        {__LINE__, std::string(200, 'x'), u""},
        {__LINE__, "Z\xFCrich \x80 \x9F", u"Z\u00FCrich \u20AC \u0178"},  // code page 1252
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const ZoneName name = ZoneNameFromText(e.text);
        EXPECT_EQ(name, Name(e.name));
        EXPECT_EQ(name.back(), u'\0');
    }
}

TEST(ZoneDisplayText, OffsetFromTheBias)
{
    struct Expectation {
        int line;
        int bias;
        std::string_view text;
    };
    const Expectation kExpect[] = {
        {__LINE__, 300, "(UTC-05:00) Place"},
        {__LINE__, 210, "(UTC-03:30) Place"},
        {__LINE__, 0, "(UTC+00:00) Place"},
        {__LINE__, -330, "(UTC+05:30) Place"},
        {__LINE__, -765, "(UTC+12:45) Place"},
        {__LINE__, -840, "(UTC+14:00) Place"},
        {__LINE__, 720, "(UTC-12:00) Place"},
        {__LINE__, -2147483647 - 1, "(UTC+35791394:08) Place"},  // no overflow
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(ZoneDisplayText(e.bias, "Place"), e.text);
    }
}

// The machine's own tz database (tzdata).
constexpr const char* kSystemZoneDirectory = "/usr/share/zoneinfo";

TEST(SystemZoneDatabase, UnitedStatesZones)
{
    if (!fs::is_directory(kSystemZoneDirectory))
        GTEST_SKIP() << "no tz database at " << kSystemZoneDirectory;
    const TVeskRegistryTimeZones list{TzifZoneStore(kSystemZoneDirectory)};

    struct Expectation {
        int line;
        const char* keyName;
        std::int32_t bias;
        const char* displayName;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Eastern Standard Time", 300, "(UTC-05:00) Eastern Time (US & Canada)"},
        {__LINE__, "Central Standard Time", 360, "(UTC-06:00) Central Time (US & Canada)"},
        {__LINE__, "Mountain Standard Time", 420, "(UTC-07:00) Mountain Time (US & Canada)"},
        {__LINE__, "Pacific Standard Time", 480, "(UTC-08:00) Pacific Time (US & Canada)"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const TVeskRegistryTimeZone* zone = list.FindByKeyName(e.keyName);
        ASSERT_NE(zone, nullptr);
        EXPECT_EQ(zone->DisplayName(), e.displayName);
        const TIME_ZONE_INFORMATION& record = zone->TimeZone();
        EXPECT_EQ(record.Bias, e.bias);
        EXPECT_EQ(record.StandardBias, 0);
        EXPECT_EQ(record.DaylightBias, -60);
        EXPECT_EQ(record.DaylightDate, Rule(3, 2, 0, 2));
        EXPECT_EQ(record.StandardDate, Rule(11, 1, 0, 2));

        // The 2026 changes: daylight time from 8 March 02:00 standard time, standard time
        // again from 1 November 02:00 daylight time.
        const auto local = [](int month, int day, int hour, int minute) {
            return EncodeDate(2026, static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day)) +
                   EncodeTime(static_cast<std::uint16_t>(hour), static_cast<std::uint16_t>(minute), 0, 0);
        };
        const TDateTime daylightStarts = local(3, 8, 2, 0) + e.bias / 1440.0;
        const TDateTime daylightEnds = local(11, 1, 2, 0) + (e.bias - 60) / 1440.0;
        EXPECT_NEAR(UtcToZoneLocal(record, daylightStarts - 1 / 1440.0), local(3, 8, 1, 59), 1e-9);
        EXPECT_NEAR(UtcToZoneLocal(record, daylightStarts), local(3, 8, 3, 0), 1e-9);
        EXPECT_NEAR(UtcToZoneLocal(record, daylightEnds - 1 / 1440.0), local(11, 1, 1, 59), 1e-9);
        EXPECT_NEAR(UtcToZoneLocal(record, daylightEnds), local(11, 1, 1, 0), 1e-9);
    }

    const TVeskRegistryTimeZone* arizona = list.FindByKeyName("US Mountain Standard Time");
    ASSERT_NE(arizona, nullptr);
    EXPECT_EQ(arizona->DisplayName(), "(UTC-07:00) Arizona");
    EXPECT_EQ(arizona->TimeZone().Bias, 420);
    EXPECT_EQ(arizona->TimeZone().DaylightDate.wMonth, 0);
    EXPECT_EQ(arizona->TimeZone().StandardDate.wMonth, 0);
}

TEST(SystemZoneDatabase, EveryWindowsZoneHasItsZoneFile)
{
    if (!fs::is_directory(kSystemZoneDirectory))
        GTEST_SKIP() << "no tz database at " << kSystemZoneDirectory;
    for (const WindowsZone& zone : WindowsZones()) {
        SCOPED_TRACE(zone.keyName);
        EXPECT_TRUE(fs::is_regular_file(fs::path(kSystemZoneDirectory) / zone.ianaId))
            << zone.ianaId;
    }
}

}  // namespace
}  // namespace skelmar
