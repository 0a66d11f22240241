#include "TimeCode.h"

#include <gtest/gtest.h>

using quillery::TimeCode;

namespace {

TEST(TimeCode, ComponentsFollowTheTotal) {
    TimeCode t(3723456.0);
    EXPECT_EQ(t.hours(), 1);
    EXPECT_EQ(t.minutes(), 2);
    EXPECT_EQ(t.seconds(), 3);
    EXPECT_EQ(t.milliseconds(), 456);
    EXPECT_DOUBLE_EQ(t.totalSeconds(), 3723.456);

    t.setTotalSeconds(1.5);
    EXPECT_EQ(t.seconds(), 1);
    EXPECT_EQ(t.milliseconds(), 500);
    EXPECT_DOUBLE_EQ(t.totalMilliseconds(), 1500);
}

TEST(TimeCode, TotalFollowsComponentsEvenOutOfRange) {
    const TimeCode t(0, 0, 90, 5);
    EXPECT_DOUBLE_EQ(t.totalMilliseconds(), 90005);
    EXPECT_EQ(t.seconds(), 90); // kept as given until the total is set again
    const TimeCode hundredHours(100, 0, 0, 0);
    EXPECT_DOUBLE_EQ(hundredHours.totalSeconds(), 360000);
}

TEST(TimeCode, UnsetValueIsMinusOneThousandMilliseconds) {
    const TimeCode unset = TimeCode::fromSeconds(-1);
    EXPECT_DOUBLE_EQ(unset.totalMilliseconds(), -1000);
    EXPECT_EQ(unset.seconds(), -1);
    EXPECT_EQ(unset.milliseconds(), 0);
}

TEST(TimeCode, AddingMillisecondsRecomputesComponents) {
    TimeCode t(59999.0);
    t.addTimeMilliseconds(2);
    EXPECT_EQ(t.minutes(), 1);
    EXPECT_EQ(t.seconds(), 0);
    EXPECT_EQ(t.milliseconds(), 1);
}

TEST(TimeCode, ParsesFourFieldsWithMillisecondsAsWritten) {
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("01:00:00.000"), 3600000);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("00:00:01,5"), 1005);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("00:00:01,500"), 1500);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("00:99999:00.000"), 5999940000.0);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("596523:14:08.000"), -1) << "past 2^31 s";
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("0:0:0.99999999999999999999"), -1);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("1:2:3"), -1);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds("1:2:3.4.5"), -1);
    EXPECT_DOUBLE_EQ(TimeCode::parseToMilliseconds(""), -1);
    EXPECT_DOUBLE_EQ(TimeCode::timeCodeFromString("00:01:02.500").totalSeconds(), 62.5);
}

} // namespace
