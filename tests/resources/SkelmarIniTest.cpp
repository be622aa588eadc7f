// The shipped Skelmar.ini: every station of the station facts with its zone, every template
// with as many "%s" as the report fills, a text for every code the bulletin uses, and texts
// that join into sentences and hold no stray rich-text characters.

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/StationEntry.h"
#include "retrieval/ConfigFile.h"
#include "text/Error.h"
#include "text/StringRoutines.h"
#include "time/RegistryTimeZones.h"
#include "time/TzifZoneStore.h"

namespace skelmar {
namespace {

std::string ReadBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct StationFact {
    std::string code;
    std::string state;
    std::string zone;
    bool noDst = false;
};

// stations.csv: code,"name",state,lat,lon,zone_index,no_dst,on_map; the header line first.
// The quoted names hold no commas.
std::vector<StationFact> ReadStationFacts()
{
    std::vector<StationFact> facts;
    std::ifstream in(SKELMAR_STATION_FACTS);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        facts.push_back({ExtractField(line, ',', 1), ExtractField(line, ',', 3),
                         ExtractField(line, ',', 6), ExtractField(line, ',', 7) == "1"});
    }
    return facts;
}

int CountPlaceholders(std::string_view text)
{
    int count = 0;
    for (std::size_t at = text.find("%s"); at != std::string_view::npos;
         at = text.find("%s", at + 2))
        ++count;
    return count;
}

// Rich text read from the value: a backslash must start a control word or escape "\", "{" or
// "}", and braces must pair up. Returns what is wrong, or "" when nothing is.
std::string RichTextFault(std::string_view text)
{
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            const char next = i + 1 < text.size() ? text[i + 1] : '\0';
            const bool letter = next >= 'a' && next <= 'z';  // control words are lower case
            if (!letter && next != '\\' && next != '{' && next != '}')
                return "a backslash that starts no control word";
            if (!letter)
                ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            return "a closing brace without an opening one";
        }
    }
    return depth == 0 ? "" : "an opening brace that is never closed";
}

class SkelmarIniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        config_ = ConfigFile::Open(SKELMAR_INI);
        ASSERT_TRUE(config_) << SKELMAR_INI;
    }
    std::string Value(std::string_view section, std::string_view key) const
    {
        return config_->Value(section, key);
    }
    std::unique_ptr<ConfigFile> config_;
};

TEST_F(SkelmarIniTest, FileIsCodePage1252WithCrLfLineEnds)
{
    const std::string bytes = ReadBytes(SKELMAR_INI);
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte order mark";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        SCOPED_TRACE(i);
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a line end without CR";
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "a lone CR";
        }
        // Bytes the code page leaves undefined, and controls other than the line ends.
        ASSERT_FALSE(c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D);
        ASSERT_FALSE(c < 0x20 && c != '\r' && c != '\n');
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "the last line is ended too";
}

TEST_F(SkelmarIniTest, EveryStationOfTheFactsOnceWithItsZone)
{
    const std::vector<StationFact> facts = ReadStationFacts();
    ASSERT_EQ(facts.size(), 69u);
    const std::vector<std::string> entries = config_->SectionEntries("STATIONS");

    for (const StationFact& fact : facts) {
        SCOPED_TRACE(fact.code);
        const std::string inParentheses = "(" + fact.code + ")";
        std::vector<std::string> matches;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(matches),
                     [&](const std::string& e) { return e.find(inParentheses) != std::string::npos; });
        ASSERT_EQ(matches.size(), 1u) << "the map picks the first entry holding the code";
        const std::string& entry = matches.front();
        const std::string display = StationDisplayText(entry);
        EXPECT_EQ(StationCodeOf(entry), fact.code) << entry;
        EXPECT_TRUE(display.ends_with(", " + fact.state + " " + inParentheses)) << display;
        EXPECT_EQ(ExtractField(entry, '=', 2), fact.zone) << entry;
        // Arizona keeps standard time all year.
        EXPECT_EQ(Value("TIMEZONES", fact.code) == "America/Phoenix", fact.noDst) << entry;
    }
}

