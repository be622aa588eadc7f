#include "retrieval/PictureFile.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "retrieval/ProgramFiles.h"
#include "text/Error.h"

namespace skelmar {

namespace {

constexpr const char* kPictureName = "Temp.gif";

[[noreturn]] void ThrowCannotCreate(const std::filesystem::path& path)
{
    throw Error("Cannot create file " + path.string());
}

// Closes the descriptor it holds, and removes the file it names unless released.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void Release() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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
    // A hidden name beside the picture, so that the rename stays within one file system.
    std::filesystem::path hidden = path.parent_path();
    hidden /= std::string(".").append(path.filename().string()).append(".XXXXXX");
    std::string pattern = hidden.string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowCannotCreate(path);
    TemporaryFile temporary(fd, pattern);
    if (!WriteAll(temporary.Fd(), bytes) || !temporary.Close())
        ThrowCannotCreate(path);
    if (::rename(temporary.Path().c_str(), path.c_str()) != 0)
        ThrowCannotCreate(path);
    temporary.Release();
}

}  // namespace skelmar
