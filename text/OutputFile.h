#pragma once
// Every file the program writes (the report saved from the window, the graph and the report
// of the command line, the downloaded picture) goes through OutputFile, so that one set of
// rules holds for all of them and nothing the user names is ever half-written or replaced by
// surprise. What happens depends on what the path names when the output is opened:
//
//  - a regular file, or nothing yet: the bytes go to a new hidden file in the same folder,
//    which Commit() renames over the path. Until then, and whenever a step fails, the old
//    file stays as it was and the hidden file is removed. The new file takes the old one's
//    permission bits (and, for root, its owner); a new name gets 0666 less the umask. A file
//    the user may not write to is refused, as a shell's ">" would refuse it.
//  - a symbolic link: followed, through chains of links; the file it ends at is treated by
//    these rules and the link stays a link. A link to nothing creates the file it names.
//  - a FIFO or a device: written into directly, as cp or tee would; never replaced.
//  - a Unix socket: connected to and written into.
//  - a folder: refused.
//
// The errors are Error("Cannot create file <path>: <reason>"), the path in code page 1252.

#include <filesystem>
#include <string>
#include <string_view>

namespace skelmar {

struct OutputOptions {
    // Flush the bytes to disk before the rename, so that a crash leaves the old file or the
    // new one. Off for files the program rewrites at every use and reads back at once.
    bool flushToDisk = true;
    // A FIFO that no process reads yet: wait for one (as cp does), or refuse at once (for a
    // window, which must not hang).
    bool waitForReader = true;
};

class OutputFile {
public:
    // Opens the output: makes the hidden file, or opens the FIFO, device or socket. Throws
    // Error when it cannot; nothing has then changed.
    explicit OutputFile(const std::filesystem::path& path, OutputOptions options = {});
    // Removes the hidden file unless committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Appends `bytes`. Throws Error when a write fails (a full disk, a reader that went away);
    // a file that was there stays as it was.
    void Write(std::string_view bytes);

    // Puts the file in place (the rename) or closes the direct output. Throws Error when that
    // fails; a file that was there then stays as it was. Without Commit() nothing replaces it.
    void Commit();

    // True when the output is written into directly (a FIFO, a device, a socket).
    bool Direct() const { return direct_; }

private:
    [[noreturn]] void Fail(int error) const;
    [[noreturn]] void Fail(const std::string& reason) const;

    std::filesystem::path path_;    // as given, for the messages
    std::filesystem::path target_;  // the file renamed over, or the FIFO, device or socket
    std::string hidden_;            // the hidden file until committed; "" otherwise
    int fd_ = -1;
    bool direct_ = false;
    bool flushToDisk_ = true;
};

// OutputFile(path, options), Write(bytes), Commit(): all of `bytes` or nothing.
void WriteOutputFile(const std::filesystem::path& path, std::string_view bytes, OutputOptions options = {});

}  // namespace skelmar
