#pragma once
// The check of a held NBM bulletin (NBS), with the refusals and texts of the other bulletins.

#include <optional>
#include <string_view>

#include "forecast/ForecastModel.h"
#include "retrieval/RetrievalSequence.h"

namespace skelmar {

// nullopt when the held lines are no NBS bulletin (their first line that is not blank is no
// NBS title). Otherwise the station's block is read (the first block, or the station's own
// where the lines hold several), and as ValidateBulletin: the forecast caption "No forecast obtained";
// the bulletin refused as corrupted when it is unreadable (nbs::ReadNbsBulletin: a broken
// header or hour rows, a row the report needs missing or cut short) or of another station
// (its identifier is neither C_NBS_PREFIX + code nor a K or P before the code); the date
// check of CheckBulletinDate (today or tomorrow); then ForecastBaseTime set to the issue
// (date and hour, UTC), the time labels updated and `model` filled (NbsForecastModel).
// `model` is left empty (no table) when the bulletin is refused.
std::optional<bool> ValidateNbsBulletin(RetrievalContext& context, std::string_view stationCode, ForecastModel& model);

}  // namespace skelmar
