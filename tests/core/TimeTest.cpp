// Rational media times and the script's frame-based time strings.
#include "FpsGuard.h"
#include "MediaTime.h"
#include "QYTimeUtility.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

QYTimeUtility& utility() {
    return QYTimeUtility::sharedInstance();
}

TEST(MediaTime, ArithmeticIsExactAndInvalidSortsFirstIndefiniteLast) {
    const MediaTime a = MediaTime::make(1001, 30000);
    const MediaTime b = MediaTime::make(1, 2);
    const MediaTime sum = add(a, b);
    EXPECT_EQ(sum.timescale, 30000);
    EXPECT_EQ(sum.value, 16001);
    EXPECT_EQ(subtract(sum, b), a);

    const MediaTime one = MediaTime::make(1, 1);
    EXPECT_EQ(compare(MediaTime::make(999, 1000), one), -1);
    EXPECT_EQ(compare(MediaTime::make(2000, 2000), one), 0);
    EXPECT_EQ(compare(MediaTime::invalid(), one), -1);
    EXPECT_EQ(compare(MediaTime::indefiniteTime(), one), 1);
    EXPECT_TRUE(add(MediaTime::indefiniteTime(), one).indefinite);
    EXPECT_FALSE(MediaTime::make(5, 0).valid);
}

// Times read from a hostile document may be anything: a result past 64 bits is no time,
// never a wrapped one, and comparisons stay exact.
TEST(MediaTime, ResultsPastSixtyFourBitsAreNoTime) {
    const int64_t largest = std::numeric_limits<int64_t>::max();
    const MediaTime latest = MediaTime::make(largest, 1);
    EXPECT_FALSE(add(latest, MediaTime::make(4, 1)).valid);
    EXPECT_FALSE(subtract(MediaTime::make(-largest, 1), MediaTime::make(2, 1)).valid);
    // On the common timescale of 2 the value would have to double.
    EXPECT_FALSE(add(latest, MediaTime::make(1, 2)).valid);
    EXPECT_EQ(compare(latest, MediaTime::make(largest, 2)), 1);
    EXPECT_FALSE(MediaTime::makeWithSeconds(1e19, 1).valid);
    // -4.5 units rounds away from zero.
    EXPECT_EQ(MediaTime::makeWithSeconds(-2.25, 2).value, -5);
}

TEST(TimeUtility, WritesFramesWithCarry) {
    const struct {
        const char* name;
        double fps;
        double seconds;
        const char* expected;
    } rows[] = {
        {"minutes at 25", 25, 61.52, "00:01:01.13"},
        // 0.99 x 30 = 29.7 rounds to 30, which carries into the minute.
        {"carry into the minute", 30, 59.99, "00:01:00.00"},
        // 20 ms at 25 fps is half a frame; single precision puts it just below .5.
        {"half frame rounds down", 25, 0.02, "00:00:00.00"},
        // 100 ms at 25 fps is 2.5 frames, just above in single precision: away from zero.
        {"half frame away from zero", 25, 0.1, "00:00:00.03"},
        // 0.999 x 29.97 rounds to 30, which is past 29.97 and so carries.
        {"NTSC carry", 29.97, 0.999, "00:00:01.00"},
        // 0.98 x 29.97 = 29.37: frame 29, below the rate, so no carry.
        {"NTSC no carry", 29.97, 10.98, "00:00:10.29"},
        {"hours past 99", 25, 360000.0, "100:00:00.00"},
    };
    for (const auto& row : rows) {
        FpsGuard guard(row.fps);
        EXPECT_EQ(utility().rawTimeStringFromTimeInterval(row.seconds), row.expected) << row.name;
    }
}

// The fraction counts frames, not hundredths; -1 is no time.
TEST(TimeUtility, ReadsFramesAtTheRate) {
    const struct {
        double fps;
        const char* text;
        double seconds;
        double floored; // to whole hundredths
    } rows[] = {
        // A three-digit fraction is still a frame count: 123 / 25 = 4.92 s.
        {25, "[00:00:01.123]", 5.92, 5.92},
        {30, "[01:02:03.15]", 3723.5, 3723.5},
        // 29 / 30 = 0.9666...
        {30, "[00:00:05.29]", 5 + 29.0 / 30, 5.96},
        {25, "[00:00:01]", -1, -1},
        {25, "[00:01.02]", -1, -1},
    };
    for (const auto& row : rows) {
        FpsGuard guard(row.fps);
        EXPECT_DOUBLE_EQ(utility().timeIntervalFromString(row.text), row.seconds) << row.text;
        EXPECT_DOUBLE_EQ(utility().timeIntervalFromStringWithFloor(row.text), row.floored)
            << row.text;
    }
}

TEST(TimeUtility, MediaTimeOfATimeStringCountsThousandthsOfFrames) {
    FpsGuard guard(29.97);
    const MediaTime t = utility().cmTimeFromTimeString("[00:00:01.15]");
    EXPECT_EQ(t.timescale, 29970);
    EXPECT_EQ(t.value, 44970); // (15 + 1 x 29.97) x 1000
    EXPECT_TRUE(utility().cmTimeFromTimeString("[00:00:01]").indefinite);
}

} // namespace
