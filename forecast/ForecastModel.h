#pragma once
// What a bulletin says, whatever its product: values at instants (every 3 hours after the
// issue) and values over periods (each with its own start and end). Each product's reader
// fills it with its own rule for which cell belongs to which hour; the report and the graph
// read only this model and know no product.
//
// Values keep the product's own code or number as text, so that a code is the key of its
// text in the configuration, and the report can say exactly what the bulletin said.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace skelmar {

struct ForecastValue {
    enum class State {
        Absent,   // the bulletin has no such element here (no row, no cell for this hour)
        Missing,  // the bulletin marks it missing (999, 99, 9 ...) or gives a code it has no
                  // meaning for; `text` keeps what stood there, `key` the missing-value key
        None,     // the bulletin says there is none (no obstruction, no precipitation type)
        Given,
    };
    State state = State::Absent;
    // The bulletin's code or number as it stands in the cell (code page 1252).
    std::string text;
    // The configuration key of the value's text in its section; empty: `text` is the key.
    std::string key;
    // The key an older configuration file has for it, where `key` is a finer category that
    // such a file merges with others; used when `key` has no text. Empty: none.
    std::string fallbackKey;
    // A quantity the bulletin states as a number rather than a category: a ceiling in feet,
    // a visibility in statute miles (a reader converts its product's units, such as hundreds
    // of feet, to these). The report states the number where the configuration has a
    // template for it ([CIG] Feet, [VIS] Miles), else the text of the value's key.
    std::optional<double> number;
    // The least quantity the value can mean, in feet for a ceiling and miles for a
    // visibility: the number itself, or the lower bound of the category. The graph's flight
    // categories come from it; empty where the value gives none.
    std::optional<double> lowerBound;

    bool Present() const { return state != State::Absent; }
    // The configuration key to look up first.
    const std::string& Key() const { return key.empty() ? text : key; }
};

// A value over a period, in hours after the issue: (startHour, endHour].
struct ForecastPeriod {
    int startHour = 0;
    int endHour = 0;
    ForecastValue precipitation;  // chance of precipitation, percent
    ForecastValue thunderstorms;  // "a/b": chance of a thunderstorm / that it is severe, percent
    ForecastValue amount;         // amount of precipitation: `key` is its [QPF] key
    ForecastValue maximum;        // daily maximum temperature, whole degrees Fahrenheit
    ForecastValue minimum;        // daily minimum temperature
    ForecastValue snowfall;       // snowfall amount: `key` is its [SNOW] key

    int Hours() const { return endHour - startHour; }
};

// The values of one instant, `hour` hours after the issue.
struct ForecastInstant {
    int hour = 0;
    ForecastValue temperature;    // whole degrees Fahrenheit
    ForecastValue dewPoint;
    ForecastValue cloudCover;     // the cover code, the key of [CLDS]
    ForecastValue ceiling;        // key of [CIG]
    ForecastValue visibility;     // key of [VIS]
    ForecastValue obstruction;    // key of [OBVIS]
    ForecastValue windDirection;  // tens of degrees
    ForecastValue windSpeed;      // knots
    ForecastValue windGust;       // knots
    ForecastValue precipType;     // key of [PTYPE]
    // The periods the report describes at this instant, in the order it describes them:
    // indices into ForecastModel::periods. Which periods hold an instant is the reader's
    // rule (the product's own periods, or a layout's fixed table).
    std::vector<std::size_t> periods;
};

struct ForecastModel {
    // False when no forecast table was read (nothing retrieved, or a bulletin without one):
    // the report is then its heading alone and the graph says so.
    bool holdsTable = false;
    std::vector<ForecastInstant> instants;  // by growing hour
    std::vector<ForecastPeriod> periods;    // in the reader's order; a span may repeat (the old
                                            // table has two 6-12 periods, one without amount)

    // The hour of the instant that track bar position `step` describes, nominally 3 * step
    // hours after the issue: the instant nearest to that hour within 2 hours, the later of
    // two as near; 3 * step when there is none. Bulletins issued at 00, 03, ... 21 UTC have
    // their instants at exactly those hours; an hourly run's lie 1 or 2 hours off them.
    int HourOfStep(int step) const
    {
        const int nominal = 3 * step;
        int best = nominal;
        int bestDistance = 2;  // the farthest an instant may lie from its step
        bool found = false;
        for (const ForecastInstant& instant : instants) {
            const int distance = instant.hour > nominal ? instant.hour - nominal : nominal - instant.hour;
            if (distance > 2)
                continue;
            if (!found || distance < bestDistance || (distance == bestDistance && instant.hour > best)) {
                best = instant.hour;
                bestDistance = distance;
                found = true;
            }
        }
        return best;
    }

    // The instant `hour` hours after the issue; nullptr when the model has none.
    const ForecastInstant* InstantAt(int hour) const
    {
        for (const ForecastInstant& instant : instants)
            if (instant.hour == hour)
                return &instant;
        return nullptr;
    }
};

}  // namespace skelmar
