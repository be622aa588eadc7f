#pragma once
// The readers of the products: each fills the forecast model with its own rule for which
// cell belongs to which hour.

#include <optional>

#include "forecast/BulletinTable.h"
#include "forecast/ForecastModel.h"

namespace skelmar {

// The table in the layout of the old NGM guidance (normalised or as it stands). Its
// 3-hourly rows give each instant value number step - 1; the other rows the cell that the
// step table gives the step (StepTable). Each instant refers to the 6- and 12-hour periods
// that the step table assigns to it, but only when the lines hold a table. The values keep
// the table's text; "999" (temperature), "99" (wind speed), "9" or no cell (visibility),
// "9" and "29" (amount) are marked missing, "X" (obstruction, precipitation type) none. The
// maximum and minimum row is not read. Never fails.
ForecastModel ReadNgmTable(const BulletinLines& lines);

// A GFS or NAM guidance bulletin (GuidanceBulletin.h) as it stands, every value at the hour
// of its column: an instant for each column, a period for each period value, ending at its
// column's hour and starting 6, 12 or 24 hours before; a period that would start before the
// issue or end at another hour than 00, 06, 12 or 18 UTC does not fit the run and is not read. An instant refers to each period that holds it (start <= hour <= end;
// of two, the earlier), for each element. Codes outside a row's categories (Categories.h)
// and the products' missing values (999, 99 and blank columns) are marked missing.
// nullopt when the lines hold no readable GFS or NAM bulletin.
std::optional<ForecastModel> ReadGuidanceForecast(const BulletinLines& lines);

// The model of lines held after a retrieval: ReadGuidanceForecast of `bulletin` (the
// lines as downloaded) when it reads them, else ReadNgmTable of `table` (the lines as
// checked and normalised).
ForecastModel ReadForecast(const BulletinLines& bulletin, const BulletinLines& table);

}  // namespace skelmar
