#pragma once
// Figures of this process from /proc/self: for the soak run and the benchmarks.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace skelmar::test {

// A "kB" field of /proc/self/status ("VmRSS" resident now, "VmHWM" its peak) in KiB; -1 when
// it cannot be read.
inline long ProcessStatusKiB(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// The file descriptors open in this process.
inline long OpenDescriptors()
{
    long count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

}  // namespace skelmar::test
