#pragma once
// The configuration file "Skelmar.ini", an initialisation file read by these rules:
//  - "[name]" opens a section; "key=value" lines below it give values. Section names and keys
//    match without regard to case (ASCII and the letters of code page 1252).
//  - The key is the text before the first "="; blanks and tabs around key and value are
//    dropped; one pair of enclosing double or single quotes is removed from the value.
//  - Lines starting with ";" are comments; lines without "=" (and stray "]" lines) are skipped.
//    Of a section that appears twice, and of a key that appears twice, the first counts.
//  - Line ends are CR LF, LF or CR; the last line needs none.
//  - The file is code page 1252. A file that starts with a UTF-8 byte order mark, or that is
//    well-formed UTF-8 with characters beyond ASCII, is read as UTF-8 and converted to code
//    page 1252 (characters the code page lacks become "?").
//  - A value is read up to 2047 characters; a section's key list (SectionKeys) up to 16384
//    bytes, counting one terminating zero per key and one for the list.

#include <array>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "text/ConfigTexts.h"

namespace skelmar {

// The rules above over the bytes of a file, without the file.
namespace ini {

inline constexpr std::size_t kMaxValueLength = 2047;
inline constexpr std::size_t kMaxKeyListBytes = 16384;

// The file's bytes as code page 1252 text (byte order mark removed, UTF-8 converted).
std::string DecodeContent(std::string_view bytes);

// The value of `key` in `section`; "" when either is absent.
std::string FindValue(std::string_view content, std::string_view section, std::string_view key);

// The keys of `section` in file order (duplicates included), as many as fit the key list.
std::vector<std::string> SectionKeys(std::string_view content, std::string_view section);

// "key=value" for each key of the section in file order (duplicates included, however many:
// the key list's size does not limit it), with the value of the key's first occurrence.
std::vector<std::string> SectionEntries(std::string_view content, std::string_view section);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace ini

class ConfigFile final : public ConfigTexts {
public:
    // nullptr when `path` is not an existing regular file.
    static std::unique_ptr<ConfigFile> Open(const std::filesystem::path& path);

    // Read from the file as it is at each call, so an edit of the file is seen at once; a
    // file that has become unreadable reads as empty. The decoded text is kept while the
    // file's identity, size and times (to the nanosecond) stay the same: the station list
    // makes the file some 70 KiB, too much to read again for each of a report's texts.
    // Safe to call from several threads.
    std::string Value(std::string_view section, std::string_view key) const override;

    // Each key of `section`, in file order, as "key=value" with the key's value read by
    // Value(). Used once, for the station list.
    std::vector<std::string> SectionEntries(std::string_view section) const;

    const std::filesystem::path& Path() const { return path_; }

private:
    explicit ConfigFile(std::filesystem::path path) : path_(std::move(path)) {}
    // The decoded text of the file as it is now, with where each section stands in it.
    struct Snapshot;
    std::shared_ptr<const Snapshot> Content() const;
    // The text of the first section named `section`, from its header to the next one.
    std::string_view SectionText(const Snapshot& snapshot, std::string_view section) const;

    std::filesystem::path path_;
    mutable std::mutex mutex_;
    mutable std::array<long long, 7> stamp_{};  // device, inode, size, change and write times
    mutable std::shared_ptr<const Snapshot> content_;
};

}  // namespace skelmar
