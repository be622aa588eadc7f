#include "retrieval/GifPicture.h"

namespace skelmar {

namespace {

constexpr std::size_t kHeaderLength = 6;           // "GIF89a"
constexpr std::size_t kScreenDescriptorLength = 7; // width, height, flags, background, aspect
constexpr std::size_t kImageDescriptorLength = 9;  // left, top, width, height, flags

// A colour table follows a descriptor whose flags have the top bit set; it holds
// 2^(size + 1) entries of 3 bytes, size being the low three bits: [6, 768] bytes.
std::size_t ColourTableLength(char flags)
{
    const auto bits = static_cast<unsigned char>(flags);
    return (bits & 0x80) != 0 ? std::size_t{3} << ((bits & 0x07) + 1) : 0;
}

// Data sub-blocks from `at`: a length byte and that many bytes each, a length 0 ending them.
// Where they end, or std::nullopt when the bytes end first.
std::optional<std::size_t> SkipSubBlocks(std::string_view bytes, std::size_t at)
{
    while (at < bytes.size()) {
        const std::size_t length = static_cast<unsigned char>(bytes[at]);
        ++at;
        if (length == 0)
            return at;
        at += length;  // beyond the end when the block is cut short: the loop ends
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> GifPictureLength(std::string_view bytes)
{
    const std::string_view header = bytes.substr(0, kHeaderLength);
    if ((header != "GIF87a" && header != "GIF89a") || bytes.size() < kHeaderLength + kScreenDescriptorLength)
        return std::nullopt;
    // The flags are the fifth byte of the screen descriptor.
    std::size_t at = kHeaderLength + kScreenDescriptorLength + ColourTableLength(bytes[kHeaderLength + 4]);
    while (at < bytes.size()) {
        const char introducer = bytes[at++];
        if (introducer == ';')
            return at;
        std::optional<std::size_t> next;  // stays empty for a block of another kind
        if (introducer == '!') {
            // An extension: its label byte, then its sub-blocks.
            next = SkipSubBlocks(bytes, at + 1);
        } else if (introducer == ',') {
            // An image: the descriptor (flags last), a colour table, the LZW code size byte,
            // then the sub-blocks of the compressed data.
            if (bytes.size() - at < kImageDescriptorLength)
                return std::nullopt;
            next = SkipSubBlocks(bytes, at + kImageDescriptorLength +
                                            ColourTableLength(bytes[at + kImageDescriptorLength - 1]) + 1);
        }
        if (!next)
            return std::nullopt;
        at = *next;
    }
    return std::nullopt;
}

}  // namespace skelmar
