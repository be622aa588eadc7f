#include "retrieval/GifPicture.h"

#include <string>

#include <gtest/gtest.h>

namespace skelmar {
namespace {

using namespace std::string_literals;

// 2 x 2 pixels, a global colour table of two colours, a graphic control extension, one image.
const std::string kTwoByTwo =
    "GIF89a\x02\x00\x02\x00\xf0\x00\x00"                     // header, screen descriptor
    "\xff\x00\x00\x00\x00\x00"                               // global colour table (2 x 3)
    "!\xf9\x04\x00\x00\x00\x00\x00"                          // graphic control extension
    ",\x00\x00\x00\x00\x02\x00\x02\x00\x00"                  // image descriptor
    "\x02\x02\x84\x51\x00"                                   // code size, one sub-block, end
    ";"s;

TEST(GifPictureLength, WholePictures)
{
    struct Expectation {
        int line;
        std::string bytes;
        std::size_t length;
    };
    const Expectation kExpect[] = {
        {__LINE__, kTwoByTwo, kTwoByTwo.size()},
        {__LINE__, kTwoByTwo + "trailing bytes", kTwoByTwo.size()},  // not looked at
        {__LINE__, "GIF87a\x01\x00\x01\x00\x00\x00\x00;"s, 14},      // no colour table, no image
        // A local colour table of 4 entries (flags 0x81) and two sub-blocks of data.
        {__LINE__, "GIF89a\x01\x00\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x81"
                   "abcdefghijkl\x02\x01z\x02yy\x00;"s, 43},
        // A comment extension of two sub-blocks, then the trailer.
        {__LINE__, "GIF89a\x01\x00\x01\x00\x00\x00\x00!\xfe\x02hi\x01!\x00;"s, 22},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(GifPictureLength(e.bytes), e.length);
    }
}

TEST(GifPictureLength, ErrorCases)
{
    struct Expectation {
        int line;
        std::string bytes;
    };
    const Expectation kExpect[] = {
        {__LINE__, ""},
        {__LINE__, "<html>Not here</html>"},
        {__LINE__, "GIF88a\x01\x00\x01\x00\x00\x00\x00;"s},    // no GIF version
        {__LINE__, "GIF89a\x01\x00\x01\x00\x00\x00\x00\xa5;"s}, // a block of no known kind
        {__LINE__, "GIF89a" + std::string(200, '\xa5')},        // garbage after the header
        {__LINE__, "GIF89a\x01\x00\x01\x00\x80\x00\x00;"s},     // the colour table is missing
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(GifPictureLength(e.bytes), std::nullopt);
    }
}

// A download cut short anywhere, in a header, a colour table, a descriptor or a sub-block,
// is no whole picture.
TEST(GifPictureLength, EveryCutShortPictureIsRefused)
{
    for (std::size_t length = 0; length < kTwoByTwo.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_EQ(GifPictureLength(kTwoByTwo.substr(0, length)), std::nullopt);
    }
}

}  // namespace
}  // namespace skelmar
