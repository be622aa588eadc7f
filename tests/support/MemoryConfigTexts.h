#pragma once
// Configuration texts held in memory, for tests and benchmarks: sections and keys match
// without regard to (ASCII) case, as in the configuration file.

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "text/ConfigTexts.h"

namespace skelmar {

class MemoryConfigTexts : public ConfigTexts {
public:
    struct Entry {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };

    MemoryConfigTexts() = default;
    MemoryConfigTexts(std::initializer_list<Entry> entries)
    {
        for (const Entry& e : entries)
            Set(e.section, e.key, e.value);
    }

    void Set(std::string_view section, std::string_view key, std::string_view value)
    {
        values_[Fold(section, key)] = value;
    }

    std::string Value(std::string_view section, std::string_view key) const override
    {
        const auto found = values_.find(Fold(section, key));
        return found == values_.end() ? std::string() : found->second;
    }

private:
    // "SECTION\nKEY": a line break can be part of neither.
    static std::string Fold(std::string_view section, std::string_view key)
    {
        std::string folded;
        folded.reserve(section.size() + key.size() + 1);
        for (const char c : section)
            folded += Upper(c);
        folded += '\n';
        for (const char c : key)
            folded += Upper(c);
        return folded;
    }
    static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

    std::unordered_map<std::string, std::string> values_;
};

}  // namespace skelmar
