#include "text/Cp1252.h"

#include <array>

namespace skelmar {

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is malformed.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

char CodePointToCp1252(char32_t codePoint, char fallback)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    return fallback;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text, char fallback)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            out += fallback;
            ++i;
            continue;
        }
        out += CodePointToCp1252(cp, fallback);
        i += length;
    }
    return out;
}

bool LooksLikeUtf8(std::string_view text)
{
    bool multiByte = false;
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

std::size_t ControlCharacterLength(std::string_view utf8, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F)
        return 1;
    // UTF-8 is self-synchronising: a C2 lead byte here starts a character.
    if (byte == 0xC2 && at + 1 < utf8.size()) {
        const auto next = static_cast<unsigned char>(utf8[at + 1]);
        return next >= 0x80 && next <= 0x9F ? 2 : 0;
    }
    return 0;
}

std::string ReplaceControlCharacters(std::string_view utf8)
{
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (const std::size_t length = ControlCharacterLength(utf8, i)) {
            text += '?';
            i += length - 1;
        } else {
            text += utf8[i];
        }
    }
    return text;
}

}  // namespace skelmar
