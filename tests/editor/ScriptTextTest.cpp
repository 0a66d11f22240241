#include "ScriptText.h"

#include "FpsGuard.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

SubtitleLinePtr parse(const QString& line) {
    return parseText(line, FrameDuration{});
}

TEST(ParseText, TimeStringsAtTheEdgesAreTimes) {
    FpsGuard guard(25);
    const auto full = parse("[00:00:01.05]Hello there.[00:00:03.00]");
    EXPECT_FLOAT_EQ(static_cast<float>(full->startTime()), 1.2f);
    EXPECT_DOUBLE_EQ(full->endTime(), 3.0);
    EXPECT_EQ(full->text(), "Hello there.");

    const auto onlyStart = parse("[00:00:01.05]");
    EXPECT_FLOAT_EQ(static_cast<float>(onlyStart->startTime()), 1.2f);
    EXPECT_FALSE(onlyStart->isEndTimeValid());
    EXPECT_EQ(onlyStart->text(), "");

    const auto both = parse("[00:00:01.00][00:00:02.00]");
    EXPECT_TRUE(both->isValid());
    EXPECT_EQ(both->text(), "");

    const auto onlyEnd = parse("Goodbye.[00:00:07.12]");
    EXPECT_FALSE(onlyEnd->isStartTimeValid());
    EXPECT_FLOAT_EQ(static_cast<float>(onlyEnd->endTime()), 7.48f); // 12 frames is 0.48 s
}

TEST(ParseText, OtherTimeStringsStayText) {
    FpsGuard guard(25);
    const auto middle = parse("Hello [00:00:01.05] there");
    EXPECT_FALSE(middle->isStartTimeValid());
    EXPECT_FALSE(middle->isEndTimeValid());
    EXPECT_EQ(middle->text(), "Hello [00:00:01.05] there");

    const auto longFraction = parse("[00:00:01.050]Hi");
    EXPECT_FALSE(longFraction->isStartTimeValid());
    EXPECT_EQ(longFraction->text(), "[00:00:01.050]Hi");

    // Hours past 99 make a 14-character string, which is never a time of the script.
    const auto hundredHours = parse("[100:00:00.00]Hi[100:00:01.00]");
    EXPECT_FALSE(hundredHours->isStartTimeValid());
    EXPECT_FALSE(hundredHours->isEndTimeValid());
    EXPECT_EQ(hundredHours->text(), "[100:00:00.00]Hi[100:00:01.00]");

    const auto empty = parse("");
    EXPECT_FALSE(empty->isStartTimeValid());
    EXPECT_EQ(empty->getSubtitleLineString(), "");
}

TEST(ParseText, StoredTimeStringIsRegeneratedFromTheSeconds) {
    FpsGuard guard(25);
    // 30 frames at 25 fps is 1.2 s past the second: 2.2 s, written back as [00:00:02.05].
    const auto line = parse("[00:00:01.30]Hi");
    EXPECT_FLOAT_EQ(static_cast<float>(line->startTime()), 2.2f);
    EXPECT_EQ(line->getStartTimeString(), "[00:00:02.05]");
    EXPECT_EQ(line->getSubtitleLineString().size(), 15);
}

struct TickCase {
    const char* name;
    FrameDuration duration;
    const char* timeString;
    int32_t expected;
};

class Numerator : public testing::TestWithParam<TickCase> {};

TEST_P(Numerator, CountsTicksWithDropFrameForNtsc) {
    EXPECT_EQ(numeratorFromQuilleryTimecode(GetParam().timeString, GetParam().duration),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Numerator,
    testing::Values(
        // 30030 x 60 - 1 x 2 x 1001
        TickCase{"NtscOneMinute", {1001, 30000}, "[00:01:00.00]", 1799798},
        // The tenth minute drops nothing: 9 minutes x 2 frames skipped, 17982 frames.
        TickCase{"NtscTenMinutes", {1001, 30000}, "[00:10:00.00]", 17982 * 1001},
        // 60060 x 60 - 4 x 1001
        TickCase{"Ntsc5994OneMinute", {1001, 60000}, "[00:01:00.00]", 3599596},
        TickCase{"PalFramesAndSeconds", {100, 2500}, "[00:00:01.05]", 3000},
        TickCase{"NoProjectLoaded", {0, 0}, "[00:00:01.05]", 0},
        TickCase{"Malformed", {100, 2500}, "[00:00:01]", -1},
        // 60060 x 359999 s alone is past 2^31: no count rather than a wrapped one.
        TickCase{"PastThirtyTwoBits", {1001, 60000}, "[99:59:59.59]", -1}),
    [](const auto& info) { return info.param.name; });

TEST(ScriptLines, EveryLineFeedEndsOneRecord) {
    EXPECT_EQ(createSubtitleLinesFromText("", {}).size(), 1);
    const auto lines = createSubtitleLinesFromText("a\n\nb\n", {});
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0]->text(), "a");
    EXPECT_EQ(lines[1]->text(), "");
    EXPECT_EQ(lines[3]->text(), "");
}

TEST(ScriptLines, WholeTextTrimsSpacesTabsAndReturnsButNotLineFeeds) {
    const auto lines = generateSubtitleLines(" \t\r\n a \r", {});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]->text(), "");
    EXPECT_EQ(lines[1]->text(), " a");
    EXPECT_EQ(generateSubtitleLines("  ", {}).size(), 1);
}

TEST(ScriptPositions, BreaksAndWholeLines) {
    const QString text = "ab\ncd\r\nef";
    EXPECT_EQ(findLastBreak(0, text), 0);
    EXPECT_EQ(findLastBreak(3, text), 3);
    EXPECT_EQ(findLastBreak(8, text), 7);
    EXPECT_EQ(findNextBreak(3, text), 5);
    EXPECT_EQ(findNextBreak(2, text), 2);
    EXPECT_EQ(findNextBreak(8, text), 9);
    EXPECT_EQ(getInsertLineInText(text, TextRange{4, 4}), "cd\r\nef");
    EXPECT_EQ(getInsertLineInText(text, TextRange{1, 0}), "ab");
    EXPECT_EQ(getInsertLineInText(QString(), TextRange{0, 0}), "");
}

} // namespace
