#include "retrieval/ConfigFile.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace skelmar {
namespace {

namespace fs = std::filesystem;

// A configuration file with the given bytes in a fresh temporary folder.
class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("skelmar-config-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(std::string_view bytes, const std::string& name = "Skelmar.ini")
    {
        const fs::path path = dir_ / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path dir_;
};

TEST_F(ConfigFileTest, ReadingRules)
{
    const auto config = ConfigFile::Open(Write(
        "; a comment = not a key\r\n"
        "key before any section=x\r\n"
        "[GENERAL]\r\n"
        "Heading=Forecast for\r\n"
        "  Spaced Key  =   spaced value   \r\n"
        "Quoted=\"  keeps its blanks  \"\r\n"
        "Single=' single '\r\n"
        "Unbalanced=\"only one\r\n"
        "Mixed=\"a'\r\n"
        "Equals=a=b=c\r\n"
        "Empty=\r\n"
        "no equals sign\r\n"
        "stray ]\r\n"
        "=no key\r\n"
        "Heading=second occurrence\r\n"
        "  ;Indented=comment\r\n"
        "[TEMP]\r\n"
        "TEMP=The temperature will be %s.\r\n"
        "[general]\r\n"
        "Late=in a second section of the same name\r\n"));
    ASSERT_TRUE(config);
    struct Expectation {
        int line;
        std::string_view section, key, value;
    };
    const Expectation kExpect[] = {
        {__LINE__, "GENERAL", "Heading", "Forecast for"},
        {__LINE__, "general", "HEADING", "Forecast for"},  // case-insensitive, first occurrence
        {__LINE__, "GENERAL", "Spaced Key", "spaced value"},
        {__LINE__, "GENERAL", "Quoted", "  keeps its blanks  "},
        {__LINE__, "GENERAL", "Single", " single "},
        {__LINE__, "GENERAL", "Unbalanced", "\"only one"},
        {__LINE__, "GENERAL", "Mixed", "\"a'"},
        {__LINE__, "GENERAL", "Equals", "a=b=c"},  // the key ends at the first "="
        {__LINE__, "GENERAL", "Empty", ""},
        {__LINE__, "GENERAL", "Missing", ""},
        {__LINE__, "GENERAL", ";Indented", ""},
        {__LINE__, "GENERAL", "Late", ""},           // only the first section of a name counts
        {__LINE__, "TEMP", "TEMP", "The temperature will be %s."},
        {__LINE__, "NOSECTION", "TEMP", ""},
        {__LINE__, "", "key before any section", ""},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(config->Value(e.section, e.key), e.value);
    }
}

TEST_F(ConfigFileTest, LineEndsAndEncodings)
{
    struct Expectation {
        int line;
        std::string_view bytes;
        std::string_view value;  // of [S] K, code page 1252
    };
    const Expectation kExpect[] = {
        {__LINE__, "[S]\r\nK=v\r\n", "v"},
        {__LINE__, "[S]\nK=v\n", "v"},
        {__LINE__, "[S]\rK=v\r", "v"},
        {__LINE__, "[S]\nK=v", "v"},                                  // no final line end
        {__LINE__, "\xEF\xBB\xBF[S]\r\nK=v\r\n", "v"},                // byte order mark
        {__LINE__, "[S]\r\nK=72\xB0 F\r\n", "72\xB0 F"},              // code page 1252
        {__LINE__, "\xEF\xBB\xBF[S]\nK=72\xC2\xB0 F\n", "72\xB0 F"},  // UTF-8 with mark
        {__LINE__, "[S]\nK=72\xC2\xB0 F\n", "72\xB0 F"},              // UTF-8 without mark
        {__LINE__, "[S]\nK=\xE2\x82\xAC 5\n", "\x80 5"},              // euro sign
        {__LINE__, "[\xC9t\xE9]\nK=v\n", ""},                          // section \xC9t\xE9 != S
        {__LINE__, "", ""},
        {__LINE__, std::string_view("[S]\nK=a\0b\n", 10), std::string_view("a\0b", 3)},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const auto config = ConfigFile::Open(Write(e.bytes));
        ASSERT_TRUE(config);
        EXPECT_EQ(config->Value("S", "K"), e.value);
    }
    // Letters of the code page fold too.
    const auto config = ConfigFile::Open(Write("[\xC9T\xC9]\n\xC0=v\n"));
    EXPECT_EQ(config->Value("\xE9t\xE9", "\xE0"), "v");
}

TEST_F(ConfigFileTest, ValueLengthIsCapped)
{
    const std::string longValue(5000, 'x');
    const auto config = ConfigFile::Open(Write("[S]\nK=" + longValue + "\nQ=\"" + longValue + "\"\n"));
    EXPECT_EQ(config->Value("S", "K"), std::string(2047, 'x'));
    EXPECT_EQ(config->Value("S", "Q"), std::string(2047, 'x'));  // quotes go first
}

TEST_F(ConfigFileTest, SectionEntriesInFileOrder)
{
    const auto config = ConfigFile::Open(Write(
        "[INTERNET]\nX=1\n"
        "[stations]\n"
        "Boston, MA (BOS)=5\n"
        "; Albany, NY (ALB)=5\n"
        "Denver, CO (DEN) = 7\n"
        "Phoenix, AZ (PHX)=\"7\"\n"
        "Boston, MA (BOS)=9\n"
        "NoValue=\n"
        "[OTHER]\nY=2\n"));
    EXPECT_EQ(config->SectionEntries("STATIONS"),
              (std::vector<std::string>{"Boston, MA (BOS)=5", "Denver, CO (DEN)=7",
                                        "Phoenix, AZ (PHX)=7", "Boston, MA (BOS)=5", "NoValue="}));
    EXPECT_TRUE(config->SectionEntries("MISSING").empty());
}

TEST_F(ConfigFileTest, KeyListIsCappedButNotTheStationList)
{
    // 100-character keys take 101 bytes each; 162 of them fit in 16384 bytes with the final zero.
    std::string bytes = "[S]\n";
    for (int i = 0; i < 200; ++i) {
        std::string key = std::to_string(1000 + i);
        key.resize(100, 'k');
        bytes += key + "=v\n";
    }
    const auto keys = ini::SectionKeys(bytes, "S");
    EXPECT_EQ(keys.size(), 162u);
    EXPECT_EQ(keys.back().substr(0, 4), "1161");
    // The station list is read whole.
    const auto entries = ConfigFile::Open(Write(bytes))->SectionEntries("S");
    EXPECT_EQ(entries.size(), 200u);
    EXPECT_EQ(entries.back().substr(0, 4), "1199");
}

TEST_F(ConfigFileTest, OpenNeedsAnExistingFileAndReadsAtEachUse)
{
    EXPECT_FALSE(ConfigFile::Open(dir_ / "absent.ini"));
    EXPECT_FALSE(ConfigFile::Open(dir_));  // a folder is not a configuration file

    const fs::path path = Write("[S]\nK=first\n");
    const auto config = ConfigFile::Open(path);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->Value("S", "K"), "first");
    Write("[S]\nK=second\n");
    EXPECT_EQ(config->Value("S", "K"), "second");  // no copy of values is kept
    fs::remove(path);
    EXPECT_EQ(config->Value("S", "K"), "");        // gone: every read is empty
    EXPECT_TRUE(config->SectionEntries("S").empty());
}

}  // namespace
}  // namespace skelmar
