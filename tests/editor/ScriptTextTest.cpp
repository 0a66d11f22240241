#include "ScriptText.h"

#include "FpsGuard.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

// Only 13-character time strings at the very start or end of a line are its times; the
// line is written back with time strings made anew from the seconds.
TEST(ScriptText, ParsesALine) {
    FpsGuard guard(25);
    const struct {
        const char* line;
        float start; // -1: none
        float end;
        const char* written; // null: as read
    } rows[] = {
        {"[00:00:01.05]Hello there.[00:00:03.00]", 1.2f, 3, nullptr},
        {"[00:00:01.05]", 1.2f, -1, nullptr},
        {"[00:00:01.00][00:00:02.00]", 1, 2, nullptr},
        {"Goodbye.[00:00:07.12]", -1, 7.48f, nullptr}, // 12 frames is 0.48 s
        {"Hello [00:00:01.05] there", -1, -1, nullptr},
        {"[00:00:01.050]Hi", -1, -1, nullptr},
        {"[100:00:00.00]Hi[100:00:01.00]", -1, -1, nullptr},
        {"", -1, -1, nullptr},
        // 30 frames at 25 fps is 1.2 s past the second: 2.2 s.
        {"[00:00:01.30]Hi", 2.2f, -1, "[00:00:02.05]Hi"},
    };
    for (const auto& row : rows) {
        const SubtitleLinePtr line = parseText(row.line, FrameDuration{});
        EXPECT_FLOAT_EQ(static_cast<float>(line->startTime()), row.start) << row.line;
        EXPECT_FLOAT_EQ(static_cast<float>(line->endTime()), row.end) << row.line;
        EXPECT_EQ(line->getSubtitleLineString(), row.written ? row.written : row.line);
    }
}

TEST(ScriptText, NumeratorCountsTicksWithDropFrameForNtsc) {
    const struct {
        FrameDuration duration;
        const char* timeString;
        int32_t expected;
    } rows[] = {
        // 30030 x 60 - 1 x 2 x 1001
        {{1001, 30000}, "[00:01:00.00]", 1799798},
        // The tenth minute drops nothing: 9 minutes x 2 frames skipped, 17982 frames.
        {{1001, 30000}, "[00:10:00.00]", 17982 * 1001},
        // 60060 x 60 - 4 x 1001
        {{1001, 60000}, "[00:01:00.00]", 3599596},
        {{100, 2500}, "[00:00:01.05]", 3000},
        {{0, 0}, "[00:00:01.05]", 0}, // no project loaded
        {{100, 2500}, "[00:00:01]", -1},
        // 60060 x 359999 s alone is past 2^31: no count rather than a wrapped one.
        {{1001, 60000}, "[99:59:59.59]", -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(numeratorFromQuilleryTimecode(row.timeString, row.duration), row.expected)
            << row.timeString << " at " << row.duration.denominator;
    }
}

} // namespace
