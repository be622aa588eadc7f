#include "text/OutputFile.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <system_error>

#include <gtest/gtest.h>

#include "tests/support/FileTestSupport.h"
#include "tests/support/ScopedResources.h"
#include "text/Error.h"

namespace skelmar {
namespace {

namespace fs = std::filesystem;

using test::ErrorOf;
using test::Names;
using test::ReadFile;
using test::WriteFile;

// Closes a descriptor when it goes.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    std::string ReadAvailable() const
    {
        std::string bytes;
        char chunk[4096];
        for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
            bytes.append(chunk, static_cast<std::size_t>(n));
        return bytes;
    }
};

const std::string kOld = "the old file";
const std::string kNew = "the new bytes";

// One case: a folder "case" in the test's temporary folder is prepared, "case/out" written,
// and what is there afterwards checked.
struct Scene {
    fs::path folder;
    fs::path out;
    std::vector<std::unique_ptr<test::ScratchFileSystem>> mounts;
    Descriptor reader;  // the far end of a FIFO or a socket
    std::string skip;   // why the case cannot run here; "" when it can
};

TEST(OutputFile, WhatThePathNames)
{
    struct Expectation {
        int line;
        const char* what;
        std::function<void(Scene&)> prepare;
        std::string reason;  // the error's reason; "" when the bytes are written
        std::function<void(Scene&)> check;
    };
    const auto regularHolds = [](const fs::path& path, const std::string& bytes) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path))) << path;
        EXPECT_EQ(ReadFile(path), bytes) << path;
    };
    const Expectation kExpect[] = {
        {__LINE__, "a regular file: replaced whole, its mode kept",
         [](Scene& s) {
             WriteFile(s.out, kOld);
             fs::permissions(s.out, fs::perms(0640));
         },
         "",
         [&](Scene& s) {
             regularHolds(s.out, kNew);
             EXPECT_EQ(fs::status(s.out).permissions(), fs::perms(0640));
         }},
        {__LINE__, "a file the user may not write: refused, left as it was",
         [](Scene& s) {
             if (::geteuid() == 0) {
                 s.skip = "permission bits do not stop root";
                 return;
             }
             WriteFile(s.out, kOld);
             fs::permissions(s.out, fs::perms(0444));
         },
         "Permission denied", [&](Scene& s) { regularHolds(s.out, kOld); }},
        {__LINE__, "a new name: created", [](Scene&) {}, "", [&](Scene& s) { regularHolds(s.out, kNew); }},
        {__LINE__, "a link to a regular file: the file replaced, the link kept",
         [](Scene& s) {
             WriteFile(s.folder / "target", kOld);
             fs::create_symlink("target", s.out);
         },
         "",
         [&](Scene& s) {
             EXPECT_TRUE(fs::is_symlink(s.out));
             EXPECT_EQ(fs::read_symlink(s.out), "target");
             regularHolds(s.folder / "target", kNew);
         }},
        {__LINE__, "a chain of links into another folder",
         [](Scene& s) {
             fs::create_directory(s.folder / "sub");
             WriteFile(s.folder / "sub" / "target", kOld);
             fs::create_symlink("target", s.folder / "sub" / "second");
             fs::create_symlink("sub/second", s.out);
         },
         "",
         [&](Scene& s) {
             EXPECT_TRUE(fs::is_symlink(s.out));
             EXPECT_TRUE(fs::is_symlink(s.folder / "sub" / "second"));
             regularHolds(s.folder / "sub" / "target", kNew);
             EXPECT_EQ(Names(s.folder / "sub"), (std::set<std::string>{"second", "target"}));
         }},
        {__LINE__, "a dangling link: the file it names is created, the link kept",
         [](Scene& s) { fs::create_symlink(s.folder / "named", s.out); }, "",
         [&](Scene& s) {
             EXPECT_TRUE(fs::is_symlink(s.out));
             regularHolds(s.folder / "named", kNew);
         }},
        {__LINE__, "a link into a folder that does not exist",
         [](Scene& s) { fs::create_symlink("missing/named", s.out); }, "No such file or directory",
         [](Scene& s) { EXPECT_TRUE(fs::is_symlink(s.out)); }},
        {__LINE__, "a name of the longest kind", [](Scene& s) { s.out = s.folder / std::string(255, 'n'); }, "",
         [&](Scene& s) { regularHolds(s.out, kNew); }},
        {__LINE__, "a link to itself", [](Scene& s) { fs::create_symlink("out", s.out); },
         "Too many levels of symbolic links", [](Scene& s) { EXPECT_TRUE(fs::is_symlink(s.out)); }},
        {__LINE__, "a FIFO: written into, still a FIFO",
         [](Scene& s) {
             ASSERT_EQ(::mkfifo(s.out.c_str(), 0600), 0);
             s.reader.fd = ::open(s.out.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
             ASSERT_GE(s.reader.fd, 0);
         },
         "",
         [](Scene& s) {
             EXPECT_TRUE(fs::is_fifo(fs::symlink_status(s.out)));
             EXPECT_EQ(s.reader.ReadAvailable(), kNew);
         }},
        {__LINE__, "a device with the numbers of /dev/null, made here: written into, still the device",
         [](Scene& s) {
             if (::geteuid() != 0) {
                 s.skip = "making a device needs root";
                 return;
             }
             struct statvfs fileSystem {};
             if (::statvfs(s.folder.c_str(), &fileSystem) == 0 && (fileSystem.f_flag & ST_NODEV) != 0) {
                 s.skip = "the temporary folder's file system ignores devices (nodev)";
                 return;
             }
             if (::mknod(s.out.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0)
                 s.skip = "mknod failed: " + std::generic_category().message(errno);
         },
         "",
         [](Scene& s) {
             struct stat status {};
             ASSERT_EQ(::lstat(s.out.c_str(), &status), 0);
             EXPECT_TRUE(S_ISCHR(status.st_mode));
             EXPECT_EQ(status.st_rdev, makedev(1, 3));
         }},
        {__LINE__, "a Unix socket: connected to and written into, still a socket",
         [](Scene& s) {
             s.reader.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);  // accept never waits
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(s.out.native().size(), sizeof address.sun_path);
             std::memcpy(address.sun_path, s.out.c_str(), s.out.native().size());
             ASSERT_EQ(::bind(s.reader.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
             ASSERT_EQ(::listen(s.reader.fd, 1), 0);
         },
         "",
         [](Scene& s) {
             EXPECT_TRUE(fs::is_socket(fs::symlink_status(s.out)));
             Descriptor accepted{::accept(s.reader.fd, nullptr, nullptr)};
             ASSERT_GE(accepted.fd, 0);
             EXPECT_EQ(accepted.ReadAvailable(), kNew);
         }},
        {__LINE__, "a folder: refused, left as it was",
         [](Scene& s) {
             fs::create_directory(s.out);
             WriteFile(s.out / "inside", kOld);
         },
         "it is a folder",
         [](Scene& s) { EXPECT_EQ(Names(s.out), std::set<std::string>{"inside"}); }},
        {__LINE__, "a link to a folder: refused",
         [](Scene& s) {
             fs::create_directory(s.folder / "sub");
             fs::create_directory_symlink("sub", s.out);
         },
         "it is a folder", [](Scene& s) { EXPECT_TRUE(fs::is_empty(s.folder / "sub")); }},
        {__LINE__, "a name under a regular file",
         [](Scene& s) {
             WriteFile(s.folder / "file", kOld);
             s.out = s.folder / "file" / "out";
         },
         "Not a directory", [&](Scene& s) { regularHolds(s.folder / "file", kOld); }},
        {__LINE__, "a read-only folder: the old file stays",
         [](Scene& s) {
             if (::geteuid() != 0) {
                 WriteFile(s.out, kOld);
                 fs::permissions(s.folder, fs::perms(0555));
                 return;
             }
             // Permission bits do not stop root: a file system mounted read-only does.
             s.mounts.push_back(std::make_unique<test::ScratchFileSystem>(s.folder / "ro", 64 * 1024));
             s.out = s.folder / "ro" / "out";
             if (s.mounts.back()->Mounted())
                 WriteFile(s.out, kOld);
             if (!s.mounts.back()->MakeReadOnly())
                 s.skip = s.mounts.back()->Problem();
         },
         "*",  // "Permission denied" or "Read-only file system"
         [&](Scene& s) {
             regularHolds(s.out, kOld);
             EXPECT_EQ(Names(s.out.parent_path()), std::set<std::string>{"out"});
             fs::permissions(s.folder, fs::perms(0755));
         }},
    };
    const test::TemporaryFolder temporary;
    int n = 0;
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        SCOPED_TRACE(e.what);
        Scene scene;
        scene.folder = temporary.Path() / ("case" + std::to_string(++n));
        fs::create_directory(scene.folder);
        scene.out = scene.folder / "out";
        e.prepare(scene);
        if (HasFatalFailure())
            return;
        if (!scene.skip.empty()) {
            std::printf("[ SKIPPED  ] %s: %s\n", e.what, scene.skip.c_str());
            continue;
        }
        const std::string error = ErrorOf([&] { WriteOutputFile(scene.out, kNew); });
        if (e.reason.empty())
            EXPECT_EQ(error, "");
        else if (e.reason == "*")
            EXPECT_TRUE(error.starts_with("Cannot create file " + scene.out.string() + ": ")) << error;
        else
            EXPECT_EQ(error, "Cannot create file " + scene.out.string() + ": " + e.reason);
        e.check(scene);
        // No hidden file is left behind.
        for (const auto& entry : fs::recursive_directory_iterator(scene.folder))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
}

TEST(OutputFile, NewFileGetsTheUmasksMode)
{
    const test::TemporaryFolder folder;
    const mode_t old = ::umask(027);
    WriteOutputFile(folder.Path() / "new", "x");
    ::umask(old);
    EXPECT_EQ(fs::status(folder.Path() / "new").permissions(), fs::perms(0640));
}

TEST(OutputFile, NothingReplacedBeforeCommit)
{
    const test::TemporaryFolder folder;
    const fs::path path = folder.Path() / "out";
    WriteFile(path, kOld);
    {
        OutputFile file(path);
        EXPECT_FALSE(file.Direct());
        file.Write(kNew);
        EXPECT_EQ(ReadFile(path), kOld);
        // A reader of the old file keeps reading it whole after the commit: replaced, not
        // rewritten in place.
        std::ifstream reader(path, std::ios::binary);
        file.Commit();
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), kOld);
    }
    EXPECT_EQ(ReadFile(path), kNew);

    {
        OutputFile abandoned(path);
        abandoned.Write("never seen");
    }
    EXPECT_EQ(ReadFile(path), kNew);
    EXPECT_EQ(Names(folder.Path()), std::set<std::string>{"out"});
}

