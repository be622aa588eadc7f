#include "retrieval/PictureFile.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include <sys/resource.h>

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

class PictureFileTest : public ::testing::Test {
protected:
    test::TemporaryFolder folder_;
    const fs::path picture_ = folder_.Path() / "Temp.gif";
};

TEST_F(PictureFileTest, WritesEveryByteAndReplacesTheOldFile)
{
    std::string allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += static_cast<char>(i);
    for (const std::string& bytes : {allBytes, std::string("GIF89a"), std::string(), std::string(300'000, 'x')}) {
        SCOPED_TRACE(bytes.size());
        WritePictureFile(picture_, bytes);
        EXPECT_EQ(ReadFile(picture_), bytes);
        EXPECT_EQ(Names(folder_.Path()), std::set<std::string>{"Temp.gif"});
    }
}

TEST_F(PictureFileTest, ReplacesInOneStep)
{
    // A reader that opened the old picture keeps reading it whole: the file is replaced, not
    // rewritten in place.
    WriteFile(picture_, "old picture");
    std::ifstream reader(picture_, std::ios::binary);
    WritePictureFile(picture_, "new");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old picture");
    EXPECT_EQ(ReadFile(picture_), "new");
}

TEST_F(PictureFileTest, ErrorCases)
{
    WriteFile(folder_.Path() / "file", "a regular file");
    fs::create_directory(folder_.Path() / "folder");
    WriteFile(folder_.Path() / "folder" / "inside", "kept");
    const fs::path kPaths[] = {
        folder_.Path() / "file" / "Temp.gif",     // the parent is not a folder
        folder_.Path() / "missing" / "Temp.gif",  // the parent does not exist
        folder_.Path() / "folder",                // the target is a folder
    };
    for (const fs::path& path : kPaths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { WritePictureFile(path, "GIF89a"); }), "Cannot create file " + path.string());
    }
    EXPECT_EQ(ReadFile(folder_.Path() / "file"), "a regular file");
    EXPECT_EQ(Names(folder_.Path()), (std::set<std::string>{"file", "folder"}));
    EXPECT_EQ(Names(folder_.Path() / "folder"), std::set<std::string>{"inside"});
}

// Writes a large picture under a file size limit of 4 KiB, so that a write fails half-way;
// exits 0 when that gives the expected error. For a child process only.
[[noreturn]] void WriteUnderFileSizeLimit(const fs::path& path)
{
    const rlimit limit{4096, 4096};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = ErrorOf([&] { WritePictureFile(path, std::string(100'000, 'x')); });
    std::_Exit(message == "Cannot create file " + path.string() ? 0 : 1);
}

TEST_F(PictureFileTest, WriteThatFailsHalfWayKeepsTheOldPicture)
{
    WriteFile(picture_, "old picture");
    EXPECT_EXIT(WriteUnderFileSizeLimit(picture_), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(picture_), "old picture");
    EXPECT_EQ(Names(folder_.Path()), std::set<std::string>{"Temp.gif"});
}

TEST_F(PictureFileTest, PathInTheUsersCacheFolder)
{
    const fs::path home = folder_.Path() / "home";
    test::ScopedEnvironment homeVariable("HOME", home.string());
    {
        const fs::path cache = folder_.Path() / "cache";
        test::ScopedEnvironment cacheVariable("XDG_CACHE_HOME", cache.string());
        EXPECT_EQ(PictureFilePath(), cache / "skelmar" / "Temp.gif");
        EXPECT_EQ(fs::status(cache / "skelmar").permissions() & fs::perms::all, fs::perms::owner_all);
        EXPECT_EQ(PictureFilePath(), cache / "skelmar" / "Temp.gif");  // the folder exists now
    }
    {
        // A relative cache folder is not used.
        test::ScopedEnvironment cacheVariable("XDG_CACHE_HOME", "relative/cache");
        EXPECT_EQ(PictureFilePath(), home / ".cache" / "skelmar" / "Temp.gif");
    }
    {
        test::ScopedEnvironment cacheVariable("XDG_CACHE_HOME", std::nullopt);
        fs::remove_all(home);
        EXPECT_EQ(PictureFilePath(), home / ".cache" / "skelmar" / "Temp.gif");
        EXPECT_TRUE(fs::is_directory(home / ".cache" / "skelmar"));
    }
}

TEST_F(PictureFileTest, PathErrorCases)
{
    WriteFile(folder_.Path() / "file", "a regular file");
    for (const fs::path& cache : {folder_.Path() / "file", folder_.Path() / "file" / "below"}) {
        SCOPED_TRACE(cache);
        test::ScopedEnvironment cacheVariable("XDG_CACHE_HOME", cache.string());
        EXPECT_EQ(ErrorOf([] { PictureFilePath(); }),
                  "Cannot create file " + (cache / "skelmar" / "Temp.gif").string());
    }
}

}  // namespace
}  // namespace skelmar
