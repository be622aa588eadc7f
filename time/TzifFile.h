#pragma once
// The binary zone files of the IANA tz database (TZif). Of a file only its footer is read:
// the POSIX TZ string that version 2 and later files carry after their 64-bit data, and that
// gives the zone's rule after the last recorded transition.

#include <optional>
#include <string_view>

namespace skelmar {

// The TZ string of the footer of `file` (the bytes of a whole TZif file), as a view into it;
// it may be empty (a zone without a rule). Layout: a 44-byte header (magic "TZif", a version
// byte, 15 reserved bytes, six big-endian 32-bit counts), the version 1 data block, a second
// header and the 64-bit data block, then "\n" TZ string "\n". Bytes after the footer are
// ignored. std::nullopt when the file is not TZif, is version 1 only, breaks a rule of the
// format (no local time types, no designation characters, indicator counts other than 0 or
// the number of types) or ends before the footer does. Never throws; reads within `file`.
std::optional<std::string_view> TzifFooter(std::string_view file);

}  // namespace skelmar
