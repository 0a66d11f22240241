#include "TextTools.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

struct TextCase {
    const char* name;
    QString input;
    QString expected;
};

std::string caseName(const testing::TestParamInfo<TextCase>& info) {
    return info.param.name;
}

class ConvertTimeCodeFormatTest : public testing::TestWithParam<TextCase> {};

TEST_P(ConvertTimeCodeFormatTest, Converts) {
    EXPECT_EQ(convertTimeCodeFormat(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Notations, ConvertTimeCodeFormatTest,
    testing::Values(
        // The spaces are separators too, yet they stay: each match takes four groups only.
        TextCase{"TwoTimesAroundText", "00:01:02:03 Hello 00:01:04:00",
                 "[00:01:02.03] Hello [00:01:04.00]"},
        TextCase{"Colons", "01:02:03:04", "[01:02:03.04]"},
        TextCase{"Parentheses", "(01.02.03.04)", "[01:02:03.04]"},
        TextCase{"AngleBrackets", "<01;02;03;04>", "[01:02:03.04]"},
        TextCase{"Braces", "{01,02,03,04}", "[01:02:03.04]"},
        TextCase{"MismatchedBrackets", "(01-02-03-04]", "[01:02:03.04]"},
        TextCase{"MixedSeparators", "01*02/03'04", "[01:02:03.04]"},
        TextCase{"Backslashes", "01\\02\\03\\04", "[01:02:03.04]"},
        TextCase{"AlreadyTimeString", "[01:02:03.04]A", "[01:02:03.04]A"},
        TextCase{"FrameFieldAsWritten", "00:00:01:99", "[00:00:01.99]"},
        TextCase{"ThreeGroupsStay", "01:02:03", "01:02:03"},
        TextCase{"DoubleSeparatorStays", "01::02:03:04", "01::02:03:04"},
        TextCase{"OneDigitGroupStays", "1:02:03:04", "1:02:03:04"},
        TextCase{"UnlistedSeparatorStays", "01_02_03_04", "01_02_03_04"},
        TextCase{"DoubleSlashBreaksRow", "One//Two", "One\u23CETwo"},
        TextCase{"TimeThenDoubleSlash", "01:02:03:04 a//b", "[01:02:03.04] a\u23CEb"}),
    caseName);

class ConvertDoubleLineTest : public testing::TestWithParam<TextCase> {};

TEST_P(ConvertDoubleLineTest, Merges) {
    EXPECT_EQ(convertDoubleLine(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, ConvertDoubleLineTest,
    testing::Values(TextCase{"FiveLinesMakeThree", "1\n2\n3\n4\n5", "1\u23CE2\n3\u23CE4\n5"},
                    TextCase{"FourLinesMakeTwo", "1\n2\n3\n4\n", "1\u23CE2\n3\u23CE4"},
                    TextCase{"TwoSelectedLines", "b\nc", "b\u23CEc"},
                    TextCase{"EmptyAndPaddedLinesDropped", "  1 \n\n\r\n2\r\n \n3", "1\u23CE2\n3"},
                    TextCase{"OneLineStaysAlone", "only", "only"},
                    TextCase{"NothingToMerge", "\n \n", ""}),
    caseName);

class ConvertPunctuationTest : public testing::TestWithParam<TextCase> {};

TEST_P(ConvertPunctuationTest, Breaks) {
    EXPECT_EQ(convertPunctuation(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConvertPunctuationTest,
    testing::Values(TextCase{"FullWidthCommaAndStop", "Hello\uFF0Cworld\u3002", "Hello\nworld\n"},
                    TextCase{"FullWidthSemicolonAndColon", "a\uFF1Bb\uFF1Ac", "a\nb\nc\n"},
                    TextCase{"RunIsOneBreak", "a,;,b", "a\nb\n"},
                    TextCase{"LeadingPunctuationTrimmed", "\uFF0C,a", "a\n"},
                    // The run before the end time string goes first, so no break lands before it.
                    TextCase{"PunctuationBeforeTimeDropped", "[00:00:01.00]One, two;[00:00:02.00]",
                             "[00:00:01.00]One\n two[00:00:02.00]\n"},
                    // Only the full-width colon breaks; ASCII colons belong to time strings.
                    TextCase{"AsciiColonKept", "Time: now", "Time: now\n"},
                    TextCase{"EveryLineEndsWithLineFeed", "a,b\nc", "a\nb\nc\n"},
                    TextCase{"EmptyLastPieceKeepsItsLineFeed", "a\n", "a\n\n"}),
    caseName);

TEST(LineCountTest, DifferentCountsAreRefusedWithBothCounts) {
    const LineCountComparison comparison = compareLineCounts("one\ntwo", "uno\ndos\ntres");
    EXPECT_FALSE(comparison.matches());
    EXPECT_EQ(lineCountWarning(comparison),
              "The line quantity of oringal 2 is not the same as replace text 3");
}

TEST(LineCountTest, OnlyNonEmptyLinesCount) {
    const LineCountComparison comparison = compareLineCounts("one\n\n  two \n", "\r\nuno\r\ndos");
    EXPECT_EQ(comparison.originalCount, 2);
    EXPECT_EQ(comparison.replaceCount, 2);
    EXPECT_TRUE(lineCountWarning(comparison).isEmpty());
}

TEST(PastedTextTest, ConsolidateInterleavesWithoutFinalLineFeed) {
    EXPECT_EQ(getConsolidateText("[00:00:01.00]one[00:00:02.00]\n\ntwo\n", " uno\ndos \n"),
              "[00:00:01.00]one[00:00:02.00]\nuno\ntwo\ndos");
}

TEST(PastedTextTest, ReplaceTextIsTheTrimmedNonEmptyLines) {
    EXPECT_EQ(getReplaceText(" uno \n\n\tdos\r\n"), "uno\ndos");
}

struct FieldCase {
    const char* name;
    AdjustTimeField field;
    QString text;
    double fps;
    std::optional<int> expected;
};

class ReadAdjustTimeFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(ReadAdjustTimeFieldTest, Reads) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(readAdjustTimeField(c.field, c.text, c.fps), c.expected);
}

constexpr auto H = AdjustTimeField::Hours;
constexpr auto M = AdjustTimeField::Minutes;
constexpr auto S = AdjustTimeField::Seconds;
constexpr auto F = AdjustTimeField::Frames;

INSTANTIATE_TEST_SUITE_P(
    Ranges, ReadAdjustTimeFieldTest,
    testing::Values(FieldCase{"ZeroHoursRefused", H, "0", 25, std::nullopt},
                    FieldCase{"OneHour", H, "1", 25, 1}, FieldCase{"TenHours", H, "10", 25, 10},
                    FieldCase{"ElevenHoursRefused", H, "11", 25, std::nullopt},
                    FieldCase{"ZeroMinutes", M, "0", 25, 0},
                    FieldCase{"SixtyMinutes", M, "60", 25, 60},
                    FieldCase{"SixtyOneMinutesRefused", M, "61", 25, std::nullopt},
                    FieldCase{"NegativeSecondsRefused", S, "-1", 25, std::nullopt},
                    FieldCase{"SixtySeconds", S, "60", 25, 60},
                    FieldCase{"FramesUpToFps", F, "25", 25, 25},
                    FieldCase{"FramesPastFpsRefused", F, "26", 25, std::nullopt},
                    FieldCase{"FramesBelowFractionalFps", F, "29", 29.97, 29},
                    FieldCase{"FramesAboveFractionalFpsRefused", F, "30", 29.97, std::nullopt},
                    FieldCase{"FractionRefused", S, "1.5", 25, std::nullopt},
                    FieldCase{"TrailingLetterRefused", S, "5x", 25, std::nullopt},
                    FieldCase{"EmptyRefused", M, "", 25, std::nullopt}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

struct CarryCase {
    const char* name;
    AdjustTime typed;
    double fps;
    AdjustTime expected;
};

class CarryAdjustTimeTest : public testing::TestWithParam<CarryCase> {};

TEST_P(CarryAdjustTimeTest, Carries) {
    const CarryCase& c = GetParam();
    EXPECT_EQ(carryAdjustTime(c.typed, c.fps), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CarryAdjustTimeTest,
    testing::Values(CarryCase{"NothingToCarry", {0, 59, 59, 24}, 25, {0, 59, 59, 24}},
                    CarryCase{"FramesKeepTheirRemainder", {0, 0, 1, 30}, 25, {0, 0, 2, 5}},
                    CarryCase{"FullSecondOfFrames", {0, 0, 0, 25}, 25, {0, 0, 1, 0}},
                    CarryCase{"CarryRunsUpToHours", {0, 59, 59, 25}, 25, {1, 0, 0, 0}},
                    CarryCase{"SixtySeconds", {2, 3, 60, 4}, 25, {2, 4, 0, 4}},
                    CarryCase{"SixtyMinutes", {2, 60, 3, 4}, 25, {3, 0, 3, 4}},
                    CarryCase{
                        "FractionalFpsCarriesAtItsCeiling", {0, 0, 0, 30}, 29.97, {0, 0, 1, 0}},
                    CarryCase{"BelowFractionalFps", {0, 0, 0, 29}, 29.97, {0, 0, 0, 29}}),
    [](const testing::TestParamInfo<CarryCase>& info) { return std::string(info.param.name); });

TEST(AdjustTimeTest, ResultTextNamesDirectionAndPaddedFields) {
    EXPECT_EQ(adjustTimeResultText({0, 0, 2, 5}, true), "Shift all time codes forward 00:00:02.05");
    EXPECT_EQ(adjustTimeResultText({10, 59, 7, 24}, false),
              "Shift all time codes backward 10:59:07.24");
}

TEST(AdjustTimeTest, OneSecondThirtyFramesAt25FpsShiftsFiftyFiveFrames) {
    const AdjustTime carried = carryAdjustTime({0, 0, 1, 30}, 25);
    EXPECT_EQ(adjustTimeResultText(carried, false), "Shift all time codes backward 00:00:02.05");
    const MediaTime amount = adjustTimeAmount(carried, 25);
    EXPECT_EQ(amount.value, 55000);
    EXPECT_EQ(amount.timescale, 25000);
}

TEST(AdjustTimeTest, AmountCountsWholeFramesInThousandths) {
    // 1 h 2 min 3 s 4 frames at 30 fps: 3723 s x 30 + 4 = 111694 frames.
    const MediaTime amount = adjustTimeAmount({1, 2, 3, 4}, 30);
    EXPECT_EQ(amount.value, 111694000);
    EXPECT_EQ(amount.timescale, 30000);
}

TEST(AdjustTimeTest, FractionalFpsTruncatesFramesAndTimescale) {
    // 29.97 frames in one second: the fraction of a frame is dropped, not rounded up.
    const MediaTime amount = adjustTimeAmount({0, 0, 1, 0}, 29.97);
    EXPECT_EQ(amount.value, 29000);
    EXPECT_EQ(amount.timescale, 29970);
}

} // namespace
