#include "TextTools.h"

#include <gtest/gtest.h>
#include <optional>

using namespace quillery;

namespace {

TEST(TextTools, Converts) {
    constexpr auto TimeCode = convertTimeCodeFormat;
    constexpr auto DoubleLine = convertDoubleLine;
    constexpr auto Punctuation = convertPunctuation;
    const struct {
        const char* name;
        QString (*tool)(const QString&);
        QString input;
        QString expected;
    } rows[] = {
        // The spaces are separators too, yet they stay: each match takes four groups only.
        {"TimeCode_TwoTimesAroundText", TimeCode, "00:01:02:03 Hello 00:01:04:00",
         "[00:01:02.03] Hello [00:01:04.00]"},
        {"TimeCode_MismatchedBrackets", TimeCode, "(01-02-03-04]", "[01:02:03.04]"},
        {"TimeCode_MixedSeparators", TimeCode, "01*02/03'04", "[01:02:03.04]"},
        {"TimeCode_ThreeGroupsStay", TimeCode, "01:02:03", "01:02:03"},
        {"TimeCode_OneDigitGroupStays", TimeCode, "1:02:03:04", "1:02:03:04"},
        {"TimeCode_UnlistedSeparatorStays", TimeCode, "01_02_03_04", "01_02_03_04"},
        {"TimeCode_DoubleSlashBreaksRow", TimeCode, "01:02:03:04 a//b", "[01:02:03.04] a\u23CEb"},
        {"DoubleLine_EvenCount", DoubleLine, "1\n2\n3\n4\n", "1\u23CE2\n3\u23CE4"},
        {"DoubleLine_EmptyAndPaddedLinesDropped", DoubleLine, "  1 \n\n\r\n2\r\n \n3",
         "1\u23CE2\n3"},
        {"Punctuation_FullWidthSemicolonAndColon", Punctuation, "a\uFF1Bb\uFF1Ac", "a\nb\nc\n"},
        {"Punctuation_RunIsOneBreak", Punctuation, "a,;,b", "a\nb\n"},
        // The run before the end time string goes first, so no break lands before it.
        {"Punctuation_BeforeTimeDropped", Punctuation, "[00:00:01.00]One, two;[00:00:02.00]",
         "[00:00:01.00]One\n two[00:00:02.00]\n"},
        // Only the full-width colon breaks; ASCII colons belong to time strings.
        {"Punctuation_AsciiColonKept", Punctuation, "Time: now", "Time: now\n"},
        {"Punctuation_EmptyLastPieceKeepsItsLineFeed", Punctuation, "a\n", "a\n\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.tool(row.input), row.expected) << row.name;
}

// The sheets' buttons and interleaving order, and the adjust dialog's refusals of hour 0,
// letters and too many frames and its result text, are checked through the dialogs
// (tests/app); the warning's words and the lines that do not count are here.
TEST(PastedTextTest, TheWarningNamesBothCountsAndBlankLinesAreLeftOut) {
    EXPECT_EQ(lineCountWarning(compareLineCounts("one\ntwo", "uno\ndos\ntres")),
              "The line quantity of oringal 2 is not the same as replace text 3");
    EXPECT_EQ(getConsolidateText("[00:00:01.00]one[00:00:02.00]\n\ntwo\n", " uno\ndos \n"),
              "[00:00:01.00]one[00:00:02.00]\nuno\ntwo\ndos");
}

constexpr auto H = AdjustTimeField::Hours;
constexpr auto M = AdjustTimeField::Minutes;
constexpr auto S = AdjustTimeField::Seconds;
constexpr auto F = AdjustTimeField::Frames;
constexpr std::optional<int> kRefused;

TEST(AdjustTimeTest, FieldsAcceptWholeNumbersInTheirRanges) {
    EXPECT_EQ(readAdjustTimeField(H, "10", 25), 10);
    EXPECT_EQ(readAdjustTimeField(H, "11", 25), kRefused);
    EXPECT_EQ(readAdjustTimeField(M, "60", 25), 60);
    EXPECT_EQ(readAdjustTimeField(M, "61", 25), kRefused);
    EXPECT_EQ(readAdjustTimeField(F, "25", 25), 25);
    EXPECT_EQ(readAdjustTimeField(F, "30", 29.97), kRefused);
    EXPECT_EQ(readAdjustTimeField(S, "1.5", 25), kRefused);
}

QString ticks(const MediaTime& time) {
    return QStringLiteral("%1/%2").arg(time.value).arg(time.timescale);
}

TEST(AdjustTimeTest, FullUnitsCarryUpwardAndTheAmountCountsWholeFrames) {
    EXPECT_EQ(carryAdjustTime({0, 59, 59, 24}, 25), (AdjustTime{0, 59, 59, 24}));
    EXPECT_EQ(carryAdjustTime({0, 59, 59, 25}, 25), (AdjustTime{1, 0, 0, 0}));
    // A fractional rate carries at its ceiling.
    EXPECT_EQ(carryAdjustTime({0, 0, 0, 30}, 29.97), (AdjustTime{0, 0, 1, 0}));
    EXPECT_EQ(carryAdjustTime({0, 0, 0, 29}, 29.97), (AdjustTime{0, 0, 0, 29}));
    EXPECT_EQ(carryAdjustTime({0, 0, 1, 30}, 25), (AdjustTime{0, 0, 2, 5})) << "the rest is kept";

    // 1 h 2 min 3 s 4 frames at 30 fps: 3723 s x 30 + 4 = 111694 frames.
    EXPECT_EQ(ticks(adjustTimeAmount({1, 2, 3, 4}, 30)), "111694000/30000");
    // 29.97 frames in one second: the fraction of a frame is dropped, not rounded up.
    EXPECT_EQ(ticks(adjustTimeAmount({0, 0, 1, 0}, 29.97)), "29000/29970");
}

} // namespace
