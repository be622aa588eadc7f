#pragma once
// The downloaded forecast picture on disk. It lives in the user's own cache folder rather than
// a shared one, and it is replaced in one step, so the window never loads a half-written
// picture and another user cannot plant a file in its place.

#include <filesystem>
#include <string_view>

namespace skelmar {

// "Temp.gif" in the folder "skelmar" of the user's cache directory: $XDG_CACHE_HOME when it is
// an absolute path, else $HOME/.cache, else the home folder of the user's account. Creates the
// folder when it is missing (the last level with mode 0700; an existing folder is left as it
// is). Throws Error("Cannot create file <path>") when the folder cannot be made.
std::filesystem::path PictureFilePath();

// Replaces the file at `path` by `bytes` by the rules of OutputFile (text/OutputFile.h): a
// temporary file in the same folder renamed over `path`; a FIFO there is not waited for. It
// is not flushed to disk: the picture is read back at once and
// written anew by every download, so surviving a crash is worth nothing, and the flush took
// longer than all the rest of a station change. Throws Error("Cannot create file <path>") when
// any step fails; the file at `path` is then as it was before and no temporary file is left.
void WritePictureFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace skelmar
