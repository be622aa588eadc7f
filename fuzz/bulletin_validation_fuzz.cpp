// Validates any text as the downloaded bulletin of BOS, as it arrives both without and with
// the tag PRE configured, on a fixed local date, and fills the time scale of what it accepts.
// Only the program's Error may escape, and only the two conversion messages; what the
// sequence leaves behind must agree with its answer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "retrieval/BulletinText.h"
#include "retrieval/HttpClient.h"
#include "retrieval/RetrievalSequence.h"
#include "tests/support/EasternLocalTime.h"
#include "tests/support/MemoryConfigTexts.h"
#include "text/Error.h"
#include "time/TimeFormat.h"

namespace {

using namespace skelmar;
using fuzz::Require;

// Validation never downloads.
class NoHttp final : public HttpClient {
public:
    std::string Get(const std::string&) override { std::abort(); }
};

// Keeps what the sequence shows; fills the time scale in both time types as the window does.
class RecordingHost final : public RetrievalHost {
public:
    explicit RecordingHost(const ForecastState& state) : state_(state) {}
    void Warning(const std::string&) override { std::abort(); }  // only downloads warn
    void Error(const std::string& text) override { errors.push_back(text); }
    void SetWaitCursor(bool) override {}
    void ShowPicture(const std::filesystem::path&) override { std::abort(); }
    void EnableTrackBar() override {}
    void SetForecastCaption(const std::string& text) override { caption = text; }
    void UpdateTimeLabels() override
    {
        static const TimeTextContext zulu;
        static const TimeTextContext local = EasternLocalTime();
        for (const TimeTextContext* context : {&zulu, &local}) {
            const TimeLabelCaptions captions =
                ComputeTimeLabelCaptions(state_.forecastBaseTime, "Boston, MA (BOS)", *context, 0);
            Require(!captions.labelForecast.empty() && !captions.timeLabels[0].empty());
        }
        labelsUpdated = true;
    }

    std::vector<std::string> errors;
    bool labelsUpdated = false;
    std::string caption;

private:
    const ForecastState& state_;
};

void Validate(std::string_view body, std::string_view tag)
{
    static const TDateTime kToday = EncodeDate(2026, 12, 9);
    static const FixedClock clock(kToday);
    static NoHttp http;
    MemoryConfigTexts config;
    config.Set("INTERNET", "C_FOUS_TEXT_HTML", tag);

    ForecastState state;
    state.forecastBaseTime = 1234.5;  // what an earlier retrieval left
    RecordingHost host(state);
    RetrievalContext context{state, config, http, host, clock, std::filesystem::path(), ':'};
    TakeTextBody(context, body);

    bool accepted = false;
    try {
        accepted = ValidateBulletin(context, "BOS");
    } catch (const skelmar::Error& error) {
        const std::string_view message = error.what();
        Require(message.ends_with("' is not a valid integer value") || message.ends_with("' is not a valid time"));
        Require(!accepted && !host.labelsUpdated);
        Require(state.forecast.holdsTable == HoldsTable(state.bulletinLines));
        return;
    }
    Require(host.caption == kNoForecastObtained);
    // The model is that of the lines held, accepted or not: a table exactly when they hold one.
    Require(state.forecast.holdsTable == HoldsTable(state.bulletinLines));
    if (accepted) {
        Require(host.errors.empty() && host.labelsUpdated);
        // Today's or tomorrow's date, plus a time of day.
        Require(state.forecastBaseTime >= kToday && state.forecastBaseTime < kToday + 2);
        Require(state.bulletinLines.empty() || HoldsTable(state.bulletinLines));
        return;
    }
    Require(!host.labelsUpdated && host.errors.size() <= 1);
    if (host.errors.empty())  // an impossible date: silent, and no base time
        Require(state.forecastBaseTime == 0);
    else if (host.errors[0] == kCorruptedText)  // refused before the date was read
        Require(state.forecastBaseTime == 1234.5);
    else  // another day's date, at midnight
        Require(host.errors[0] == kDateMismatch && state.forecastBaseTime == static_cast<long>(state.forecastBaseTime));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    Validate(body, "");
    Validate(body, "PRE");
    return 0;
}
