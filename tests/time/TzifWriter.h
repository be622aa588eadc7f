#pragma once
// Writes small TZif files for the tests: one local time type, the given numbers of
// transitions and leap-second records (each data block sized for its own time width, so a
// reader that confuses the two blocks misses the footer), then the footer.

#include <cstdint>
#include <string>
#include <string_view>

namespace skelmar::test {

struct TzifContent {
    char version = '2';          // '\0' writes a version 1 file: one data block, no footer
    std::uint32_t transitions = 0;
    std::uint32_t leapSeconds = 0;
    std::string footer;          // the TZ string, without its newlines
};

inline void AppendBigEndian(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string TzifHeader(char version, const TzifContent& content)
{
    std::string header = "TZif";
    header.push_back(version);
    header.append(15, '\0');
    AppendBigEndian(header, 1, 4);  // isutcnt
    AppendBigEndian(header, 1, 4);  // isstdcnt
    AppendBigEndian(header, content.leapSeconds, 4);
    AppendBigEndian(header, content.transitions, 4);
    AppendBigEndian(header, 1, 4);  // typecnt
    AppendBigEndian(header, 4, 4);  // charcnt: "STD" and its NUL
    return header;
}

inline std::string TzifDataBlock(const TzifContent& content, int timeSize)
{
    std::string block;
    for (std::uint32_t i = 0; i < content.transitions; ++i)
        AppendBigEndian(block, 1000000 + i, timeSize);
    block.append(content.transitions, '\0');  // every transition to type 0
    AppendBigEndian(block, static_cast<std::uint32_t>(-18000), 4);  // type 0: UT offset
    block += '\0';                                               // not daylight time
    block += '\0';                                               // designation index
    block.append("STD", 4);
    for (std::uint32_t i = 0; i < content.leapSeconds; ++i) {
        AppendBigEndian(block, 2000000 + i, timeSize);
        AppendBigEndian(block, i + 1, 4);
    }
    block += '\0';  // standard/wall indicator
    block += '\0';  // UT/local indicator
    return block;
}

inline std::string WriteTzif(const TzifContent& content)
{
    std::string file = TzifHeader(content.version, content) + TzifDataBlock(content, 4);
    if (content.version == '\0')
        return file;
    file += TzifHeader(content.version, content) + TzifDataBlock(content, 8);
    file += '\n' + content.footer + '\n';
    return file;
}

}  // namespace skelmar::test
