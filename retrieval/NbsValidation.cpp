#include "retrieval/NbsValidation.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "forecast/NbsBulletin.h"
#include "forecast/NbsForecast.h"
#include "text/Error.h"

namespace skelmar {

namespace {

bool OfStation(std::string_view identifier, std::string_view stationCode)
{
    if (identifier == stationCode)
        return true;
    return stationCode.size() == 3 && identifier.size() == 4 && (identifier.front() == 'K' || identifier.front() == 'P') &&
           identifier.substr(1) == stationCode;
}

// The lines from the station's own title on, when they hold several stations' blocks (a
// whole cycle file saved for the command line); else all of them.
BulletinLines StationsBlock(const BulletinLines& lines, std::string_view stationCode)
{
    const auto own = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return nbs::IsNbsTitle(line) && OfStation(nbs::FirstWord(line), stationCode);
    });
    return own == lines.end() ? lines : BulletinLines(own, lines.end());
}

}  // namespace

std::optional<BulletinVerdict> CheckNbsBulletin(const BulletinLines& lines, std::string_view stationCode,
                                                TDateTime today)
{
    if (nbs::ReadNbsBulletin(lines).reading == nbs::Reading::NotNbs)
        return std::nullopt;
    const nbs::ReadResult read = nbs::ReadNbsBulletin(StationsBlock(lines, stationCode));
    const nbs::Bulletin& bulletin = read.bulletin;
    if (read.reading != nbs::Reading::Read || !OfStation(bulletin.identifier, stationCode))
        return BulletinVerdict{false, std::nullopt, std::string(kCorruptedText), {}};
    TDateTime date;
    try {
        date = EncodeDate(static_cast<std::uint16_t>(bulletin.year), static_cast<std::uint16_t>(bulletin.month),
                          static_cast<std::uint16_t>(bulletin.day));
    } catch (const Error&) {
        return BulletinVerdict{false, TDateTime(0), {}, {}};
    }
    if (date != today && date != today + 1)
        return BulletinVerdict{false, date, std::string(kDateMismatch), {}};
    return BulletinVerdict{true, date + bulletin.issueHour / 24.0, {}, NbsForecastModel(bulletin)};
}

}  // namespace skelmar
