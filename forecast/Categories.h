#pragma once
// The categories of the bulletins' categorical rows, each with its configuration key, the
// key an older configuration file has for it, and the least quantity it means. Bounds of
// the GFS and NAM guidance (MAV, MET) as the NWS Meteorological Development Laboratory
// defines them ("Definitions of Categorical Elements"); those of the old NGM layout as its
// seven ceiling and five visibility texts state them.
//
// Above 3 miles visibilities are reported in whole miles and ceilings in hundreds of feet,
// so "more than 5 miles" means at least 6, "more than 6 miles" at least 7 and "above
// 12,000 feet" at least 12,100.

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace skelmar {

struct Category {
    std::string_view code;         // as the bulletin writes it
    std::string_view key;          // its text in the configuration
    std::string_view fallbackKey;  // the merged category of an older file; "" when key is old
    double lowerBound;             // feet, miles or inches; 0 where not a quantity
};

// Ceiling, feet.
inline constexpr std::array<Category, 7> kNgmCeilingCategories = {{
    {"1", "1", "", 0},     {"2", "2", "", 200},    {"3", "3", "", 500},   {"4", "4", "", 1000},
    {"5", "5", "", 3100},  {"6", "6", "", 6600},   {"7", "7", "", 12100},
}};
inline constexpr std::array<Category, 8> kGuidanceCeilingCategories = {{
    {"1", "C1", "1", 0},      // below 200 ft
    {"2", "C2", "2", 200},    // 200 to 400 ft
    {"3", "C3", "3", 500},    // 500 to 900 ft
    {"4", "C4", "4", 1000},   // 1,000 to 1,900 ft
    {"5", "C5", "4", 2000},   // 2,000 to 3,000 ft
    {"6", "C6", "5", 3100},   // 3,100 to 6,500 ft
    {"7", "C7", "6", 6600},   // 6,600 to 12,000 ft
    {"8", "C8", "7", 12100},  // above 12,000 ft or unlimited
}};

// Visibility, statute miles.
inline constexpr std::array<Category, 5> kNgmVisibilityCategories = {{
    {"1", "1", "", 0}, {"2", "2", "", 0.5}, {"3", "3", "", 1}, {"4", "4", "", 3}, {"5", "5", "", 6},
}};
inline constexpr std::array<Category, 7> kGuidanceVisibilityCategories = {{
    {"1", "V1", "1", 0},    // below 1/2 mile
    {"2", "V2", "2", 0.5},  // 1/2 to below 1 mile
    {"3", "V3", "3", 1},    // 1 to below 2 miles
    {"4", "V4", "3", 2},    // 2 to below 3 miles
    {"5", "V5", "4", 3},    // 3 to 5 miles
    {"6", "V6", "5", 6},    // 6 miles
    {"7", "V7", "5", 7},    // more than 6 miles
}};

// Obstruction to vision: none of the others, haze, mist, fog, blowing dust, sand or snow.
inline constexpr std::array<Category, 5> kGuidanceObstructions = {{
    {"N", "N", "", 0}, {"HZ", "HZ", "", 0}, {"BR", "BR", "", 0}, {"FG", "FG", "", 0}, {"BL", "BL", "", 0},
}};

// Precipitation type: freezing, snow, rain (or rain mixed with snow); the NAM's "RS" too.
inline constexpr std::array<Category, 4> kGuidancePrecipTypes = {{
    {"Z", "Z", "", 0}, {"S", "S", "", 0}, {"R", "R", "", 0}, {"RS", "RS", "", 0},
}};

// Amount of precipitation in 6 hours (Q06) and 12 hours (Q12), inches; the [QPF] keys of the
// 12-hour categories carry a leading "2".
inline constexpr std::array<Category, 6> kSixHourAmounts = {{
    {"0", "0", "", 0}, {"1", "1", "", 0.01}, {"2", "2", "", 0.10}, {"3", "3", "", 0.25},
    {"4", "4", "", 0.50}, {"5", "5", "", 1.00},
}};
inline constexpr std::array<Category, 7> kTwelveHourAmounts = {{
    {"0", "20", "", 0}, {"1", "21", "", 0.01}, {"2", "22", "", 0.10}, {"3", "23", "", 0.25},
    {"4", "24", "", 0.50}, {"5", "25", "", 1.00}, {"6", "26", "", 2.00},
}};

// Snowfall in 24 hours (SNW), inches: none or a trace, up to 2, 2 to 4, 4 to 6, 6 or more.
inline constexpr std::array<Category, 5> kSnowfallCategories = {{
    {"0", "0", "", 0}, {"1", "1", "", 0.1}, {"2", "2", "", 2}, {"4", "4", "", 4}, {"6", "6", "", 6},
}};

// The category of `code` in `table`; nullopt for a code the table does not hold.
inline std::optional<Category> FindCategory(std::span<const Category> table, std::string_view code)
{
    for (const Category& category : table)
        if (category.code == code)
            return category;
    return std::nullopt;
}

}  // namespace skelmar
