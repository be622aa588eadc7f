#include "text/StringRoutines.h"

#include <algorithm>
#include <cstring>

namespace skelmar {

std::string ExtractField(std::string_view text, char delimiter, int n)
{
    if (n < 1)
        return {};
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t next = text.find(delimiter, start);
        if (next == std::string_view::npos)
            return {};  // fewer than n fields
        start = next + 1;
    }
    const std::size_t end = text.find(delimiter, start);
    return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
}

void SplitWords(std::string_view text, TWordList& words)
{
    words.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t begin = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > begin)
            words.emplace_back(text.substr(begin, i - begin));
    }
}

std::string TrimChar(std::string_view text, char c)
{
    const std::size_t first = text.find_first_not_of(c);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(c);
    return std::string(text.substr(first, last - first + 1));
}

std::string TrimCharLeft(std::string_view text, char c)
{
    const std::size_t first = text.find_first_not_of(c);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first));
}

std::string LeftChars(std::string_view text, int n)
{
    if (n <= 0)
        return {};
    return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string RightChars(std::string_view text, int n)
{
    if (n <= 0)
        return {};
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
    return std::string(text.substr(text.size() - count));
}

int ReplaceAll(std::string& text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return 0;

    // Collect every occurrence first so that the new text can be sized once. The list starts
    // with room for 1024 positions and doubles when full: growing by a fixed step would copy
    // it again and again on a long line of blanks.
    std::vector<std::size_t> positions;
    for (std::size_t p = text.find(search); p != std::string::npos;
         p = text.find(search, p + search.size())) {
        if (positions.size() == positions.capacity())
            positions.reserve(std::max<std::size_t>(1024, 2 * positions.capacity()));
        positions.push_back(p);
    }
    if (positions.empty())
        return 0;

    const std::size_t count = positions.size();
    const std::size_t newSize = text.size() + count * replacement.size() - count * search.size();
    std::string result(newSize, '\0');
    char* out = result.data();
    std::size_t from = 0;
    for (const std::size_t p : positions) {
        std::memcpy(out, text.data() + from, p - from);
        out += p - from;
        if (!replacement.empty())
            std::memcpy(out, replacement.data(), replacement.size());
        out += replacement.size();
        from = p + search.size();
    }
    std::memcpy(out, text.data() + from, text.size() - from);
    text.swap(result);
    return static_cast<int>(count);
}

}  // namespace skelmar
