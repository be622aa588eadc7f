#include <gtest/gtest.h>

#include "forecast/ForecastReaders.h"
#include "tests/support/BulletinFixture.h"

namespace skelmar {
namespace {

TEST(ReadGuidanceForecast, PlaceholderBuild)
{
    EXPECT_FALSE(ReadGuidanceForecast({"not a bulletin"}).has_value());
}

}  // namespace
}  // namespace skelmar
