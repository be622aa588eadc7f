// Reads any bytes as a configuration file: values, key lists and entries of a few sections.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "retrieval/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content =
        skelmar::ini::DecodeContent(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string_view section : {"STATIONS", "S", "", "[", "TEMP"}) {
        for (const std::string_view key : {"K", "TEMP", "", "=", ";"})
            skelmar::ini::FindValue(content, section, key);
        skelmar::ini::SectionEntries(content, section);
    }
    return 0;
}
