#include "retrieval/ProgramFiles.h"

#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/ScopedResources.h"

namespace skelmar {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path);
    out << "[STATIONS]\n";
    ASSERT_TRUE(out) << path;
}

// The user's Skelmar.ini comes first wherever the XDG rules put it; the shipped one otherwise.
TEST(ConfigFilePath, UsersOwnFileTakesPrecedence)
{
    test::TemporaryFolder folder;
    const fs::path home = folder.Path() / "home";
    const fs::path xdg = folder.Path() / "xdg";
    const fs::path shipped = folder.Path() / "usr" / "share" / "skelmar";

    struct Expectation {
        int line;
        std::optional<std::string> xdgConfigHome;
        std::optional<fs::path> userFile;  // written before the look-up
        fs::path expected;
    };
    const Expectation kExpect[] = {
        {__LINE__, xdg.string(), xdg / "skelmar/Skelmar.ini", xdg / "skelmar/Skelmar.ini"},
        {__LINE__, xdg.string(), {}, shipped / "Skelmar.ini"},
        // A file in ~/.config does not count while XDG_CONFIG_HOME names another folder.
        {__LINE__, xdg.string(), home / ".config/skelmar/Skelmar.ini", shipped / "Skelmar.ini"},
        {__LINE__, std::nullopt, home / ".config/skelmar/Skelmar.ini", home / ".config/skelmar/Skelmar.ini"},
        {__LINE__, "", home / ".config/skelmar/Skelmar.ini", home / ".config/skelmar/Skelmar.ini"},
        // A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
        {__LINE__, "relative/config", home / ".config/skelmar/Skelmar.ini", home / ".config/skelmar/Skelmar.ini"},
        {__LINE__, std::nullopt, {}, shipped / "Skelmar.ini"},
        // Another name in the folder is not the configuration file.
        {__LINE__, xdg.string(), xdg / "skelmar/skelmar.ini", shipped / "Skelmar.ini"},
    };
    test::ScopedEnvironment homeVariable("HOME", home.string());
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        fs::remove_all(home);
        fs::remove_all(xdg);
        if (e.userFile)
            WriteFile(*e.userFile);
        test::ScopedEnvironment xdgVariable("XDG_CONFIG_HOME", e.xdgConfigHome);
        EXPECT_EQ(ConfigFilePath(shipped), e.expected);
    }
}

TEST(ConfigFilePath, UsersFileThatCannotBeReadIsStillTheUsers)
{
    // The user meant that file: opening it reports the fault, rather than another file's
    // stations appearing without a word.
    test::TemporaryFolder folder;
    const fs::path user = folder.Path() / "skelmar" / "Skelmar.ini";
    fs::create_directories(user.parent_path());
    fs::create_symlink(folder.Path() / "gone.ini", user);
    test::ScopedEnvironment xdgVariable("XDG_CONFIG_HOME", folder.Path().string());
    EXPECT_EQ(ConfigFilePath(folder.Path() / "shipped"), user);
}

TEST(ShippedDataDirectory, BesideTheProgramOrUnderItsPrefix)
{
    test::TemporaryFolder folder;
    // The build tree: the files lie beside the program.
    const fs::path build = folder.Path() / "build" / "app";
    fs::create_directories(build);
    EXPECT_EQ(ShippedDataDirectory(build), build);
    // Installed, or unpacked into a scratch root: <prefix>/bin and <prefix>/share/skelmar.
    const fs::path prefix = folder.Path() / "root" / "usr";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "skelmar");
    EXPECT_EQ(ShippedDataDirectory(prefix / "bin"), prefix / "share" / "skelmar");
}

TEST(UserBaseDirectory, EdgeCases)
{
    test::ScopedEnvironment homeVariable("HOME", "/home/pilot");
    {
        test::ScopedEnvironment cache("XDG_CACHE_HOME", "/var/cache/pilot");
        EXPECT_EQ(UserBaseDirectory("XDG_CACHE_HOME", ".cache"), fs::path("/var/cache/pilot"));
    }
    {
        test::ScopedEnvironment cache("XDG_CACHE_HOME", "cache");
        EXPECT_EQ(UserBaseDirectory("XDG_CACHE_HOME", ".cache"), fs::path("/home/pilot/.cache"));
    }
    {
        // Without a usable $HOME the account's home folder serves.
        test::ScopedEnvironment home("HOME", "relative");
        test::ScopedEnvironment config("XDG_CONFIG_HOME", std::nullopt);
        const fs::path base = UserBaseDirectory("XDG_CONFIG_HOME", ".config");
        EXPECT_TRUE(base.empty() || (base.is_absolute() && base.filename() == ".config")) << base;
    }
}

}  // namespace
}  // namespace skelmar
