#include "richtext/RichDocument.h"

#include <charconv>
#include <string_view>

#include "text/Cp1252.h"

namespace skelmar {

namespace {

constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";  // U+2028
constexpr std::string_view kSoftHyphen = "\xC2\xAD";         // U+00AD

// Text for HTML content or a double-quoted attribute. A control character (C0 but tab and
// line feed, DEL, C1), which HTML does not allow in a document and a browser would not show,
// is written as the reference to U+FFFD REPLACEMENT CHARACTER, so none reaches the file raw.
void AppendEscaped(std::string& html, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t length = ControlCharacterLength(text, i)) {
            html += "&#xFFFD;";
            i += length - 1;
            continue;
        }
        switch (text[i]) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        default: html += text[i];
        }
    }
}

// A family name as a CSS string in single quotes; a quote, a backslash or a control
// character is written as a CSS hex escape ("\27 ").
std::string CssString(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string css = "'";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t control = ControlCharacterLength(text, i);
        if (control == 2)
            ++i;  // a C1 control, two bytes in UTF-8: its code point is the second byte's value
        const auto byte = static_cast<unsigned char>(text[i]);
        if (control != 0 || byte < 0x20 || byte == '\\' || byte == '\'') {
            css += '\\';
            css += kHex[byte >> 4];
            css += kHex[byte & 0xF];
            css += ' ';
        } else {
            css += text[i];
        }
    }
    return css + "'";
}

// The style of a run; "" for the view's defaults.
std::string RunStyle(const CharFormat& format)
{
    std::string style;
    if (!format.family.empty())
        style += "font-family: " + CssString(format.family) + "; ";
    // to_chars: the shortest form, and a full stop whatever the process's locale.
    char size[32];
    const auto written = std::to_chars(size, size + sizeof size, format.pointSize);
    style += "font-size: " + std::string(size, written.ptr) + "pt; ";
    if (format.bold)
        style += "font-weight: bold; ";
    if (format.italic)
        style += "font-style: italic; ";
    if (format.underline)
        style += "text-decoration: underline; ";
    style.resize(style.size() - 2);  // the last "; "
    return style;
}

// A run's text as HTML content: escaped, line separators as <br>.
void AppendRunText(std::string& html, std::string_view text)
{
    for (std::size_t at = text.find(kLineSeparator); at != std::string_view::npos; at = text.find(kLineSeparator)) {
        AppendEscaped(html, text.substr(0, at));
        html += "<br>";
        text.remove_prefix(at + kLineSeparator.size());
    }
    AppendEscaped(html, text);
}

}  // namespace

std::string PlainText(const RichDocument& document)
{
    std::string text;
    for (const RichParagraph& paragraph : document.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            // UTF-8 is self-synchronising: these byte sequences match whole characters only.
            std::string_view rest = run.text;
            for (std::size_t lead = rest.find_first_of("\xE2\xC2"); lead != std::string_view::npos;
                 lead = rest.find_first_of("\xE2\xC2")) {
                text += rest.substr(0, lead);
                rest.remove_prefix(lead);
                if (rest.starts_with(kLineSeparator)) {
                    text += '\n';
                    rest.remove_prefix(kLineSeparator.size());
                } else if (rest.starts_with(kSoftHyphen)) {
                    rest.remove_prefix(kSoftHyphen.size());
                } else {
                    text += rest.front();
                    rest.remove_prefix(1);
                }
            }
            text += rest;
        }
        text += '\n';
    }
    return text;
}

std::string HtmlText(const RichDocument& document)
{
    std::string title;
    if (!document.paragraphs.empty()) {
        RichDocument first;
        first.paragraphs.push_back(document.paragraphs.front());
        title = PlainText(first);
        while (!title.empty() && (title.back() == '\n' || title.back() == ' '))
            title.pop_back();
    }

    std::string html =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    AppendEscaped(html, title);
    html += "</title>\n<style>p { margin: 0; white-space: pre-wrap; }</style>\n</head>\n<body>\n";
    for (const RichParagraph& paragraph : document.paragraphs) {
        html += "<p>";
        if (paragraph.runs.empty())
            html += "<br>";
        for (const RichRun& run : paragraph.runs) {
            html += "<span style=\"";
            AppendEscaped(html, RunStyle(run.format));
            html += "\">";
            AppendRunText(html, run.text);
            html += "</span>";
        }
        html += "</p>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace skelmar
