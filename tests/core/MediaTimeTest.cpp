#include "MediaTime.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using quillery::MediaTime;

namespace {

TEST(MediaTime, ArithmeticIsExactAcrossTimescales) {
    const MediaTime a = MediaTime::make(1001, 30000);
    const MediaTime b = MediaTime::make(1, 2);
    const MediaTime sum = quillery::add(a, b);
    EXPECT_EQ(sum.timescale, 30000);
    EXPECT_EQ(sum.value, 16001);
    EXPECT_EQ(quillery::subtract(sum, b), a);
}

TEST(MediaTime, ComparisonOrdersInvalidFirstAndIndefiniteLast) {
    const MediaTime one = MediaTime::make(1, 1);
    EXPECT_EQ(quillery::compare(MediaTime::make(999, 1000), one), -1);
    EXPECT_EQ(quillery::compare(MediaTime::make(2000, 2000), one), 0);
    EXPECT_EQ(quillery::compare(MediaTime::invalid(), one), -1);
    EXPECT_EQ(quillery::compare(MediaTime::indefiniteTime(), one), 1);
    EXPECT_TRUE(quillery::add(MediaTime::indefiniteTime(), one).indefinite);
    EXPECT_FALSE(MediaTime::make(5, 0).valid);
}

// Times read from a hostile document may be anything: a result past 64 bits is no time,
// never a wrapped one, and comparisons stay exact.
TEST(MediaTime, ResultsPastSixtyFourBitsAreNoTime) {
    const int64_t largest = std::numeric_limits<int64_t>::max();
    const MediaTime latest = MediaTime::make(largest, 1);
    EXPECT_FALSE(quillery::add(latest, MediaTime::make(4, 1)).valid);
    EXPECT_FALSE(quillery::subtract(MediaTime::make(-largest, 1), MediaTime::make(2, 1)).valid);
    // On the common timescale of 2 the value would have to double.
    EXPECT_FALSE(quillery::add(latest, MediaTime::make(1, 2)).valid);
    EXPECT_EQ(quillery::compare(latest, MediaTime::make(largest, 2)), 1);
    EXPECT_FALSE(MediaTime::makeWithSeconds(1e19, 1).valid);
    // -4.5 units rounds away from zero.
    EXPECT_EQ(MediaTime::makeWithSeconds(-2.25, 2).value, -5);
}

} // namespace
