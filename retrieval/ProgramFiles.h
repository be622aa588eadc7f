#pragma once
// Where the program's files are. The shipped files (Skelmar.ini, the references pages and
// their pictures) are read-only: beside the program in the build tree, under
// <prefix>/share/skelmar once installed. A user who wants other words or stations puts a copy
// of Skelmar.ini in their own configuration folder, which then takes precedence.

#include <filesystem>
#include <string_view>

namespace skelmar {

// The user's base folder of one XDG kind: `variable` ("XDG_CONFIG_HOME", "XDG_CACHE_HOME")
// when it holds an absolute path, else $HOME/`underHome` (".config", ".cache") when $HOME is
// absolute, else `underHome` in the home folder of the user's account. Empty when none of
// these is known. Creates nothing.
std::filesystem::path UserBaseDirectory(const char* variable, std::string_view underHome);

// The folder of the shipped files for the program in `programDir`: `programDir`/../share/skelmar
// when that folder exists (an installed program, wherever its prefix lies, also a package
// unpacked into a scratch folder), else `programDir` itself (the build tree).
std::filesystem::path ShippedDataDirectory(const std::filesystem::path& programDir);

// The user's own configuration file: "skelmar/Skelmar.ini" in the XDG configuration folder
// ($XDG_CONFIG_HOME, else ~/.config). Empty when no home folder is known.
std::filesystem::path UserConfigFilePath();

// The configuration file to read: the user's own when it exists (even when it cannot be
// read: the user meant that file, and opening it reports the fault), else "Skelmar.ini" in
// `dataDir`, the folder of the shipped files.
std::filesystem::path ConfigFilePath(const std::filesystem::path& dataDir);

}  // namespace skelmar
