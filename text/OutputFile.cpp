#include "text/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "text/Cp1252.h"
#include "text/Error.h"

namespace skelmar {

namespace fs = std::filesystem;

namespace {

// Linux's limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;

// How much of the target's name the hidden file's name keeps.
constexpr std::size_t kMaxHiddenStem = 200;

// A path as the core's text: a UTF-8 name converted to code page 1252, another taken as it is.
std::string PathText(const fs::path& path)
{
    const std::string& bytes = path.native();
    return LooksLikeUtf8(bytes) ? Utf8ToCp1252(bytes) : bytes;
}

// A write to a pipe or socket whose reader has gone raises SIGPIPE, which ends the process
// unless handled. While this lives, SIGPIPE is held back in this thread, so that the write
// fails with EPIPE instead; a SIGPIPE raised meanwhile is taken away before the mask is put
// back. Nothing process-wide changes, so this is safe in any thread of any program.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~SigpipeHeld()
    {
        const int savedErrno = errno;
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
        errno = savedErrno;
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t pipe_;
    sigset_t old_;
    bool wasPending_ = false;
};

// A descriptor of the socket at `path`, connected; -1 with errno set when that fails.
int ConnectSocket(const fs::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.native().size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

OutputFile::OutputFile(const fs::path& path, OutputOptions options) : path_(path), flushToDisk_(options.flushToDisk)
{
    if (path.empty())
        Fail(ENOENT);
    if (!path.has_filename())
        Fail("it names a folder");

    // Follow links to what the path ends at.
    target_ = path;
    struct stat status {};
    bool exists = false;
    for (int hops = 0;; ++hops) {
        if (::lstat(target_.c_str(), &status) != 0) {
            if (errno != ENOENT)
                Fail(errno);
            break;
        }
        if (!S_ISLNK(status.st_mode)) {
            exists = true;
            break;
        }
        if (hops == kMaxLinkHops)
            Fail(ELOOP);
        std::error_code error;
        const fs::path link = fs::read_symlink(target_, error);
        if (error)
            Fail(error.value());
        target_ = link.is_absolute() ? link : target_.parent_path() / link;
    }
    if (exists && S_ISDIR(status.st_mode))
        Fail("it is a folder");

    if (exists && !S_ISREG(status.st_mode)) {
        direct_ = true;
        if (S_ISSOCK(status.st_mode)) {
            fd_ = ConnectSocket(target_);
        } else {
            // A FIFO is opened without waiting when asked, then made blocking for the writes.
            const bool noWait = S_ISFIFO(status.st_mode) && !options.waitForReader;
            do {
                fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (noWait ? O_NONBLOCK : 0));
            } while (fd_ < 0 && errno == EINTR);
            if (fd_ < 0 && noWait && errno == ENXIO)
                Fail("no process reads from it");
            if (fd_ >= 0 && noWait)
                ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        }
        if (fd_ < 0)
            Fail(errno);
        // Replaced by a file or a folder since the look: not what was checked.
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || S_ISREG(opened.st_mode) || S_ISDIR(opened.st_mode)) {
            ::close(fd_);
            Fail("it changed while it was opened");
        }
        return;
    }

    // A file the user may not write (its mode, a read-only file system) is not replaced
    // behind that back, as a shell's ">" would not write it either.
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
        Fail(errno);

    // A hidden name beside the target, so that the rename stays within one file system. Made
    // with 0666 so that the umask applies as to any new file.
    std::random_device random;
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; fd_ < 0; ++attempt) {
        // Cut so that a name of the longest kind (255 bytes) still leaves room for the rest.
        std::string name = "." + target_.filename().native().substr(0, kMaxHiddenStem) + ".";
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        const fs::path hidden = target_.parent_path() / name;
        fd_ = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            hidden_ = hidden.native();
        else if (errno != EEXIST || attempt == 100)
            Fail(errno);
    }
    if (exists) {
        // The old file's mode, and its owner and group where allowed (root, or a group the
        // user is in); where not, the new file keeps its own, as any new file would.
        [[maybe_unused]] const int owned =
            ::fchown(fd_, geteuid() == 0 ? status.st_uid : static_cast<uid_t>(-1), status.st_gid);
        ::fchmod(fd_, status.st_mode & 07777);
    }
}

OutputFile::~OutputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!hidden_.empty())
        ::unlink(hidden_.c_str());
}

void OutputFile::Write(std::string_view bytes)
{
    if (fd_ < 0)
        Fail(EBADF);
    const SigpipeHeld held;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            Fail(errno);
        if (written == 0)
            Fail(EIO);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void OutputFile::Commit()
{
    if (fd_ < 0)
        Fail(EBADF);
    if (!direct_ && flushToDisk_ && ::fsync(fd_) != 0)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        Fail(errno);
    if (direct_)
        return;
    if (::rename(hidden_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    hidden_.clear();
}

void OutputFile::Fail(int error) const
{
    Fail(std::generic_category().message(error));
}

void OutputFile::Fail(const std::string& reason) const
{
    throw Error("Cannot create file " + PathText(path_) + ": " + reason);
}

void WriteOutputFile(const fs::path& path, std::string_view bytes, OutputOptions options)
{
    OutputFile file(path, options);
    file.Write(bytes);
    file.Commit();
}

}  // namespace skelmar
