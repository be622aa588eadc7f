#include "retrieval/ConfigFile.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <unordered_map>

#include "text/Cp1252.h"
#include "text/LineBreaks.h"

namespace skelmar {
namespace ini {

namespace {

unsigned char FoldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)  // À..Þ except ×
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
    }
}

std::string FoldedKey(std::string_view key)
{
    std::string folded(key);
    for (char& c : folded)
        c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    return folded;
}

std::string_view TrimBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// The name of a section header line "[name]" (blanks allowed around), or nullopt.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;  // raw, before trimming and unquoting
};

// A "key=value" line with a non-empty key, or nullopt for comments and bad lines.
std::optional<Entry> ParseEntry(std::string_view line)
{
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = TrimBlanks(line.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return Entry{key, line.substr(eq + 1)};
}

std::string CleanValue(std::string_view raw)
{
    std::string_view value = TrimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

// Calls `visit(entry)` for every entry of the first section named `section`.
template <typename Visit>
void ForEachEntry(std::string_view content, std::string_view section, Visit&& visit)
{
    enum { Before, Inside, After } state = Before;
    ForEachLine(content, [&](std::string_view line) {
        if (const auto name = SectionName(line)) {
            if (state == Inside)
                state = After;
            else if (state == Before && EqualsIgnoreCase(*name, section))
                state = Inside;
            return state != After;
        }
        if (state == Inside)
            if (const auto entry = ParseEntry(line))
                return visit(*entry);
        return true;
    });
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string DecodeContent(std::string_view bytes)
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom)
        return Utf8ToCp1252(bytes.substr(kBom.size()));
    if (LooksLikeUtf8(bytes))
        return Utf8ToCp1252(bytes);
    return std::string(bytes);
}

std::string FindValue(std::string_view content, std::string_view section, std::string_view key)
{
    std::string value;
    ForEachEntry(content, section, [&](const Entry& entry) {
        if (!EqualsIgnoreCase(entry.key, key))
            return true;
        value = CleanValue(entry.value);
        return false;
    });
    return value;
}

std::vector<std::string> SectionKeys(std::string_view content, std::string_view section)
{
    std::vector<std::string> keys;
    std::size_t used = 1;  // the zero that ends the list
    ForEachEntry(content, section, [&](const Entry& entry) {
        used += entry.key.size() + 1;
        if (used > kMaxKeyListBytes)
            return false;
        keys.emplace_back(entry.key);
        return true;
    });
    return keys;
}

std::vector<std::string> SectionEntries(std::string_view content, std::string_view section)
{
    // Every key, beyond the key list's size: the station list holds some 2,000 stations.
    std::vector<std::string> entries;
    // Where each key first stands, so that a repeated key takes its first value.
    std::unordered_map<std::string, std::size_t> first;
    ForEachEntry(content, section, [&](const Entry& entry) {
        const auto [at, isNew] = first.try_emplace(FoldedKey(entry.key), entries.size());
        std::string line(entry.key);
        line += '=';
        if (isNew) {
            line += CleanValue(entry.value);
        } else {
            // The earlier "key=value": its key has the folded key's length (folding keeps it).
            line += std::string_view(entries[at->second]).substr(at->first.size() + 1);
        }
        entries.push_back(std::move(line));
        return true;
    });
    return entries;
}

}  // namespace ini

std::unique_ptr<ConfigFile> ConfigFile::Open(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;
    return std::unique_ptr<ConfigFile>(new ConfigFile(path));
}

struct ConfigFile::Snapshot {
    explicit Snapshot(std::string decoded) : text(std::move(decoded))
    {
        // Each section's header line to the next header line; of a section that appears
        // twice, the first.
        std::string open;
        std::size_t openAt = 0;
        const auto close = [&](std::size_t at) {
            sections.try_emplace(open, std::string_view(text).substr(openAt, at - openAt));
        };
        bool any = false;
        ForEachLine(text, [&](std::string_view line) {
            if (const auto name = ini::SectionName(line)) {
                const auto at = static_cast<std::size_t>(line.data() - text.data());
                if (any)
                    close(at);
                open = ini::FoldedKey(*name);
                openAt = at;
                any = true;
            }
            return true;
        });
        if (any)
            close(text.size());
    }
    std::string text;
    std::unordered_map<std::string, std::string_view> sections;  // by folded name
};

std::string_view ConfigFile::SectionText(const Snapshot& snapshot, std::string_view section) const
{
    const auto found = snapshot.sections.find(ini::FoldedKey(section));
    return found == snapshot.sections.end() ? std::string_view() : found->second;
}

std::shared_ptr<const ConfigFile::Snapshot> ConfigFile::Content() const
{
    static const auto kEmpty = std::make_shared<const Snapshot>(std::string());
    struct stat status{};
    if (::stat(path_.c_str(), &status) != 0)
        return kEmpty;
    const std::array<long long, 7> stamp = {
        static_cast<long long>(status.st_dev),      static_cast<long long>(status.st_ino),
        static_cast<long long>(status.st_size),     static_cast<long long>(status.st_ctim.tv_sec),
        static_cast<long long>(status.st_ctim.tv_nsec), static_cast<long long>(status.st_mtim.tv_sec),
        static_cast<long long>(status.st_mtim.tv_nsec)};
    const std::lock_guard lock(mutex_);
    if (content_ && stamp == stamp_)
        return content_;
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        return kEmpty;
    // Read in one go, at the size the file has now (it may change while it is read).
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    content_ = std::make_shared<const Snapshot>(ini::DecodeContent(bytes));
    stamp_ = stamp;
    return content_;
}

std::string ConfigFile::Value(std::string_view section, std::string_view key) const
{
    const auto snapshot = Content();
    return ini::FindValue(SectionText(*snapshot, section), section, key);
}

std::vector<std::string> ConfigFile::SectionEntries(std::string_view section) const
{
    const auto snapshot = Content();
    return ini::SectionEntries(SectionText(*snapshot, section), section);
}

}  // namespace skelmar
