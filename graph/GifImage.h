#pragma once
// The downloaded forecast picture decoded for the window, with the completeness check of
// retrieval/GifPicture.h: Qt's decoder shows a picture that was cut short as far as it goes,
// and a forecast graph with a part missing must not pass for a whole one.

#include <QImage>

#include <filesystem>

namespace skelmar {

// Reads `file` as a GIF picture, as the picture control does: the format follows the file's
// extension. Throws Error("Invalid GIF signature"), Error("Invalid GIF picture: ...") for a
// picture that does not decode, and Error("Invalid GIF picture: incomplete data") for one cut
// short (GifPictureLength finds no trailer). Safe on any thread.
QImage ReadGifPicture(const std::filesystem::path& file);

}  // namespace skelmar
