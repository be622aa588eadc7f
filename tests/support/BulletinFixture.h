#pragma once
// Bulletin text cut into lines the way the text download does (CR LF, LF or CR end a line;
// the last line needs none), from memory or from a fixture file.

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "forecast/BulletinTable.h"

namespace skelmar {

inline BulletinLines SplitBulletinText(std::string_view text)
{
    BulletinLines lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// The lines of the file at `path`; empty when it cannot be read.
inline BulletinLines ReadBulletinFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return SplitBulletinText(buffer.str());
}

}  // namespace skelmar
