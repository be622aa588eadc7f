#include "forecast/BulletinTable.h"

#include <algorithm>

#include "text/StringRoutines.h"

namespace skelmar {

namespace {

bool IsTableStart(std::string_view line)
{
    const std::string head = LeftChars(TrimCharLeft(line, ' '), 5);
    return head == "MN/MX" || head == "MX/MN";
}

bool IsFixedColumnRow(std::string_view line)
{
    return line.substr(0, 4) == "TEMP" || line.substr(0, 5) == "DEWPT";
}

}  // namespace

bool HoldsTable(const BulletinLines& lines)
{
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return IsTableStart(line); });
}

std::string RespaceFixedColumnRow(std::string_view line)
{
    std::string result = TrimChar(line.substr(0, 6), ' ');
    result += ' ';
    if (line.size() > 6) {
        const std::string_view rest = line.substr(6);
        // Complete 3-character groups only; a shorter tail is dropped.
        for (std::size_t at = 0; at + 3 <= rest.size(); at += 3) {
            result += TrimChar(rest.substr(at, 3), ' ');
            result += ' ';
        }
    }
    return result;
}

void NormaliseBulletinTable(BulletinLines& lines)
{
    const auto start = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& line) { return IsTableStart(line); });
    lines.erase(lines.begin(), start);

    for (std::string& line : lines)
        line = TrimChar(line, ' ');

    std::erase_if(lines, [](const std::string& line) { return line.empty(); });

    for (std::string& line : lines) {
        if (IsFixedColumnRow(line)) {
            line = RespaceFixedColumnRow(line);
            continue;
        }
        ReplaceAll(line, "/ ", "/");
        ReplaceAll(line, "     ", " ");
        ReplaceAll(line, "    ", " ");
        ReplaceAll(line, "   ", " ");
        ReplaceAll(line, "  ", " ");
    }
}

bool BulletinTableReader::FindRow(std::string_view label)
{
    currentRow_.clear();
    for (const std::string& line : lines_) {
        if (line.starts_with(label)) {
            currentRow_ = TrimChar(std::string_view(line).substr(label.size()), ' ');
            break;
        }
    }
    return !currentRow_.empty();
}

std::string BulletinTableReader::Cell(int cell) const
{
    return ExtractField(currentRow_, ' ', cell);
}

}  // namespace skelmar
