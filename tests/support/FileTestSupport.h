#pragma once
// Small file helpers for tests that write files and check what is left behind.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include "text/Error.h"

namespace skelmar::test {

// The bytes of a file; "" when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Replaces the file's bytes (plain stream writing: for setting up a test, not under test).
inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a folder, sorted.
inline std::set<std::string> Names(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The message of the Error thrown by `action`, or "" when it throws none.
template <typename Action>
std::string ErrorOf(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

}  // namespace skelmar::test
