#pragma once
// Where the stations' codes stand on the map picture: a rectangle per station in picture
// pixels (bounds included). The order decides where rectangles overlap: the first row that
// holds a point wins.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace skelmar {

struct PickMapRow {
    std::string_view code;
    int left, top, right, bottom;
};

extern const std::array<PickMapRow, 54> PickMapTable;

// The code of the first row whose rectangle holds (x, y), or nullopt.
std::optional<std::string_view> PickMapHit(int x, int y);

// How many of the station list's entries the map cannot pick: all but the first entry whose
// first parentheses hold a code of the table.
int StationsOffTheMap(std::span<const std::string> entries);

}  // namespace skelmar
