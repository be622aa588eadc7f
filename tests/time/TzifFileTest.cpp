#include "time/TzifFile.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "TzifWriter.h"

namespace skelmar {
namespace {

using test::TzifContent;
using test::WriteTzif;

std::string ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(SKELMAR_FIXTURES) + "/tzif/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TzifFooter, FindsTheTzStringBehindBothDataBlocks)
{
    struct Expectation {
        int line;
        TzifContent content;
    };
    const Expectation kExpect[] = {
        {__LINE__, {'2', 0, 0, "EST5EDT,M3.2.0,M11.1.0"}},
        {__LINE__, {'3', 0, 0, "<-04>4<-03>,M9.1.6/24,M4.1.6/24"}},
        {__LINE__, {'4', 0, 0, "MST7"}},
        {__LINE__, {'2', 3, 0, "EST5EDT,M3.2.0,M11.1.0"}},  // 4- and 8-byte times differ
        {__LINE__, {'2', 0, 2, "EST5EDT,M3.2.0,M11.1.0"}},  // so do leap-second records
        {__LINE__, {'3', 200, 27, "CST6CDT,M3.2.0,M11.1.0"}},
        {__LINE__, {'2', 0, 0, ""}},  // a zone without a rule: an empty string, still found
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::string file = WriteTzif(e.content);
        EXPECT_EQ(TzifFooter(file), std::optional<std::string_view>(e.content.footer));
        // Whatever follows the footer is not part of it.
        EXPECT_EQ(TzifFooter(file + "trailing\n"),
                  std::optional<std::string_view>(e.content.footer));
    }
}

TEST(TzifFooter, RealZoneFiles)
{
    struct Expectation {
        int line;
        const char* fixture;
        std::string_view footer;
    };
    const Expectation kExpect[] = {
        {__LINE__, "America_New_York", "EST5EDT,M3.2.0,M11.1.0"},
        {__LINE__, "America_Phoenix", "MST7"},
        {__LINE__, "Australia_Sydney", "AEST-10AEDT,M10.1.0,M4.1.0/3"},
        {__LINE__, "America_Santiago", "<-04>4<-03>,M9.1.6/24,M4.1.6/24"},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const std::string file = ReadFixture(e.fixture);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(TzifFooter(file), std::optional<std::string_view>(e.footer));
    }
}

TEST(TzifFooter, EveryTruncationIsRefused)
{
    const std::string file = WriteTzif({'2', 5, 1, "EST5EDT,M3.2.0,M11.1.0"});
    ASSERT_TRUE(TzifFooter(file));
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_EQ(TzifFooter(std::string_view(file).substr(0, size)), std::nullopt);
    }
}

TEST(TzifFooter, ErrorCases)
{
    const std::string valid = WriteTzif({'2', 2, 0, "EST5EDT,M3.2.0,M11.1.0"});
    const std::size_t secondHeader = valid.find("TZif", 4);
    ASSERT_NE(secondHeader, std::string::npos);

    // `valid` with its bytes from `at` on replaced by `bytes`.
    const auto patched = [&valid](std::size_t at, std::string_view bytes) {
        std::string file = valid;
        file.replace(at, bytes.size(), bytes);
        return file;
    };
    // `valid` with other counts in its second header whose data block has the same size
    // (6 bytes per type, one byte per designation character and per indicator).
    const auto recounted = [&](std::uint32_t isUt, std::uint32_t isStd, std::uint32_t types,
                               std::uint32_t chars) {
        std::string file = valid;
        const std::pair<std::size_t, std::uint32_t> counts[] = {
            {20, isUt}, {24, isStd}, {36, types}, {40, chars}};
        for (const auto& [offset, count] : counts) {
            std::string bytes;
            test::AppendBigEndian(bytes, count, 4);
            file.replace(secondHeader + offset, 4, bytes);
        }
        return file;
    };
    ASSERT_EQ(TzifFooter(recounted(0, 0, 1, 6)),
              std::optional<std::string_view>("EST5EDT,M3.2.0,M11.1.0"));

    struct Expectation {
        int line;
        std::string file;
    };
    const Expectation kExpect[] = {
        {__LINE__, ""},
        {__LINE__, "TZif"},
        {__LINE__, "EST5EDT,M3.2.0,M11.1.0\n"},
        {__LINE__, std::string(200, '\xFF')},
        {__LINE__, WriteTzif({'\0', 2, 0, ""})},                     // version 1 only
        {__LINE__, WriteTzif({'\0', 2, 0, ""}) + "\nEST5\n"},         // ... with a stray footer
        {__LINE__, patched(0, "TZiF")},                              // magic
        {__LINE__, patched(4, "1")},                                 // version "1"
        {__LINE__, patched(secondHeader, "XZif")},                   // magic of the 2nd header
        {__LINE__, recounted(0, 0, 0, 12)},                          // no local time types
        {__LINE__, recounted(0, 0, 2, 0)},                           // no designations
        {__LINE__, recounted(2, 0, 1, 4)},                           // indicators for 2 of 1
        {__LINE__, recounted(0, 2, 1, 4)},
        {__LINE__, patched(32, "\xFF\xFF\xFF\xFF")},                 // v1 timecnt 2^32 - 1
        {__LINE__, patched(secondHeader + 32, "\xFF\xFF\xFF\xFF")},  // v2 timecnt 2^32 - 1
        {__LINE__, patched(secondHeader + 28, "\x7F\xFF\xFF\xFF")},  // v2 leapcnt huge
        {__LINE__, valid.substr(0, valid.size() - 1)},               // footer not closed
        {__LINE__, patched(valid.size() - 24, "X")},                 // footer not opened
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(TzifFooter(e.file), std::nullopt);
    }
}

}  // namespace
}  // namespace skelmar
