#pragma once
// Reads a bulletin fixture into lines the way the text download does (CR LF, LF or CR end a
// line; the last line needs none).

#include <fstream>
#include <sstream>
#include <string>

#include "report/BulletinTable.h"

namespace skelmar {

// The lines of the file at `path`; empty when it cannot be read.
inline BulletinLines ReadBulletinFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
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

}  // namespace skelmar
