#include "FpsGuard.h"
#include "ITTime.h"
#include "QYTimeUtility.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

QYTimeUtility& utility() {
    return QYTimeUtility::sharedInstance();
}

TEST(TimeUtility, FrameRateDefaultsToThirtyAndZeroMeansThirty) {
    FpsGuard guard(30);
    EXPECT_DOUBLE_EQ(utility().getFPS(), 30.0);
    utility().setFPS(0);
    EXPECT_DOUBLE_EQ(utility().getFPS(), 30.0);
    utility().setFPS(23.976);
    EXPECT_DOUBLE_EQ(utility().getFPS(), 23.976);
}

struct WriteCase {
    const char* name;
    double fps;
    double seconds;
    const char* expected;
};

class TimeStringWriting : public testing::TestWithParam<WriteCase> {};

TEST_P(TimeStringWriting, WritesFramesWithCarry) {
    FpsGuard guard(GetParam().fps);
    EXPECT_EQ(utility().rawTimeStringFromTimeInterval(GetParam().seconds),
              QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeStringWriting,
    testing::Values(
        WriteCase{"OneFifthSecond25", 25, 1.2, "00:00:01.05"},
        WriteCase{"SixtyOne25", 25, 61.52, "00:01:01.13"},
        // 0.99 x 30 = 29.7 rounds to 30, which carries into the minute.
        WriteCase{"CarryIntoMinute", 30, 59.99, "00:01:00.00"},
        WriteCase{"CarryIntoHour", 30, 3599.99, "01:00:00.00"},
        // 20 ms at 25 fps is half a frame; single precision puts it just below .5.
        WriteCase{"HalfFrameRoundsDown", 25, 0.02, "00:00:00.00"},
        // 100 ms at 25 fps is 2.5 frames, just above in single precision: away from zero.
        WriteCase{"HalfFrameAwayFromZero", 25, 0.1, "00:00:00.03"},
        // 0.999 x 29.97 rounds to 30, which is past 29.97 and so carries.
        WriteCase{"NtscCarry", 29.97, 0.999, "00:00:01.00"},
        // 0.98 x 29.97 = 29.37: frame 29, below the rate, so no carry.
        WriteCase{"NtscNoCarry", 29.97, 10.98, "00:00:10.29"},
        WriteCase{"HoursPastNinetyNine", 25, 360000.0, "100:00:00.00"}),
    [](const auto& info) { return info.param.name; });

TEST(TimeUtility, BracketedFormIsEmptyForUnsetTimes) {
    FpsGuard guard(25);
    EXPECT_EQ(utility().timeStringFromTimeInterval(-1), QString());
    EXPECT_EQ(utility().timeStringFromTimeInterval(1.2), "[00:00:01.05]");
    EXPECT_EQ(utility().timeStringFromCMTime(MediaTime::make(1200, 1000)), "[00:00:01.05]");
}

TEST(TimeUtility, ReadsFramesNotHundredths) {
    {
        FpsGuard guard(25);
        EXPECT_DOUBLE_EQ(utility().timeIntervalFromString("[00:00:01.05]"), 1.2);
        EXPECT_DOUBLE_EQ(utility().timeIntervalFromString("[00:00:02.50]"), 4.0);
        // A three-digit fraction is still a frame count: 123 / 25 = 4.92 s.
        EXPECT_DOUBLE_EQ(utility().timeIntervalFromString("[00:00:01.123]"), 5.92);
    }
    FpsGuard guard(30);
    EXPECT_DOUBLE_EQ(utility().timeIntervalFromString("[01:02:03.15]"), 3723.5);
}

TEST(TimeUtility, MalformedTimeStringsAreNotSet) {
    FpsGuard guard(25);
    EXPECT_EQ(utility().timeIntervalFromString("[00:00:01]"), -1.0);
    EXPECT_EQ(utility().timeIntervalFromString("[00:00:01.02.03]"), -1.0);
    EXPECT_EQ(utility().timeIntervalFromString("[00:01.02]"), -1.0);
    EXPECT_EQ(utility().timeIntervalFromString(""), -1.0);
    EXPECT_EQ(utility().timeIntervalFromStringWithFloor("[00:00:01]"), -1.0);
    EXPECT_TRUE(utility().cmTimeFromTimeString("[00:00:01]").indefinite);
}

TEST(TimeUtility, FloorReadingKeepsWholeHundredths) {
    FpsGuard guard(30);
    // 1 / 30 = 0.0333 floors to 0.03; 29 / 30 = 0.9666 floors to 0.96.
    EXPECT_DOUBLE_EQ(utility().timeIntervalFromStringWithFloor("[00:00:05.01]"), 5.03);
    EXPECT_DOUBLE_EQ(utility().timeIntervalFromStringWithFloor("[00:00:05.29]"), 5.96);
}

TEST(TimeUtility, MediaTimeFromTimeStringCountsThousandthsOfFrames) {
    FpsGuard guard(29.97);
    const MediaTime t = utility().cmTimeFromTimeString("[00:00:01.15]");
    EXPECT_EQ(t.timescale, 29970);
    // (15 + 1 x 29.97) x 1000 = 44970
    EXPECT_EQ(t.value, 44970);
}

TEST(TimeUtility, RoundedIntervalRoundsUpToWholeMillisecondInSinglePrecision) {
    EXPECT_FLOAT_EQ(static_cast<float>(QYTimeUtility::roundedTimeInteval(1.0001)), 1.001f);
    EXPECT_EQ(QYTimeUtility::roundedTimeInteval(1.2), static_cast<double>(1.2f));
    EXPECT_EQ(QYTimeUtility::roundedTimeInteval(-1), -1.0);
}

TEST(TimeUtility, ArrowStepsMoveWholeFramesAndStopAtZero) {
    FpsGuard guard(25);
    const MediaTime twoHundredths = utility().getCMTimeWithTimeInteval(0.02);
    EXPECT_EQ(utility().decreasedCMTime(twoHundredths, 1), MediaTime::zero());
    const MediaTime one = utility().getCMTimeWithTimeInteval(1.0);
    EXPECT_DOUBLE_EQ(utility().increasedCMTime(one, 5).seconds(), 1.2);
    EXPECT_DOUBLE_EQ(utility().decreasedCMTime(one, 5).seconds(), 0.8);
    // Exactly one step down from one step lands on zero, not below.
    EXPECT_DOUBLE_EQ(utility().decreasedCMTime(utility().getCMTimeWithFrame(1), 1).seconds(), 0);
}

TEST(TimeUtility, ChangeFloatStripsTrailingZeros) {
    EXPECT_EQ(QYTimeUtility::changeFloat("29.970"), "29.97");
    EXPECT_EQ(QYTimeUtility::changeFloat("25.000"), "25");
    EXPECT_EQ(QYTimeUtility::changeFloat("30.000"), "30");
    EXPECT_EQ(QYTimeUtility::changeFloat("23.976"), "23.976");
    EXPECT_EQ(QYTimeUtility::changeFloat("0.000"), "0");
}

TEST(TimeUtility, RationalDurationStrings) {
    EXPECT_EQ(QYTimeUtility::getCMTimeWithDurationString("1001/30000s"),
              MediaTime::make(1001, 30000));
    const MediaTime five = QYTimeUtility::getCMTimeWithDurationString("5s");
    EXPECT_EQ(five.value, 5);
    EXPECT_EQ(five.timescale, 1);
    EXPECT_EQ(QYTimeUtility::getCMTimeWithDurationString(QString()), MediaTime::zero());
}

TEST(ITTime, SplitsFlooredSecondsAndTruncatedMilliseconds) {
    const ITTime t(3723.456);
    EXPECT_EQ(t.getHours(), 1);
    EXPECT_EQ(t.getMinutes(), 2);
    EXPECT_EQ(t.getSeconds(), 3);
    EXPECT_EQ(t.getMilliSeconds(), 456);
    const ITTime unset(-1);
    EXPECT_EQ(unset.data, -1);
    EXPECT_EQ(unset.getMilliSeconds(), 0); // -1000 % 1000
    EXPECT_EQ(ITTime(100 * 3600.0).getHours(), 100);
}

} // namespace
