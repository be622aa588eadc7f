#pragma once
// The values that live as long as the program and that several parts read and write: the
// held bulletin, its issue time, the selected station's zone and the time of the time-scale
// label filled last. One instance, owned by the window.

#include "forecast/BulletinTable.h"
#include "forecast/ForecastModel.h"
#include "time/Calendar.h"
#include "time/TimeZoneInformation.h"

namespace skelmar {

struct ForecastState {
    // BulletinLines: what the hidden text control holds; "Memo1" until a download.
    BulletinLines bulletinLines{"Memo1"};
    // What the report and the graph read: the model of the bulletin held (ReadForecast);
    // empty until a retrieval.
    ForecastModel forecast;
    // The bulletin's issue in UTC; 0 until a retrieval sets it.
    TDateTime forecastBaseTime = 0;
    // The selected station's zone; all zero until a zone has been found.
    TIME_ZONE_INFORMATION stationTimeZone{};
    TDateTime lastLabelTime = 0;
};

}  // namespace skelmar
