#include "retrieval/ProgramFiles.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace skelmar {

namespace {

constexpr const char* kConfigName = "Skelmar.ini";

}  // namespace

std::filesystem::path UserBaseDirectory(const char* variable, std::string_view underHome)
{
    if (const char* base = std::getenv(variable); base && *base == '/')
        return base;
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::filesystem::path(home) / underHome;
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir && *account->pw_dir == '/')
        return std::filesystem::path(account->pw_dir) / underHome;
    return {};
}

std::filesystem::path ShippedDataDirectory(const std::filesystem::path& programDir)
{
    // The path from the program's folder to the data folder is the one the installation uses.
    const std::filesystem::path installed = (programDir / SKELMAR_DATA_DIR_FROM_BIN).lexically_normal();
    std::error_code error;
    return std::filesystem::is_directory(installed, error) ? installed : programDir;
}

std::filesystem::path UserConfigFilePath()
{
    const std::filesystem::path base = UserBaseDirectory("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base / "skelmar" / kConfigName;
}

std::filesystem::path ConfigFilePath(const std::filesystem::path& dataDir)
{
    const std::filesystem::path user = UserConfigFilePath();
    std::error_code error;
    if (!user.empty() && std::filesystem::exists(std::filesystem::symlink_status(user, error)))
        return user;
    return dataDir / kConfigName;
}

}  // namespace skelmar
