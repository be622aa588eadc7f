#pragma once
// What the station list's search matches: for each entry, its display text, its ICAO
// identifier ("KGCK" for "(GCK)", "PANC" for "(PANC)") and the name of its state ("Kansas" for
// ", KS ("), so that "gck", "garden", "KGCK" or "Kansas" all find Garden City.

#include <QString>
#include <QStringList>

#include <vector>

namespace skelmar {

// The text a search looks in, in lower case.
QString StationSearchKey(const QString& entry);

// The rows of `keys` (from StationSearchKey) that hold `typed` anywhere, case-insensitively;
// every row for an empty `typed`.
std::vector<int> MatchingStations(const QStringList& keys, const QString& typed);

}  // namespace skelmar
