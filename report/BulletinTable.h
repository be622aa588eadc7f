#pragma once
// The station's table of forecast elements inside a retrieved bulletin: one row per element,
// a label in the first six characters, then the values. Normalisation cuts the bulletin down
// to the table and rewrites each row so that its values are separated by single blanks, which
// is what lets every later lookup take values by their order.

#include <string>
#include <string_view>
#include <vector>

namespace skelmar {

// The lines of the retrieved bulletin (code page 1252), in order.
using BulletinLines = std::vector<std::string>;

// In place, three passes:
//  1. drop every line before the first one whose first five characters after its leading
//     blanks are "MN/MX" or "MX/MN" (no such line: the list ends empty);
//  2. trim blanks from both ends of every line;
//  3. delete empty lines; rewrite TEMP and DEWPT rows with RespaceFixedColumnRow; in every
//     other row replace "/ " by "/", then runs of 5, 4, 3 and 2 blanks by one blank, each a
//     single pass (so runs of up to 38 blanks end as one blank).
void NormaliseBulletinTable(BulletinLines& lines);

// True when some line starts a table ("MN/MX" or "MX/MN" after leading blanks): before any
// download, and after a bulletin without a table, the lines hold none.
bool HoldsTable(const BulletinLines& lines);

// A TEMP or DEWPT row, whose values stand in 3-character columns from the 7th character on
// and may touch ("-5-10"): the trimmed label, a blank, then each complete column trimmed and
// followed by a blank. A blank column gives an empty value; 1 or 2 characters left over after
// the last complete column are dropped. "TEMP   -5-10  2" -> "TEMP -5 -10 2 ".
std::string RespaceFixedColumnRow(std::string_view line);

// Each "%s" of `pattern` replaced by the next argument, in order; a "%s" beyond the arguments
// becomes empty, an argument beyond the "%s" is not used, and every other character (a lone
// "%" included) is copied as it stands. An empty pattern gives "".
std::string FillTemplate(std::string_view pattern, std::string_view first = {},
                         std::string_view second = {});

}  // namespace skelmar