TEST_F(SkelmarIniTest, StationsInAlphabeticalOrder)
{
    const std::vector<std::string> entries = config_->SectionEntries("STATIONS");
    ASSERT_FALSE(entries.empty());
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
}

// Every entry of the shipped list and of a file in the old 69-station form: a code of its own,
// one "=", and a zone that the system's tz database holds.
TEST_F(SkelmarIniTest, EveryEntryParsesWithAUniqueCodeAndAKnownZone)
{
    const TVeskRegistryTimeZones zones;
    ASSERT_NE(zones.FindByKeyName("Eastern Standard Time"), nullptr) << "no tz database at " << SystemZoneDirectory();
    for (const char* path : {SKELMAR_INI, SKELMAR_OLD_INI}) {
        SCOPED_TRACE(path);
        const auto config = ConfigFile::Open(path);
        ASSERT_TRUE(config);
        const std::vector<std::string> entries = config->SectionEntries("STATIONS");
        std::set<std::string> codes;
        for (const std::string& entry : entries) {
            SCOPED_TRACE(entry);
            EXPECT_EQ(ExtractField(entry, '=', 3), "") << "one \"=\" only";
            try {
                const StationEntry station = ParseStationEntry(entry);
                EXPECT_TRUE(codes.insert(station.code).second) << "a code of its own";
                const TIME_ZONE_INFORMATION zone = StationTimeZone(entry, *config, &zones, SystemZoneDirectory());
                EXPECT_GE(zone.Bias, 4 * 60);
                EXPECT_LE(zone.Bias, 10 * 60);
            } catch (const Error& error) {
                ADD_FAILURE() << error.what();
            }
        }
        EXPECT_EQ(codes.size(), entries.size());
    }
}

TEST_F(SkelmarIniTest, TheWholeGuidanceIsListed)
{
    const std::vector<std::string> entries = config_->SectionEntries("STATIONS");
    for (const std::string_view wanted : {"Garden City, KS (GCK)=6", "Dickinson, ND (DIK)=7", "Anchorage, AK (PANC)=9",
                                          "Honolulu, HI (PHNL)=10", "San Juan, PR (TJSJ)=4"})
        EXPECT_NE(std::find(entries.begin(), entries.end(), wanted), entries.end()) << wanted;
    EXPECT_GT(entries.size(), 2000u);
}

// Each side of the lines that split states, Arizona and the Navajo Nation, and the zones
// outside the contiguous states, as the generator found them from the coordinates.
TEST_F(SkelmarIniTest, ZonesOfTheSplitStatesAndBeyond)
{
    struct Expectation {
        int line;
        std::string_view entry;
        std::string_view zone;  // [TIMEZONES]; "" when the index's own zone
    };
    const Expectation kExpect[] = {
        {__LINE__, "Pensacola, FL (PNS)=6", ""},             // Florida's panhandle
        {__LINE__, "Tallahassee, FL (TLH)=5", ""},
        {__LINE__, "Knoxville, TN (TYS)=5", ""},             // east Tennessee
        {__LINE__, "Nashville, TN (BNA)=6", ""},
        {__LINE__, "El Paso, TX (ELP)=7", ""},               // west Texas
        {__LINE__, "Goodland, KS (GLD)=7", ""},              // west Kansas
        {__LINE__, "Scottsbluff, NE (BFF)=7", ""},           // west Nebraska
        {__LINE__, "Rapid City, SD (RAP)=7", ""},
        {__LINE__, "Dickinson, ND (DIK)=7", ""},
        {__LINE__, "Ontario, OR (ONO)=7", "America/Boise"},  // east Oregon
        {__LINE__, "Boise, ID (BOI)=7", "America/Boise"},
        {__LINE__, "Indianapolis, IN (IND)=5", "America/Indiana/Indianapolis"},
        {__LINE__, "Detroit Metro, MI (DTW)=5", "America/Detroit"},
        {__LINE__, "Phoenix, AZ (PHX)=7", "America/Phoenix"},
        {__LINE__, "Window Rock, AZ (RQE)=7", ""},            // the Navajo Nation keeps daylight time
        {__LINE__, "Anchorage, AK (PANC)=9", "America/Anchorage"},
        {__LINE__, "Adak Is, AK (PADK)=10", "America/Adak"},
        {__LINE__, "Honolulu, HI (PHNL)=10", "Pacific/Honolulu"},
        {__LINE__, "San Juan, PR (TJSJ)=4", "America/Puerto_Rico"},
    };
    const std::vector<std::string> entries = config_->SectionEntries("STATIONS");
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_NE(std::find(entries.begin(), entries.end(), e.entry), entries.end()) << e.entry;
        EXPECT_EQ(Value("TIMEZONES", StationCodeOf(e.entry)), e.zone);
    }
}

