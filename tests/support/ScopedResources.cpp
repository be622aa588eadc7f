#include "tests/support/ScopedResources.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include <sys/mount.h>

namespace skelmar::test {

namespace {

void SetOrUnset(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, std::optional<std::string> value)
    : name_(std::move(name))
{
    if (const char* old = std::getenv(name_.c_str()))
        old_ = old;
    SetOrUnset(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetOrUnset(name_, old_); }

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "skelmar-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScratchFileSystem::ScratchFileSystem(std::filesystem::path mountPoint, std::size_t bytes)
    : path_(std::move(mountPoint))
{
    std::filesystem::create_directory(path_);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("skelmar-test", path_.c_str(), "tmpfs", MS_NODEV | MS_NOSUID | MS_NOEXEC, options.c_str()) != 0)
        problem_ = "cannot mount a small file system here (" + std::generic_category().message(errno) + ")";
}

ScratchFileSystem::~ScratchFileSystem()
{
    if (Mounted())
        ::umount2(path_.c_str(), MNT_DETACH);
}

bool ScratchFileSystem::MakeReadOnly()
{
    if (!Mounted())
        return false;
    if (::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NODEV | MS_NOSUID | MS_NOEXEC,
                nullptr) == 0)
        return true;
    problem_ = "cannot make the small file system read-only (" + std::generic_category().message(errno) + ")";
    ::umount2(path_.c_str(), MNT_DETACH);
    return false;
}

}  // namespace skelmar::test