TEST(OutputFile, FullDiskKeepsTheOldFile)
{
    const test::TemporaryFolder folder;
    const test::ScratchFileSystem small(folder.Path() / "small", 64 * 1024);
    if (!small.Mounted())
        GTEST_SKIP() << small.Problem();
    const fs::path path = small.Path() / "out";
    WriteFile(path, kOld);
    const std::string error = ErrorOf([&] { WriteOutputFile(path, std::string(1024 * 1024, 'x')); });
    EXPECT_EQ(error, "Cannot create file " + path.string() + ": No space left on device");
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(Names(small.Path()), std::set<std::string>{"out"});
}

TEST(OutputFile, FifoWhoseReaderWentAway)
{
    const test::TemporaryFolder folder;
    const fs::path path = folder.Path() / "fifo";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::optional<OutputFile> file;
    {
        const Descriptor reader{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
        ASSERT_GE(reader.fd, 0);
        file.emplace(path);
        EXPECT_TRUE(file->Direct());
    }
    // The process lives on (no SIGPIPE) and hears why.
    EXPECT_EQ(ErrorOf([&] { file->Write(kNew); }), "Cannot create file " + path.string() + ": Broken pipe");
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST(OutputFile, FifoWithoutReaderRefusedWhenNotWaiting)
{
    const test::TemporaryFolder folder;
    const fs::path path = folder.Path() / "fifo";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { OutputFile(path, OutputOptions{.waitForReader = false}); }),
              "Cannot create file " + path.string() + ": no process reads from it");
    EXPECT_TRUE(fs::is_fifo(path));
}

}  // namespace
}  // namespace skelmar
