#pragma once

#include <cstdlib>

namespace skelmar::fuzz {

// Ends the run as a crash when a property of the input's handling does not hold, so that
// libFuzzer keeps the input that broke it.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace skelmar::fuzz
