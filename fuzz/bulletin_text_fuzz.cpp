// Splits any bytes into bulletin lines and cuts a tagged section out of them. Checks that the
// lines hold no break and join back to the text, and that the section is what deleting lines
// one at a time, the plain way, leaves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "retrieval/BulletinText.h"
#include "text/StringRoutines.h"

namespace {

using skelmar::fuzz::Require;

// The cut step by step, one deletion at a time.
void PlainExtract(skelmar::BulletinLines& lines, std::string_view tag)
{
    const std::string opening = "<" + std::string(tag) + ">";
    const std::string closing = "</" + std::string(tag) + ">";
    while (lines.size() >= 2 && skelmar::TrimChar(lines.front(), ' ') != opening)
        lines.erase(lines.begin());
    if (!lines.empty())
        lines.erase(lines.begin());
    std::size_t i = 0;
    while (static_cast<long>(i) < static_cast<long>(lines.size()) - 1 && skelmar::TrimChar(lines[i], ' ') != closing)
        ++i;
    while (lines.size() > i)
        lines.pop_back();
}

// The text as the lines should read it: cut at NUL, every break made LF, one final LF dropped.
std::string Normalised(std::string_view body)
{
    body = body.substr(0, body.find('\0'));
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
            continue;
        text += body[i] == '\r' ? '\n' : body[i];
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static constexpr std::string_view kTags[] = {"PRE", "", "pre", "X"};
    const std::string_view tag = kTags[data[0] % 4];
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);

    const skelmar::BulletinLines lines = skelmar::SplitBulletinText(body);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Require(lines[i].find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        joined += (i ? "\n" : "") + lines[i];
    }
    Require(joined == Normalised(body));

    skelmar::BulletinLines section = lines;
    skelmar::BulletinLines plain = lines;
    skelmar::ExtractTaggedSection(section, tag);
    PlainExtract(plain, tag);
    Require(section == plain);
    return 0;
}
