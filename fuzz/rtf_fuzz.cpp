// Reads any bytes as RTF and checks what the reader promises of every document: runs are
// never empty, adjacent runs differ in format, the counts and the text stay within their
// bounds, the plain text is well-formed UTF-8, and the HTML page holds the paragraphs alone
// and no control character. The RTF as it leaves the program holds no raw control byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/RtfControls.h"
#include "richtext/RtfReader.h"
#include "text/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const skelmar::RichDocument document =
        skelmar::ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));

    if (document.paragraphs.size() > skelmar::kMaxParagraphs)
        __builtin_trap();
    std::size_t runs = 0;
    std::size_t textBytes = 0;
    for (const skelmar::RichParagraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const skelmar::RichRun& run = paragraph.runs[i];
            if (run.text.empty() || run.format.pointSize <= 0.0)
                __builtin_trap();
            if (i > 0 && run.format == paragraph.runs[i - 1].format)
                __builtin_trap();
            textBytes += run.text.size();
        }
        runs += paragraph.runs.size();
    }
    // A paragraph gets its first run even beyond the run limit.
    if (runs > skelmar::kMaxRuns + document.paragraphs.size() || textBytes > 3 * size)
        __builtin_trap();

    // Well-formed UTF-8: either plain ASCII or what LooksLikeUtf8 accepts.
    const std::string plain = skelmar::PlainText(document);
    const bool ascii = std::all_of(plain.begin(), plain.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && !skelmar::LooksLikeUtf8(plain))
        __builtin_trap();

    // The HTML page: one <p> per paragraph, and none from the text, which is escaped.
    const std::string html = skelmar::HtmlText(document);
    std::size_t paragraphTags = 0;
    for (std::size_t at = html.find("<p>"); at != std::string::npos; at = html.find("<p>", at + 3))
        ++paragraphTags;
    if (paragraphTags != document.paragraphs.size())
        __builtin_trap();
    for (std::size_t i = 0; i < html.size(); ++i)
        if (html[i] != '\r' && skelmar::ControlCharacterLength(html, i) != 0)
            __builtin_trap();

    const std::string escaped =
        skelmar::EscapeRtfControls(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const char c : escaped) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\r' && byte != '\n' && byte != '\t') || byte == 0x7F || byte == 0x81 ||
            byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            __builtin_trap();
    }
    return 0;
}
