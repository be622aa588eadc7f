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
        // A plain loop: find_first_of tries both breaks at every character.
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        if (end == text.size()) {
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
