#include "richtext/RichDocument.h"

#include <string_view>

namespace skelmar {

namespace {

constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";  // U+2028
constexpr std::string_view kSoftHyphen = "\xC2\xAD";         // U+00AD

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

}  // namespace skelmar
