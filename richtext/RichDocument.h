#pragma once
// The small document model that an RTF report is read into: paragraphs of runs of equally
// formatted text. The window shows it; the command line prints its plain text.
//
// Text is UTF-8 (not code page 1252 like the rest of the core): the document may hold
// characters the code page lacks (\uN), and the Qt side converts from UTF-8 directly.
// Inside a paragraph, a line break (\line) is U+2028 LINE SEPARATOR, as QTextDocument keeps
// it, and a tab is '\t'; the optional hyphen (\-) is U+00AD SOFT HYPHEN.

#include <string>
#include <vector>

namespace skelmar {

struct CharFormat {
    // The family name from the document's font table; "" when the font has no entry there,
    // which the view shows in its own default font.
    std::string family;
    double pointSize = 12.0;  // half points / 2, so 10.5 is possible
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const CharFormat&) const = default;
};

struct RichRun {
    std::string text;  // UTF-8, never empty
    CharFormat format;
};

struct RichParagraph {
    // Adjacent runs differ in format. An empty paragraph (from "\par \par ") has no runs.
    std::vector<RichRun> runs;
};

struct RichDocument {
    std::vector<RichParagraph> paragraphs;
};

// The document as UTF-8 text, each paragraph followed by "\n". A line break inside a
// paragraph becomes "\n" too; soft hyphens are dropped; tabs stay.
std::string PlainText(const RichDocument& document);

// The document as a complete HTML page in UTF-8: one <p> per paragraph (an empty one holds a
// <br>), a <span> per run with its font, size, weight, slant and underline, a line break
// inside a paragraph as <br>, tabs and blanks kept (white-space: pre-wrap). The title is the
// plain text of the first paragraph. Every text and family name is escaped.
std::string HtmlText(const RichDocument& document);

}  // namespace skelmar
