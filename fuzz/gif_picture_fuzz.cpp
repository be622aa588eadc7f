// Walks any bytes as a GIF picture's blocks. A picture that runs to its trailer keeps its
// length whatever follows it, and no shorter piece of it passes for a whole picture.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "retrieval/GifPicture.h"

using skelmar::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::size_t> length = skelmar::GifPictureLength(bytes);
    if (!length)
        return 0;
    Require(*length > 13 && *length <= size && bytes[*length - 1] == ';');
    Require(skelmar::GifPictureLength(bytes.substr(0, *length)) == length);
    Require(skelmar::GifPictureLength(std::string(bytes.substr(0, *length)) + std::string("\xff\x00", 2)) == length);
    Require(!skelmar::GifPictureLength(bytes.substr(0, *length - 1)));
    return 0;
}
