#pragma once
// The composed RTF document as it leaves the program (the command line's --format rtf, a
// saved .rtf file): the same document, but no raw control byte in it, which a bulletin's cell
// can carry into the report and a terminal would act on.

#include <string>
#include <string_view>

namespace skelmar {

// `rtf` with each raw control byte rewritten as RTF means it:
//  - the C1 controls of code page 1252 (the undefined bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D)
//    and DEL become the hex escape \'hh, the same character to a reader;
//  - the other C0 controls but CR, LF and tab, which a reader skips, are dropped, and so is
//    a control symbol made of a backslash and such a byte, which a reader ignores.
// Everything else, escapes and control words included, stays byte for byte.
std::string EscapeRtfControls(std::string_view rtf);

}  // namespace skelmar
