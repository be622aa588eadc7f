#include "time/TzifFile.h"

#include <cstdint>

namespace skelmar {

namespace {

constexpr std::size_t kHeaderSize = 44;

struct TzifHeader {
    char version = 0;
    std::uint64_t isUtCount = 0;
    std::uint64_t isStdCount = 0;
    std::uint64_t leapCount = 0;
    std::uint64_t timeCount = 0;
    std::uint64_t typeCount = 0;
    std::uint64_t charCount = 0;
};

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The header at the start of `bytes`, or nullopt when there is none.
std::optional<TzifHeader> ReadHeader(std::string_view bytes)
{
    if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != "TZif")
        return std::nullopt;
    TzifHeader header;
    header.version = bytes[4];
    header.isUtCount = BigEndian32(bytes, 20);
    header.isStdCount = BigEndian32(bytes, 24);
    header.leapCount = BigEndian32(bytes, 28);
    header.timeCount = BigEndian32(bytes, 32);
    header.typeCount = BigEndian32(bytes, 36);
    header.charCount = BigEndian32(bytes, 40);
    return header;
}

// Size of the data block that follows `header`, with transition times of `timeSize` bytes
// (4 in version 1 data, 8 after it). Each count is below 2^32, so the sum stays far below
// 2^64.
std::uint64_t DataBlockSize(const TzifHeader& header, std::uint64_t timeSize)
{
    return header.timeCount * timeSize  // transition times
           + header.timeCount           // transition types
           + header.typeCount * 6       // local time type records
           + header.charCount           // designations
           + header.leapCount * (timeSize + 4)
           + header.isStdCount + header.isUtCount;
}

bool FollowsFormatRules(const TzifHeader& header)
{
    return header.typeCount != 0 && header.charCount != 0 &&
           (header.isUtCount == 0 || header.isUtCount == header.typeCount) &&
           (header.isStdCount == 0 || header.isStdCount == header.typeCount);
}

}  // namespace

std::optional<std::string_view> TzifFooter(std::string_view file)
{
    const std::optional<TzifHeader> first = ReadHeader(file);
    if (!first || first->version < '2' || first->version > '9')
        return std::nullopt;
    const std::uint64_t v1Size = DataBlockSize(*first, 4);
    if (v1Size > file.size() - kHeaderSize)
        return std::nullopt;
    std::string_view rest = file.substr(kHeaderSize + v1Size);

    const std::optional<TzifHeader> second = ReadHeader(rest);
    if (!second || !FollowsFormatRules(*second))
        return std::nullopt;
    const std::uint64_t v2Size = DataBlockSize(*second, 8);
    if (v2Size > rest.size() - kHeaderSize)
        return std::nullopt;
    rest = rest.substr(kHeaderSize + v2Size);

    if (rest.empty() || rest.front() != '\n')
        return std::nullopt;
    const std::size_t end = rest.find('\n', 1);
    if (end == std::string_view::npos)
        return std::nullopt;
    return rest.substr(1, end - 1);
}

}  // namespace skelmar
