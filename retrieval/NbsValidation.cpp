#include "retrieval/NbsValidation.h"

#include <algorithm>
#include <string>

#include "forecast/NbsBulletin.h"
#include "forecast/NbsForecast.h"
#include "retrieval/NbsSource.h"

namespace skelmar {

namespace {

bool OfStation(const RetrievalContext& context, std::string_view identifier, std::string_view stationCode)
{
    if (identifier == NbsStationIdentifier(context.config, stationCode))
        return true;
    return identifier.size() == stationCode.size() + 1 && (identifier.front() == 'K' || identifier.front() == 'P') &&
           identifier.substr(1) == stationCode;
}

// The lines from the station's own title on, when they hold several stations' blocks (a
// whole cycle file saved for the command line); else all of them.
BulletinLines StationsBlock(const RetrievalContext& context, std::string_view stationCode)
{
    const BulletinLines& lines = context.state.bulletinLines;
    const auto own = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return nbs::IsNbsTitle(line) && OfStation(context, nbs::FirstWord(line), stationCode);
    });
    return own == lines.end() ? lines : BulletinLines(own, lines.end());
}

}  // namespace

std::optional<bool> ValidateNbsBulletin(RetrievalContext& context, std::string_view stationCode, ForecastModel& model)
{
    if (nbs::ReadNbsBulletin(context.state.bulletinLines).reading == nbs::Reading::NotNbs)
        return std::nullopt;
    const nbs::ReadResult read = nbs::ReadNbsBulletin(StationsBlock(context, stationCode));
    model = ForecastModel{};
    context.host.SetForecastCaption(std::string(kNoForecastObtained));
    const nbs::Bulletin& bulletin = read.bulletin;
    if (read.reading != nbs::Reading::Read || !OfStation(context, bulletin.identifier, stationCode)) {
        context.host.Error(std::string(kCorruptedText));
        return false;
    }
    // The date as the other bulletins' headers give it: month/day/two-digit year.
    const std::string date = std::to_string(bulletin.month) + "/" + std::to_string(bulletin.day) + "/" +
                             std::to_string(bulletin.year % 100 / 10) + std::to_string(bulletin.year % 10);
    if (!CheckBulletinDate(context, date))
        return false;
    context.state.forecastBaseTime += bulletin.issueHour / 24.0;
    context.host.UpdateTimeLabels();
    model = NbsForecastModel(bulletin);
    return true;
}

}  // namespace skelmar
