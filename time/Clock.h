#pragma once
// The computer's local calendar date, behind a small interface so that the command line's
// --today and the tests can give a date of their own.

#include <chrono>

#include "time/Calendar.h"

namespace skelmar {

class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Today() const = 0;  // midnight of the local date
    // The present instant, which picks the newest NBM cycle.
    virtual std::chrono::system_clock::time_point Now() const { return std::chrono::system_clock::now(); }
};

class SystemClock final : public Clock {
public:
    TDateTime Today() const override;
};

// A date given from outside: the command line's --today, the tests' fixed day.
class FixedClock final : public Clock {
public:
    explicit FixedClock(TDateTime today) : today_(today) {}
    TDateTime Today() const override { return today_; }
    void Set(TDateTime today) { today_ = today; }

private:
    TDateTime today_;
};

}  // namespace skelmar
