#include "MediaTime.h"

#include <gtest/gtest.h>

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

} // namespace