TEST_F(SkelmarIniTest, BulletinAddressIsFormedAroundTheStationCode)
{
    const std::string address = Value("INTERNET", "C_ZOZI14_TEXTSERVER") + "BOS" +
                                Value("INTERNET", "C_FOUS_TEXT_EXT");
    EXPECT_TRUE(address.starts_with("https://")) << address;
    EXPECT_TRUE(address.ends_with("sta=KBOS")) << address;
    // A four-letter code is the whole identifier.
    const std::string anchorage = Value("INTERNET", "C_ZOZI14_TEXTSERVER_ICAO") + "PANC" +
                                  Value("INTERNET", "C_FOUS_TEXT_EXT");
    EXPECT_TRUE(anchorage.starts_with("https://")) << anchorage;
    EXPECT_TRUE(anchorage.ends_with("sta=PANC")) << anchorage;
    EXPECT_EQ(Value("INTERNET", "C_FOUS_TEXT_HTML"), "PRE");
}

TEST_F(SkelmarIniTest, TemplatesHoldOnePlaceholderPerArgument)
{
    struct Expectation {
        int line;
        const char* section;
        const char* key;
        int minimum;  // "%s" the report fills
        int maximum;
    };
    const Expectation kExpect[] = {
        {__LINE__, "TEMP", "TEMP", 1, 1},
        {__LINE__, "TEMP", "DEWPT", 1, 1},
        {__LINE__, "CLDS", "CLDS", 1, 1},
        {__LINE__, "VIS", "VIS1", 1, 1},
        {__LINE__, "VIS", "VIS2", 2, 2},          // visibility, obstruction
        {__LINE__, "WIND", "WIND", 2, 2},         // direction, speed
        {__LINE__, "PTYPE", "PTYPE", 1, 1},
        {__LINE__, "PROBABILITIES", "Intro6", 1, 1},
        {__LINE__, "PROBABILITIES", "Intro12", 1, 1},
        {__LINE__, "PROBABILITIES", "Precip", 1, 2},
        {__LINE__, "PROBABILITIES", "TS", 2, 2},  // thunderstorm, severe
        {__LINE__, "QPF", "QPF", 1, 1},
        {__LINE__, "PROBABILITIES", "Intro24", 1, 1},
        {__LINE__, "PROBABILITIES", "Intro18", 1, 1},
        {__LINE__, "TEMP", "Max", 1, 1},
        {__LINE__, "TEMP", "Min", 1, 1},
        {__LINE__, "SNOW", "SNOW", 1, 1},
        {__LINE__, "CIG", "Feet", 1, 1},
        {__LINE__, "VIS", "Miles", 1, 1},
        {__LINE__, "VIS", "Mile", 1, 1},
        // Texts used alone, without arguments.
        {__LINE__, "GENERAL", "Heading", 0, 0},
        {__LINE__, "TEMP", "NoReport", 0, 0},
        {__LINE__, "VIS", "9", 0, 0},
        {__LINE__, "WIND", "Calm", 0, 0},
        {__LINE__, "WIND", "NoReport", 0, 0},
        {__LINE__, "QPF", "9", 0, 0},
        {__LINE__, "QPF", "29", 0, 0},
        {__LINE__, "TEMP", "DEWPTMissing", 0, 0},
        {__LINE__, "TEMP", "MaxMissing", 0, 0},
        {__LINE__, "TEMP", "MinMissing", 0, 0},
        {__LINE__, "PROBABILITIES", "PrecipMissing", 0, 0},
        {__LINE__, "PROBABILITIES", "TSMissing", 0, 0},
        {__LINE__, "SNOW", "9", 0, 0},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::string text = Value(e.section, e.key);
        EXPECT_FALSE(text.empty()) << "[" << e.section << "] " << e.key;
        const int count = CountPlaceholders(text);
        EXPECT_GE(count, e.minimum) << text;
        EXPECT_LE(count, e.maximum) << text;
        // Any other "%" directive would be copied into the report as it stands.
        EXPECT_EQ(std::count(text.begin(), text.end(), '%'), count) << text;
    }
}

