#pragma once
// Runs one element decoder of a fresh composition and gives what it appended.

#include <string>

#include "forecast/ForecastReaders.h"
#include "report/ReportComposer.h"
#include "tests/report/EchoConfig.h"
#include "tests/time/TimeTestSupport.h"

namespace skelmar {

using Decoder = void (ReportComposer::*)();

// Zulu with the default date patterns.
inline const TimeTextContext kZulu{};

// 9 December 2026 12:00 UTC, the issue time of the winter fixture.
inline const TDateTime kWinterBaseTime = testing::At(2026, 12, 9, 12);

inline ReportInputs DecoderInputs(const ForecastModel& forecast, int step, TemperatureUnit unit,
                                  const ConfigTexts& config)
{
    return ReportInputs{forecast, kWinterBaseTime, step, unit, "", config, kZulu};
}

// Everything else as DecoderInputs gives it.
inline ReportInputs DecoderInputs(const ForecastModel& forecast, int step, const ConfigTexts& config,
                                  const TimeTextContext& time)
{
    return ReportInputs{forecast, kWinterBaseTime, step, TemperatureUnit::Fahrenheit, "", config, time};
}

// ReportText after the decoder, run on the model of a table in the old layout.
inline std::string RunDecoder(Decoder decoder, const BulletinLines& lines, int step,
                              TemperatureUnit unit = TemperatureUnit::Fahrenheit)
{
    const EchoConfig config;
    const ForecastModel forecast = ReadNgmTable(lines);
    ReportComposer composer(DecoderInputs(forecast, step, unit, config));
    (composer.*decoder)();
    return composer.ReportText();
}

}  // namespace skelmar
