// Checks any text as the downloaded bulletin of BOS, as it arrives both without and with the
// tag PRE configured, on a fixed local date, and fills the time scale of what it accepts.
// Only the program's Error may escape, and only the two conversion messages; the verdict must
// agree with itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forecast/NbsBulletin.h"
#include "fuzz/Require.h"
#include "retrieval/BulletinCheck.h"
#include "tests/support/EasternLocalTime.h"
#include "text/Error.h"
#include "time/TimeFormat.h"

namespace {

using namespace skelmar;
using fuzz::Require;

void Validate(std::string_view body, std::string_view tag)
{
    static const TDateTime kToday = EncodeDate(2026, 12, 9);
    BulletinLines lines = BulletinLinesOf(body, tag);
    BulletinVerdict verdict;
    try {
        verdict = AcceptBulletin(lines, "BOS", kToday, ':');
    } catch (const skelmar::Error& error) {
        const std::string_view message = error.what();
        Require(message.ends_with("' is not a valid integer value") || message.ends_with("' is not a valid time"));
        return;
    }
    // The model is that of the lines left, accepted or not: a table exactly when they hold one
    // (the NBM's bulletin is read by a reader of its own and is no such table).
    if (nbs::ReadNbsBulletin(lines).reading == nbs::Reading::NotNbs)
        Require(verdict.forecast.holdsTable == HoldsTable(lines));
    if (verdict.accepted) {
        Require(verdict.refusal.empty() && verdict.baseTime.has_value());
        // Today's or tomorrow's date, plus a time of day.
        Require(*verdict.baseTime >= kToday && *verdict.baseTime < kToday + 2);
        Require(lines.empty() || HoldsTable(lines));
        // The time scale in both time types, as the window fills it.
        static const TimeTextContext zulu;
        static const TimeTextContext local = EasternLocalTime();
        for (const TimeTextContext* context : {&zulu, &local}) {
            const TimeLabelCaptions captions = ComputeTimeLabelCaptions(*verdict.baseTime, "Boston, MA (BOS)", *context, 0);
            Require(!captions.labelForecast.empty() && !captions.timeLabels[0].empty());
        }
        return;
    }
    if (verdict.refusal.empty())  // an impossible date: silent, and no base time
        Require(verdict.baseTime == TDateTime(0));
    else if (verdict.refusal == kCorruptedText)  // refused before the date was read
        Require(!verdict.baseTime.has_value());
    else  // another day's date, at midnight
        Require(verdict.refusal == kDateMismatch && verdict.baseTime &&
                *verdict.baseTime == static_cast<long>(*verdict.baseTime));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    Validate(body, "");
    Validate(body, "PRE");
    return 0;
}