TEST_F(SkelmarIniTest, EveryBulletinCodeHasAText)
{
    const std::map<std::string, std::vector<std::string>> kCodes = {
        {"CLDS", {"CL", "FW", "SC", "BK", "OV"}},
        // The old layout's ceiling and visibility categories, and those of the GFS and NAM
        // guidance (C, V); 9 marks a missing ceiling forecast.
        {"CIG", {"1", "2", "3", "4", "5", "6", "7", "9", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"}},
        {"VIS", {"1", "2", "3", "4", "5", "V1", "V2", "V3", "V4", "V5", "V6", "V7"}},
        {"OBVIS", {"N", "F", "H", "HZ", "BR", "FG", "BL"}},
        {"PTYPE", {"R", "S", "Z", "RS"}},
        {"SNOW", {"0", "1", "2", "4", "6", "8"}},
        {"QPF", {"0", "1", "2", "3", "4", "5", "20", "21", "22", "23", "24", "25", "26"}},
    };
    for (const auto& [section, codes] : kCodes)
        for (const std::string& code : codes) {
            const std::string text = Value(section, code);
            EXPECT_FALSE(text.empty()) << "[" << section << "] " << code;
            EXPECT_EQ(CountPlaceholders(text), 0) << "[" << section << "] " << code;
        }
}

// The sky sentence is finished by the ceiling text or by "."; the obstruction text continues
// the visibility sentence; a period's introduction runs straight into the next sentence.
TEST_F(SkelmarIniTest, PiecesJoinIntoSentences)
{
    const std::string sky = Value("CLDS", "CLDS");
    EXPECT_FALSE(sky.ends_with(".") || sky.ends_with(" ")) << sky;
    for (const char* code : {"1", "2", "3", "4", "5", "6", "7", "9", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8",
                             "Feet"}) {
        SCOPED_TRACE(code);
        const std::string ceiling = Value("CIG", code);
        EXPECT_TRUE(ceiling.starts_with(" ") && ceiling.ends_with(".")) << '"' << ceiling << '"';
    }

    const std::string withObstruction = Value("VIS", "VIS2");
    EXPECT_NE(withObstruction.find("%s%s"), std::string::npos)
        << "an unknown obstruction (the empty text) must leave no gap: " << withObstruction;
    for (const char* code : {"N", "F", "H", "HZ", "BR", "FG", "BL"}) {
        SCOPED_TRACE(code);
        const std::string obstruction = Value("OBVIS", code);
        EXPECT_TRUE(obstruction.starts_with(" ") && !obstruction.ends_with("."))
            << '"' << obstruction << '"';
    }

    for (const char* key : {"Intro6", "Intro12", "Intro24"}) {
        SCOPED_TRACE(key);
        const std::string intro = Value("PROBABILITIES", key);
        EXPECT_TRUE(intro.ends_with(" ") || intro.ends_with(".")) << '"' << intro << '"';
    }

    // Every other sentence ends with a full stop, which brings the blank after it.
    const std::pair<const char*, const char*> kSentences[] = {
        {"TEMP", "TEMP"}, {"TEMP", "DEWPT"}, {"TEMP", "NoReport"}, {"VIS", "VIS1"},
        {"VIS", "VIS2"}, {"VIS", "9"}, {"WIND", "WIND"}, {"WIND", "Calm"},
        {"WIND", "NoReport"}, {"PTYPE", "PTYPE"}, {"PROBABILITIES", "Precip"},
        {"PROBABILITIES", "TS"}, {"QPF", "QPF"}, {"QPF", "9"}, {"QPF", "29"},
        {"TEMP", "Max"}, {"TEMP", "Min"}, {"TEMP", "MaxMissing"}, {"TEMP", "MinMissing"},
        {"TEMP", "DEWPTMissing"}, {"PROBABILITIES", "PrecipMissing"}, {"PROBABILITIES", "TSMissing"},
        {"SNOW", "SNOW"}, {"SNOW", "9"},
    };
    for (const auto& [section, key] : kSentences)
        EXPECT_TRUE(Value(section, key).ends_with(".")) << "[" << section << "] " << key;
}

TEST_F(SkelmarIniTest, GraphCaptionsAndSkyCover)
{
    // Every word of the graph: none may be missing.
    for (const char* key : {"Temperature", "DewPoint", "Clouds", "Wind", "Category", "LIFR", "IFR", "MVFR", "VFR",
                            "ProbabilityAxis", "Precipitation6", "Precipitation12", "Thunderstorms6",
                            "Thunderstorms12", "Maximum", "Minimum", "NoTable"}) {
        const std::string text = Value("GRAPH", key);
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_EQ(CountPlaceholders(text), 0) << key;
    }
    EXPECT_EQ(CountPlaceholders(Value("GRAPH", "Title")), 2);  // station, issue time
    EXPECT_EQ(CountPlaceholders(Value("GRAPH", "TemperatureAxis")), 1);

    // A symbol for every cloud cover code, more sky covered from clear to overcast.
    int eighths = -1;
    for (const char* code : {"CL", "FW", "SC", "BK", "OV"}) {
        SCOPED_TRACE(code);
        const std::string cover = Value("GRAPH", std::string("Cover") + code);
        ASSERT_EQ(cover.size(), 1u);
        ASSERT_TRUE(cover[0] >= '0' && cover[0] <= '8') << cover;
        EXPECT_GT(cover[0] - '0', eighths);
        eighths = cover[0] - '0';
    }
    EXPECT_EQ(eighths, 8);
}

TEST_F(SkelmarIniTest, NoTextHoldsStrayRichText)
{
    for (const char* section : {"GENERAL", "TEMP", "CLDS", "CIG", "VIS", "OBVIS", "WIND",
                                "PTYPE", "PROBABILITIES", "QPF", "STATIONS"}) {
        const std::vector<std::string> entries = config_->SectionEntries(section);
        EXPECT_FALSE(entries.empty()) << section;
        for (const std::string& entry : entries) {
            SCOPED_TRACE(entry);
            // The key goes into the report too, for the stations.
            EXPECT_EQ(RichTextFault(entry), "");
        }
    }
}

TEST(RichTextFault, FindsStrayBackslashesAndBraces)
{
    struct Expectation {
        int line;
        const char* text;
        bool sound;
    };
    const Expectation kExpect[] = {
        {__LINE__, "plain text", true},
        {__LINE__, "first\\par second", true},     // a control word
        {__LINE__, "\\b bold\\b0", true},
        {__LINE__, "{\\i grouped}", true},
        {__LINE__, "escaped \\{ \\} \\\\", true},
        {__LINE__, "C:\\Temp", false},               // control words are lower case
        {__LINE__, "trailing \\", false},
        {__LINE__, "a \\1 digit", false},
        {__LINE__, "open {", false},
        {__LINE__, "close }", false},
        {__LINE__, "} then {", false},
        {__LINE__, "escaped then open \\{{", false},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(RichTextFault(e.text).empty(), e.sound) << e.text;
    }
}

}  // namespace
}  // namespace skelmar
