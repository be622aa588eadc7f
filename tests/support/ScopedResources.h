#pragma once
// Things a test sets up and that are undone when the test ends, also when it fails.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace skelmar::test {

// Sets (or, with nullopt, removes) one environment variable; restores the old state after.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, std::optional<std::string> value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A new empty folder under the system's temporary folder, removed with all it holds after.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A small file system of its own (tmpfs) mounted on a new folder `mountPoint`, for a full
// disk or a read-only folder that even root cannot write to; unmounted after. Mounting needs
// root (or the right capability): where it fails, Mounted() is false and Problem() says why,
// for the test to skip with. `mountPoint` must lie in the test's temporary folder.
class ScratchFileSystem {
public:
    ScratchFileSystem(std::filesystem::path mountPoint, std::size_t bytes);
    ~ScratchFileSystem();
    ScratchFileSystem(const ScratchFileSystem&) = delete;
    ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

    bool Mounted() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }
    const std::filesystem::path& Path() const { return path_; }
    // Makes the mounted file system read-only; false (and Problem() set) when that fails.
    bool MakeReadOnly();

private:
    std::filesystem::path path_;
    std::string problem_;
};

}  // namespace skelmar::test
