#pragma once
// The one error type of the program. Expected failures are shown where they happen and
// reported by a false result; everything else travels as an Error up to the window's event
// boundary (or the command line's main), which shows its message text as it stands.

#include <stdexcept>
#include <string>

namespace skelmar {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The text of the general error box: the message, with a full stop added when its last
// character sorts after "." (a letter or a digit, say).
inline std::string GeneralErrorText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

}  // namespace skelmar
