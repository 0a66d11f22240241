#include "ScriptEditing.h"

#include "FpsGuard.h"
#include "ScriptText.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

QList<SubtitleLinePtr> lines(const QString& script) {
    return createSubtitleLinesFromText(script, FrameDuration{});
}

class ScriptEditingTest : public testing::Test {
protected:
    FpsGuard guard{25};
};

TEST_F(ScriptEditingTest, NearestStartOrEndTimeString) {
    const QString twoLines = "[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]";
    // B's start lies 3,000 characters on, past the first stretch read.
    const QString farApart =
        "[00:00:01.00]A[00:00:02.00]\n" + QString(3000, u'x') + "\n[00:00:03.00]B";
    // B's start, at 1045, crosses the end of the first 1,024-character stretch after A's end.
    const QString acrossTheStretch =
        "[00:00:01.00]A[00:00:02.00]\n" + QString(1016, u'x') + "\n[00:00:03.00]B";
    const QString inside = "[00:00:01.00]A [00:00:09.00] x[00:00:02.00]";
    const struct {
        const char* name;
        QString text;
        TextRange from;
        bool forward, wantStart;
        TextRange expected;
    } rows[] = {
        {"next start", twoLines, {14, 13}, true, true, {28, 13}},
        {"no previous end", twoLines, {14, 13}, false, false, {}},
        {"one inside a line is skipped", inside, {30, 13}, false, true, {0, 13}},
        {"far ahead", farApart, {14, 13}, true, true, {3029, 13}},
        {"far back", farApart, {3029, 13}, false, false, {14, 13}},
        {"read whole across the stretch", acrossTheStretch, {14, 13}, true, true, {1045, 13}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(nearestTimeString(row.text, TimeStringPositions(row.text), row.from, row.forward,
                                    row.wantStart),
                  row.expected)
            << row.name;
    }
}

TEST_F(ScriptEditingTest, OrderChecks) {
    // A time string inside a line is no time; the one after it is checked against 0.
    const auto middle = checkTimeStringOrder("A [00:00:09.00] B\n[00:00:01.00]C");
    ASSERT_EQ(middle.size(), 1);
    EXPECT_FALSE(middle[0].isError);

    const auto overlap = lines("[00:00:01.00]A[00:00:03.05]\nnote\n[00:00:03.00]B[00:00:05.00]");
    EXPECT_FALSE(checkErrorStartTimeCode(overlap, 0));
    EXPECT_TRUE(checkErrorStartTimeCode(overlap, 2)) << "3.0 starts before 3.2 ends";

    EXPECT_TRUE(checkErrorEndTimeCode(*lines("[00:00:01.00]A[00:00:01.00]")[0]));
}

TEST_F(ScriptEditingTest, AutoCorrectionMovesStartsAndStretchesShortSubtitles) {
    const auto script = lines("[00:00:01.00]A[00:00:03.05]\n[00:00:03.00]B[00:00:05.00]\n"
                              "untimed\n[00:00:06.00]C[00:00:06.05]");
    // 3.0 moves to 3.2 (frame 5); 6.0-6.2 stretches to 6.5 (12.5 frames, rounded up).
    EXPECT_EQ(autoCorrectedScript(script), "[00:00:01.00]A[00:00:03.05]\n"
                                           "[00:00:03.05]B[00:00:05.00]\n"
                                           "untimed\n"
                                           "[00:00:06.00]C[00:00:06.13]\n");
    EXPECT_EQ(script[1]->startTime(), 3.0) << "the editor's records are left alone";

    // The previous line is any line: an untimed one in between stops B's start moving.
    EXPECT_EQ(autoCorrectedScript(lines("[00:00:01.00]A[00:00:03.00]\nnote\n"
                                        "[00:00:02.00]B[00:00:04.00]")),
              "[00:00:01.00]A[00:00:03.00]\nnote\n[00:00:02.00]B[00:00:04.00]\n");
}

TEST_F(ScriptEditingTest, ShiftingMovesEveryTimeStringOfAnyLength) {
    const MediaTime twoSeconds = MediaTime::make(50000, 25000); // 50 frames in thousandths
    EXPECT_EQ(shiftTimeStrings("A [00:00:01.00] B\n[00:00:01.050]", twoSeconds, true),
              "A [00:00:03.00] B\n[00:00:05.00]");
    EXPECT_EQ(shiftTimeStrings("no times", twoSeconds, true), "no times");
}

TEST_F(ScriptEditingTest, CutOddOrEvenLines) {
    // Empty lines do not count; the others are trimmed.
    const CutLines odd = cutLines("a\n\n b \r\nc\nd", true);
    EXPECT_EQ(odd.cut + "|" + odd.kept, "a\nc\n|b\nd\n");
    const CutLines even = cutLines("a\nb\nc", false);
    EXPECT_EQ(even.cut + "|" + even.kept, "b\n|a\nc\n");
}

TEST_F(ScriptEditingTest, PasteTextsOnlyKeepsTheTimesOfTimedLines) {
    const QString region = "[00:00:01.00]old[00:00:02.00]\nnote\n[00:00:03.00]x[00:00:04.00]";
    EXPECT_EQ(pasteTextsOnly(region, "new1\nnew2"),
              "[00:00:01.00]new1[00:00:02.00]\nnote\n[00:00:03.00]new2[00:00:04.00]\n");
    EXPECT_EQ(pasteTextsOnly(region, "only"),
              "[00:00:01.00]only[00:00:02.00]\nnote\n[00:00:03.00]x[00:00:04.00]\n");
    // A text holding "[" is not a whole timed subtitle.
    EXPECT_EQ(pasteTextsOnly("[00:00:01.00]a[b[00:00:02.00]", "new"),
              "[00:00:01.00]a[b[00:00:02.00]\n");
}

TEST_F(ScriptEditingTest, PasteTimeCodesOnlyPairsThePastedTimes) {
    EXPECT_EQ(pasteTimeCodesOnly("[00:00:09.00]A\nB", "[00:00:01.00][00:00:02.00][00:00:03.00]"),
              "[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B");
    EXPECT_EQ(pasteTimeCodesOnly("A\nB\nC", "[00:00:01.00][00:00:02.00]"),
              "[00:00:01.00]A[00:00:02.00]\nB\nC\n");
    EXPECT_EQ(pasteTimeCodesOnly("A", "nothing"), "A\n");
}

TEST_F(ScriptEditingTest, FindingTheLineToTime) {
    const auto script = lines("[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]\nC\nD");
    EXPECT_EQ(findSubtitleIndexWithTime(script, 0.5), 0);
    EXPECT_EQ(findSubtitleIndexWithTime(script, 2.0), 1) << "at A's very end, B is next";
    EXPECT_EQ(findSubtitleIndexWithTime(script, 3.5), 1);
    // The scan stops at C, the first line waiting for its start, though B ended before.
    EXPECT_EQ(findSubtitleIndexWithTime(
                  lines("[00:00:01.00]A[00:00:02.00]\nC\n[00:00:03.00]B[00:00:04.00]"), 4.5),
              1);
    EXPECT_EQ(findSubtitleIndexWithTime(script, 4.5), 2);
    EXPECT_EQ(findSubtitleIndexWithTime(lines("C\nD"), 10), 0);
    EXPECT_EQ(findSubtitleIndexWithTime(lines("[00:00:01.00]A[00:00:02.00]"), 5),
              TextRange::NotFound);
}

TEST_F(ScriptEditingTest, StartsAreRefusedInsideTimedLines) {
    const auto script = lines("[00:00:01.00]A[00:00:03.00]");
    EXPECT_FALSE(allowInsertStartTime(script, 1.0));
    EXPECT_FALSE(allowInsertStartTime(script, 2.0));
    EXPECT_TRUE(allowInsertStartTime(script, 2.99)) << "within 0.02 s of the end";
    EXPECT_TRUE(allowInsertStartTime(script, 0.5));
}

} // namespace
