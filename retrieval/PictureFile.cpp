#include "retrieval/PictureFile.h"

#include <cerrno>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "retrieval/ProgramFiles.h"
#include "text/Error.h"
#include "text/OutputFile.h"

namespace skelmar {

namespace {

constexpr const char* kPictureName = "Temp.gif";

[[noreturn]] void ThrowCannotCreate(const std::filesystem::path& path)
{
    throw Error("Cannot create file " + path.string());
}

}  // namespace

std::filesystem::path PictureFilePath()
{
    const std::filesystem::path cache = UserBaseDirectory("XDG_CACHE_HOME", ".cache");
    const std::filesystem::path folder = cache / "skelmar";
    const std::filesystem::path path = folder / kPictureName;
    if (cache.empty())
        ThrowCannotCreate(kPictureName);
    std::error_code error;
    std::filesystem::create_directories(cache, error);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        ThrowCannotCreate(path);
    if (!std::filesystem::is_directory(folder, error))
        ThrowCannotCreate(path);
    return path;
}

void WritePictureFile(const std::filesystem::path& path, std::string_view bytes)
{
    try {
        WriteOutputFile(path, bytes, OutputOptions{.flushToDisk = false, .waitForReader = false});
    } catch (const Error&) {
        ThrowCannotCreate(path);
    }
}

}  // namespace skelmar
