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

// Reads rows of the table by their label and their values by their order.
class BulletinTableReader {
public:
    // `lines` (the table, normalised or not) must outlive the reader.
    explicit BulletinTableReader(const BulletinLines& lines) : lines_(lines) {}

    // Looks `label` up from the first line on: the first line that starts with it exactly
    // gives the current row, the rest of the line trimmed of blanks. Every lookup replaces
    // the current row; true when it is not empty (a row without values counts as missing).
    bool FindRow(std::string_view label);
    const std::string& CurrentRow() const { return currentRow_; }

    // The value of the current row at cell `cell` (from 1); "" when there is none.
    std::string Cell(int cell) const;

private:
    const BulletinLines& lines_;
    std::string currentRow_;
};

}  // namespace skelmar
