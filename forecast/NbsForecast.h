#pragma once
// The forecast model of an NBM station bulletin (NBS), read by ReadNbsBulletin.
//
// Which cell belongs to which hour:
//  - Instants: the bulletin's own columns from 6 to 60 hours after the issue. An hourly run
//    that is not issued at 00, 03, ... 21 UTC has its columns 1 or 2 hours later than the
//    6, 9, 12 ... hours after the issue (the 08 UTC run: 7, 10, ... 58 hours).
//  - Periods: each P06, Q06, T06 value covers the 6 hours that end at its column, each P12,
//    Q12, T12 value the 12 hours; the daily maximum (TXN under 00 UTC, X/N of version 3)
//    covers 12 to 06 UTC, the minimum (under 12 UTC) 00 to 18 UTC. A period is kept when it
//    holds one of the instants. An instant's periods are the 6-hour ones that hold it, then
//    the 12-hour ones, then the maximum or minimum.
//
// The values, each in the product's own number as `text`, with the configuration key of
// its category as `key` (the named tables of NbsBulletin.h):
//  - temperature, dew point (deg F); wind direction (tens of degrees), speed and gust (kt);
//  - cloud cover: the percent, key the cover code (CL, FW, SC, BK, OV);
//  - ceiling: the hundreds of feet, `number` the feet, key its category 1 to 7; no ceiling
//    (-88) has key "Unlimited", falling back to 7 ("no ceiling below 12,000 feet");
//  - visibility: the tenths of a mile, `number` the miles, key its category 1 to 5; 100
//    (10 miles or more) has no number and key "P10", falling back to its category 5;
//  - precipitation type: the most likely of PZR, PSN, PPL, PRA, key Z, S, IP or R (IP falling
//    back to Z, whose old text names ice pellets); State::None when every chance is 0;
//  - amounts: the hundredths of an inch, `number` the inches, key the [QPF] category (0 to 5
//    over 6 hours, 20 to 26 over 12 hours);
//  - chances of precipitation and of thunderstorms (percent); the NBM gives no chance that a
//    thunderstorm is severe, so the thunderstorm chance has the key "TSChance" of its template.
// A value the product marks missing (-99) is State::Missing with the missing key of its
// section (9 for the ceiling, the visibility and the 6-hour amount, 29 for the 12-hour one).
// Rows the NBS has no counterpart for stay Absent: the obstruction to vision.

#include "forecast/ForecastModel.h"
#include "forecast/NbsBulletin.h"

namespace skelmar {

ForecastModel NbsForecastModel(const nbs::Bulletin& bulletin);


}  // namespace skelmar
