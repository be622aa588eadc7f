#pragma once
// Read access to the configuration texts: [section] key -> value. The report and the retrieval
// take this interface, so that the window reads the configuration file while tests and
// benchmarks can hand in texts of their own.

#include <string>
#include <string_view>

namespace skelmar {

class ConfigTexts {
public:
    virtual ~ConfigTexts() = default;
    // The value of `key` in `section` (both matched without regard to case), or the empty text
    // when the section, the key or the whole source is missing. Never fails.
    virtual std::string Value(std::string_view section, std::string_view key) const = 0;
};

// Each "%s" of `pattern` replaced by the next argument, in order; a "%s" beyond the arguments
// becomes empty, an argument beyond the "%s" is not used, and every other character (a lone
// "%" included) is copied as it stands. An empty pattern gives "".
std::string FillTemplate(std::string_view pattern, std::string_view first = {},
                         std::string_view second = {});

}  // namespace skelmar
