#include "retrieval/BulletinText.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "text/LineBreaks.h"
#include "text/StringRoutines.h"

namespace skelmar {

BulletinLines SplitBulletinText(std::string_view body)
{
    body = body.substr(0, body.find('\0'));
    BulletinLines lines;
    ForEachLine(body, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

void ExtractTaggedSection(BulletinLines& lines, std::string_view tag)
{
    const std::string opening = "<" + std::string(tag) + ">";
    const std::string closing = "</" + std::string(tag) + ">";
    const auto isTagLine = [](const std::string& line, const std::string& tagLine) {
        return TrimChar(line, ' ') == tagLine;
    };

    // Everything before the opening tag line goes, and the tag line with it. Without one the
    // search stops at the last line, which then goes too.
    std::size_t open = 0;  // [0, size - 1] once the list is not empty
    while (open + 1 < lines.size() && !isTagLine(lines[open], opening))
        ++open;
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(open + 1, lines.size())));

    // From the closing tag line on everything goes; without one, the last line goes alone.
    std::size_t close = 0;  // [0, size - 1] once the list is not empty
    while (close + 1 < lines.size() && !isTagLine(lines[close], closing))
        ++close;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(std::min(close, lines.size())), lines.end());
}

}  // namespace skelmar
