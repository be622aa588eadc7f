#pragma once
// The block structure of a GIF picture. The window's decoder shows a picture whose data was
// cut short as far as it goes, the rest blank; a forecast graph with a part missing must not
// pass for a whole one, so the window also checks that the data runs to the picture's end.

#include <cstddef>
#include <optional>
#include <string_view>

namespace skelmar {

// The length of the GIF picture at the start of `bytes`, up to and including its trailer
// byte ";": the header "GIF87a" or "GIF89a", the screen descriptor and its colour table, then
// extension and image blocks (each with its data sub-blocks) up to the trailer. Bytes after
// the trailer are not looked at. std::nullopt when the bytes end before the trailer, when
// the header is not a GIF header, or at a block that is neither an extension, an image nor
// the trailer. Does not decode the image data.
std::optional<std::size_t> GifPictureLength(std::string_view bytes);

}  // namespace skelmar
