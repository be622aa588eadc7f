#pragma once
// Reads RTF text (as the report composer writes it, plus what configuration texts may add)
// into a RichDocument. It only reads: nothing is executed, fetched or embedded.
//
// What is read:
//  - \par ends a paragraph; the text after the last one is a final paragraph when it holds
//    any text (the report ends without \par), so no empty paragraph trails the document.
//  - \line, \tab, \~ \- \_, \{ \} \\, \emdash \endash \lquote \rquote \ldblquote \rdblquote
//    \bullet \enspace \emspace; a backslash before CR or LF acts as \par.
//  - Character format, scoped by groups: \b \i \ul (parameter 0 turns off), \ul0 \ulnone,
//    \uld \uldb \ulw \ulwave \uldash \ulth, \fsN (half points; none or <= 0 gives the
//    default 24, more than 3276 gives 3276), \fN, \plain (font \deff, 12 pt, no style).
//  - \fonttbl maps font numbers to family names (read up to each ";"); \deffN.
//  - Text bytes, raw or as \'hh, are code page 1252 whatever \ansicpg says. \uN is a UTF-16
//    unit (negative N plus 65536; surrogate pairs are joined; out of range gives U+FFFD),
//    followed by \ucN fallback characters (default 1) that are dropped: a text byte, \'hh or
//    any control counts as one, and a brace ends the fallback.
//  - CR and LF in the source are ignored, a raw tab is a tab, other bytes below 32 are ignored.
//  - Skipped with everything up to the end of their group: {\* ...} destinations, \info,
//    \stylesheet, \colortbl, \pict, \object, \fldinst, headers, footers, footnotes and a few
//    more tables; \binN data is always passed over. {\field{\*\fldinst ...}{\fldrslt shown}}
//    shows "shown". Other control words and unknown groups without \* change nothing, their
//    text is shown.
//
// Malformed input gives a best-effort document, never an error: missing closing braces are
// taken as closed at the end, a stray "}" is ignored (the text after it is still read), a
// truncated control word at the end is dropped, "\'" without two hex digits is dropped and
// what follows read as it stands. Time and memory grow linearly with the input:
//  - groups deeper than kMaxGroupDepth are counted for balance but keep no formatting of
//    their own (a change inside one lasts until its enclosing group at the limit closes);
//  - a control word of more than 32 letters is consumed and ignored; parameters saturate;
//  - at most kMaxParagraphs paragraphs: further \par become line breaks; at most kMaxRuns
//    runs: further text joins the last run of its paragraph. No text is lost.
//  - the text holds at most 3 UTF-8 bytes per input byte.

#include <cstddef>
#include <string_view>

#include "richtext/RichDocument.h"

namespace skelmar {

inline constexpr std::size_t kMaxGroupDepth = 1024;
inline constexpr std::size_t kMaxParagraphs = 65536;
inline constexpr std::size_t kMaxRuns = 65536;

// Never throws but std::bad_alloc.
RichDocument ReadRtf(std::string_view rtf);

}  // namespace skelmar
