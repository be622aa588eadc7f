#pragma once
// The check of an NBM bulletin (NBS), with the refusals and texts of the other bulletins. A
// pure function of its inputs, as the check of the other bulletins is.

#include <optional>
#include <string_view>

#include "forecast/BulletinTable.h"
#include "retrieval/BulletinCheck.h"
#include "time/Calendar.h"

namespace skelmar {

// nullopt when `lines` hold no NBS bulletin (their first line that is not blank is no NBS
// title). Otherwise the verdict on the station's block (the first block, or the station's own
// where the lines hold several, as a saved cycle file does): refused as corrupted when it is
// unreadable (nbs::ReadNbsBulletin: a broken header or hour rows, a row the report needs
// missing or cut short) or of another station (its identifier is neither the four-character
// code itself nor a K or P before a three-character code); refused for its date unless it
// is `today` or the day after; else accepted with the issue (date and hour, UTC) as base
// time and its forecast model (NbsForecastModel). A refused bulletin's model is empty.
std::optional<BulletinVerdict> CheckNbsBulletin(const BulletinLines& lines, std::string_view stationCode,
                                                TDateTime today);

}  // namespace skelmar
