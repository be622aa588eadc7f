#pragma once
// The composed report document as the bytes of a file or of standard output: one rule for the
// window's Save As and the command line's --format.

#include <string>
#include <string_view>

namespace skelmar {

enum class ReportDocumentFormat { Text, Rtf, Html };

// Rtf: the document exactly, its raw control bytes escaped (EscapeRtfControls); Html: a whole
// UTF-8 page (HtmlText); Text: UTF-8, a paragraph a line (PlainText), with the control
// characters other than line breaks and tab replaced by "?" (ReplaceControlCharacters), so
// that a bulletin's cell cannot reach a terminal as a control.
std::string ReportDocumentBytes(ReportDocumentFormat format, std::string_view rtf);

}  // namespace skelmar
