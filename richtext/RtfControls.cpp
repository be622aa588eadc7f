#include "richtext/RtfControls.h"

namespace skelmar {

namespace {

bool IsC0Control(unsigned char byte) { return byte < 0x20 && byte != '\r' && byte != '\n' && byte != '\t'; }

bool IsCharacterControl(unsigned char byte)
{
    return byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

}  // namespace

std::string EscapeRtfControls(std::string_view rtf)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(rtf.size());
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto byte = static_cast<unsigned char>(rtf[i]);
        if (byte == '\\' && i + 1 < rtf.size()) {
            const auto next = static_cast<unsigned char>(rtf[i + 1]);
            // "\" and the byte after it belong together ("\\", "\{", "\'", a control word).
            if (!IsC0Control(next) && !IsCharacterControl(next))
                out += rtf.substr(i, 2);
            ++i;
        } else if (IsCharacterControl(byte)) {
            out += "\\'";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else if (!IsC0Control(byte)) {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

}  // namespace skelmar
