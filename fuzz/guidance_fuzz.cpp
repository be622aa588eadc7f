// Translates any text as a GFS or NAM guidance bulletin. A text that is not translated stays
// as it was; a translated one starts with its header, holds a table that the normalisation
// finds, and is not taken for a guidance bulletin a second time.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Require.h"
#include "forecast/BulletinTable.h"
#include "retrieval/BulletinText.h"
#include "retrieval/GuidanceTranslator.h"

using skelmar::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const skelmar::BulletinLines original = skelmar::SplitBulletinText(text);
    skelmar::BulletinLines lines = original;
    if (skelmar::TranslateGuidanceBulletin(lines) != skelmar::GuidanceTranslation::Translated) {
        Require(lines == original);
        return 0;
    }
    Require(!lines.empty() && lines.front().starts_with(" "));
    skelmar::BulletinLines again = lines;
    Require(skelmar::TranslateGuidanceBulletin(again) == skelmar::GuidanceTranslation::NotGuidance);
    Require(again == lines);
    skelmar::NormaliseBulletinTable(lines);
    Require(!lines.empty() && (lines.front().starts_with("MX/MN") || lines.front().starts_with("MN/MX")));
    return 0;
}
