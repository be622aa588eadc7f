#include "app/StationSearch.h"

#include <QHash>

#include "graph/QtText.h"
#include "config/StationEntry.h"

namespace skelmar {

namespace {

// The states and territories of the guidance's stations by their postal codes.
const QHash<QString, QString>& StateNames()
{
    static const QHash<QString, QString> names = {
        {"AK", "Alaska"}, {"AL", "Alabama"}, {"AR", "Arkansas"}, {"AZ", "Arizona"}, {"CA", "California"},
        {"CO", "Colorado"}, {"CT", "Connecticut"}, {"DC", "District of Columbia"}, {"DE", "Delaware"},
        {"FL", "Florida"}, {"GA", "Georgia"}, {"HI", "Hawaii"}, {"IA", "Iowa"}, {"ID", "Idaho"},
        {"IL", "Illinois"}, {"IN", "Indiana"}, {"KS", "Kansas"}, {"KY", "Kentucky"}, {"LA", "Louisiana"},
        {"MA", "Massachusetts"}, {"MD", "Maryland"}, {"ME", "Maine"}, {"MI", "Michigan"}, {"MN", "Minnesota"},
        {"MO", "Missouri"}, {"MS", "Mississippi"}, {"MT", "Montana"}, {"NC", "North Carolina"},
        {"ND", "North Dakota"}, {"NE", "Nebraska"}, {"NH", "New Hampshire"}, {"NJ", "New Jersey"},
        {"NM", "New Mexico"}, {"NV", "Nevada"}, {"NY", "New York"}, {"OH", "Ohio"}, {"OK", "Oklahoma"},
        {"OR", "Oregon"}, {"PA", "Pennsylvania"}, {"PR", "Puerto Rico"}, {"RI", "Rhode Island"},
        {"SC", "South Carolina"}, {"SD", "South Dakota"}, {"TN", "Tennessee"}, {"TX", "Texas"}, {"UT", "Utah"},
        {"VA", "Virginia"}, {"VI", "Virgin Islands"}, {"VT", "Vermont"}, {"WA", "Washington"},
        {"WI", "Wisconsin"}, {"WV", "West Virginia"}, {"WY", "Wyoming"}, {"BM", "Bermuda"}, {"CU", "Cuba"},
        {"KN", "Saint Kitts"}, {"AN", "Sint Maarten"},
    };
    return names;
}

}  // namespace

QString StationSearchKey(const QString& entry)
{
    const std::string entryText = FromQString(entry);
    const QString display = ToQString(StationDisplayText(entryText));
    const QString code = ToQString(StationCodeOf(entryText));
    QString key = display;
    if (!code.isEmpty())
        key += QLatin1Char(' ') + (code.size() == 3 ? QStringLiteral("K") + code : code);
    // "Garden City, KS (GCK)": the two letters before " (" after the last comma.
    const qsizetype open = display.indexOf(QLatin1Char('('));
    const qsizetype comma = display.lastIndexOf(QLatin1Char(','), open);
    if (open > 0 && comma >= 0) {
        const QString state = display.mid(comma + 1, open - comma - 1).trimmed();
        const auto name = StateNames().constFind(state);
        if (name != StateNames().constEnd())
            key += QLatin1Char(' ') + *name;
    }
    return key.toLower();
}

std::vector<int> MatchingStations(const QStringList& keys, const QString& typed)
{
    const QString wanted = typed.toLower();
    std::vector<int> rows;
    for (qsizetype row = 0; row < keys.size(); ++row)
        if (keys[row].contains(wanted))
            rows.push_back(static_cast<int>(row));
    return rows;
}

}  // namespace skelmar
