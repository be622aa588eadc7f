#pragma once
// Configuration texts for report tests: short templates, and every other text echoes its
// section and key ("<CIG 3>"), so a report shows which cell and which section each piece
// came from.

#include <string>

#include "tests/support/MemoryConfigTexts.h"

namespace skelmar {

class EchoConfig final : public ConfigTexts {
public:
    EchoConfig()
        : templates_{
              {"GENERAL", "Heading", "Forecast for"},
              {"TEMP", "TEMP", "Temp %s."},
              {"TEMP", "DEWPT", "Dew %s."},
              {"CLDS", "CLDS", "Sky %s"},
              {"VIS", "VIS1", "Vis %s."},
              {"VIS", "VIS2", "Vis %s with %s."},
              {"WIND", "WIND", "Wind %s at %s."},
              {"PTYPE", "PTYPE", "Type %s."},
              {"PROBABILITIES", "Intro6", "Six %s."},
              {"PROBABILITIES", "Intro12", "Twelve %s."},
              {"PROBABILITIES", "Precip", "Pop %s/%s."},
              {"PROBABILITIES", "TS", "Ts %s/%s."},
              {"QPF", "QPF", "Qpf %s."},
          }
    {
    }

    std::string Value(std::string_view section, std::string_view key) const override
    {
        std::string text = templates_.Value(section, key);
        if (text.empty())
            text = "<" + std::string(section) + " " + std::string(key) + ">";
        return text;
    }

private:
    MemoryConfigTexts templates_;
};

}  // namespace skelmar
