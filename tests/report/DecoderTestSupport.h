#pragma once
// Runs one element decoder of a fresh composition and gives what it appended.

#include <string>

#include "report/ReportComposer.h"
#include "tests/report/EchoConfig.h"

namespace skelmar {

using Decoder = void (ReportComposer::*)();

inline ReportInputs DecoderInputs(const BulletinLines& lines, int step, TemperatureUnit unit,
                                  const ConfigTexts& config)
{
    return ReportInputs{lines, step, unit, "", config};
}

struct DecoderResult {
    std::string text;        // ReportText after the decoder
    std::string currentRow;  // the row it looked up last
};

inline DecoderResult RunDecoder(Decoder decoder, const BulletinLines& lines, int step,
                                TemperatureUnit unit = TemperatureUnit::Fahrenheit)
{
    const EchoConfig config;
    ReportComposer composer(DecoderInputs(lines, step, unit, config));
    (composer.*decoder)();
    return {composer.ReportText(), composer.CurrentRow()};
}

}  // namespace skelmar
