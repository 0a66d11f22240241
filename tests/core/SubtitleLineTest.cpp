#include "SubtitleLine.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

TEST(SubtitleLine, ProbesAreRoundedLikeTheStoredTimes) {
    SubtitleLine timed;
    timed.setStartTime(1);
    timed.setEndTime(2);
    EXPECT_TRUE(timed.isTimeInTimeRange(1.998));
    // The probe is rounded up to the millisecond like the stored times: 1.9999 is 2.
    EXPECT_FALSE(timed.isTimeInTimeRange(1.9999));

    SubtitleLine endOnly;
    endOnly.setEndTime(5);
    EXPECT_FALSE(endOnly.isTimeInTimeRange(1));
}

} // namespace
