#pragma once
// Cutting text into lines the way the bulletin and the configuration file are written: a line
// ends at CR LF, at a lone LF or at a lone CR, and the last line needs no break (so a text
// that ends with a break has no empty line after it).

#include <cstddef>
#include <string_view>

namespace skelmar {

// Hands each line of `text`, without its break, to `visit(std::string_view)`, which returns
// false to stop. An empty text has no lines; "\r\n" has one empty line.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        if (!visit(text.substr(start, end - start)))
            return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

}  // namespace skelmar
