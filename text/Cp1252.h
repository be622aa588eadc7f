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

// The length in bytes of the control character that starts at `at` of UTF-8 text: 1 for a C0
// control but line feed and tab, and for DEL; 2 for a C1 control (U+0080 to U+009F, C2 80 to
// C2 9F); 0 for anything else.
std::size_t ControlCharacterLength(std::string_view utf8, std::size_t at);

// UTF-8 text made safe for a terminal, where control characters act rather than show: each
// C0 control but line feed and tab, DEL, and each C1 control (U+0080 to U+009F) becomes "?".
// Every other byte stays as it is.
std::string ReplaceControlCharacters(std::string_view utf8);

}  // namespace skelmar
