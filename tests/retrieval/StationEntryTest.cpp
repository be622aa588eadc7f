#include "retrieval/StationEntry.h"

#include <gtest/gtest.h>

#include "tests/support/MemoryConfigTexts.h"
#include "text/Error.h"

namespace skelmar {
namespace {

TEST(StationEntry, DisplayTextAndCode)
{
    struct Expectation {
        int line;
        std::string_view entry, display, code;
    };
    const Expectation kExpect[] = {
        {__LINE__, "Denver, CO (DEN)=7", "Denver, CO (DEN)", "DEN"},
        {__LINE__, "Denver (DEN)", "Denver (DEN)", "DEN"},  // no "=": shown whole
        {__LINE__, "Odd (DE", "Odd (DE", "DE"},             // the entry ends sooner
        {__LINE__, "(A)(B)=5", "(A)(B)", "A)("},
        {__LINE__, "NoParens=5", "NoParens", "NoP"},
        {__LINE__, "", "", ""},
        {__LINE__, "x=(BOS)", "x", "BOS"},                  // "(" anywhere in the entry
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(StationDisplayText(e.entry), e.display);
        EXPECT_EQ(StationCodeOf(e.entry), e.code);
    }
}

TEST(StationEntry, ZoneName)
{
    const MemoryConfigTexts config = {{"TIMEZONES", "PHX", "US Mountain Standard Time"}};
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
        {__LINE__, "Nowhere (NOW)=9", std::nullopt},
        {__LINE__, "Nowhere (NOW)=4", std::nullopt},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(StationZoneName(e.entry, config), e.zone);
    }
}

TEST(StationEntry, ErrorCases)
{
    const MemoryConfigTexts config;
    for (const auto& [entry, message] :
         {std::pair{"Boston (BOS)=x", "'x' is not a valid integer value"},
          std::pair{"Boston (BOS)", "'' is not a valid integer value"},
          std::pair{"", "'' is not a valid integer value"}}) {
        try {
            StationZoneName(entry, config);
            ADD_FAILURE() << entry;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

}  // namespace
}  // namespace skelmar
