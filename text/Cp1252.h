#pragma once
// The core keeps text as code page 1252 bytes, as the bulletin and the configuration file are.
// These are the only conversions to and from Unicode.

#include <string>
#include <string_view>

namespace skelmar {

// The Unicode code point of one code page 1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The code page 1252 byte of a code point, or `fallback` when the code page has none.
char CodePointToCp1252(char32_t codePoint, char fallback = '?');

std::string Cp1252ToUtf8(std::string_view text);

// Malformed sequences and characters outside the code page become `fallback`.
std::string Utf8ToCp1252(std::string_view text, char fallback = '?');

// Appends the UTF-8 encoding of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// True when `text` is well-formed UTF-8 that holds at least one multi-byte character:
// text in code page 1252 with letters beyond ASCII almost never is.
bool LooksLikeUtf8(std::string_view text);

}  // namespace skelmar
