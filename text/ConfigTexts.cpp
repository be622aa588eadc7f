#include "text/ConfigTexts.h"

namespace skelmar {

std::string FillTemplate(std::string_view pattern, std::string_view first, std::string_view second)
{
    const std::string_view args[] = {first, second};
    std::size_t next = 0;
    std::string result;
    result.reserve(pattern.size() + first.size() + second.size());
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next < std::size(args))
                result += args[next];
            ++next;
            i += 2;
        } else {
            result += pattern[i++];
        }
    }
    return result;
}

}  // namespace skelmar
