#include "SubtitleLine.h"

#include "FpsGuard.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

TEST(SubtitleLine, NewLineIsUnsetAndUntimed) {
    const SubtitleLine line;
    EXPECT_EQ(line.startTime(), -1);
    EXPECT_EQ(line.endTime(), -1);
    EXPECT_TRUE(line.getStartTimeString().isEmpty());
    EXPECT_TRUE(line.getEndTimeString().isEmpty());
    EXPECT_FALSE(line.isValid());
    EXPECT_EQ(line.getSubtitleLineString(), QString());
    EXPECT_EQ(line.subtitleLineId.size(), 36);
    EXPECT_DOUBLE_EQ(line.startTimeCode().totalMilliseconds(), -1000);
    EXPECT_NE(SubtitleLine().subtitleLineId, line.subtitleLineId);
}

TEST(SubtitleLine, StartSettersKeepSecondsStringAndTimeCodeTogether) {
    FpsGuard guard(25);
    SubtitleLine line;
    line.setStartTime(1.2);
    EXPECT_EQ(line.getStartTimeString(), "[00:00:01.05]");
    EXPECT_EQ(line.startTimeCode().seconds(), 1);
    EXPECT_EQ(line.startTimeCode().milliseconds(), 200);

    // A TimeCode handed in keeps its own total, while the seconds are rounded up.
    line.setStartTimeCode(TimeCode(1000.4));
    EXPECT_DOUBLE_EQ(line.startTimeCode().totalMilliseconds(), 1000.4);
    EXPECT_FLOAT_EQ(static_cast<float>(line.startTime()), 1.001f);

    line.setStartTime(-1);
    EXPECT_TRUE(line.getStartTimeString().isEmpty());
    EXPECT_FALSE(line.isStartTimeValid());
}

TEST(SubtitleLine, TimeRangeIsHalfOpenAndOpenEndedLinesCoverEverythingAfter) {
    SubtitleLine timed;
    timed.setStartTime(1);
    timed.setEndTime(2);
    EXPECT_TRUE(timed.isTimeInTimeRange(1));
    EXPECT_TRUE(timed.isTimeInTimeRange(1.998));
    // The probe is rounded up to the millisecond like the stored times: 1.9999 is 2.
    EXPECT_FALSE(timed.isTimeInTimeRange(1.9999));
    EXPECT_FALSE(timed.isTimeInTimeRange(2));

    SubtitleLine openEnded;
    openEnded.setStartTime(5);
    EXPECT_TRUE(openEnded.isTimeInTimeRange(5)) << "its own start instant";
    EXPECT_TRUE(openEnded.isTimeInTimeRange(100));
    EXPECT_FALSE(openEnded.isTimeInTimeRange(4.999));

    SubtitleLine endOnly;
    endOnly.setEndTime(5);
    EXPECT_FALSE(endOnly.isTimeInTimeRange(1));
}

TEST(SubtitleLine, DurationTruncatesTheStart) {
    SubtitleLine line;
    line.setStartTimeCode(TimeCode(1000.7));
    line.setEndTimeCode(TimeCode(3500.0));
    EXPECT_DOUBLE_EQ(line.duration().totalMilliseconds(), 2500);
}

TEST(SubtitleLine, CopyKeepsIdentifierButOwnsItsTimes) {
    FpsGuard guard(25);
    SubtitleLine source;
    source.setStartTime(1);
    source.setEndTime(2);
    source.setText("Hello");
    source.startNumerator = 42;
    const SubtitleLinePtr copy = SubtitleLine::copyOf(source);
    EXPECT_EQ(copy->subtitleLineId, source.subtitleLineId);
    EXPECT_TRUE(copy->isEqualToSubtitle(source));
    EXPECT_EQ(copy->startNumerator, 0);
    copy->setStartTime(1.5);
    EXPECT_EQ(source.startTime(), 1);
    EXPECT_EQ(source.startTimeCode().totalMilliseconds(), 1000);
}

TEST(Subtitle, DisplayStringJoinsLinesAndMarksRowBreaks) {
    FpsGuard guard(25);
    Subtitle subtitle;
    EXPECT_EQ(subtitle.getTextViewDisplayString(), QString());
    auto first = SubtitleLine::create();
    first->setStartTime(1);
    first->setEndTime(2);
    first->setText("Hello\nworld");
    auto second = SubtitleLine::create();
    second->setStartTime(3);
    second->setEndTime(4);
    second->setText("Bye");
    subtitle.subtitles = {first, second};
    EXPECT_EQ(subtitle.getTextViewDisplayString(),
              QString::fromUtf8("[00:00:01.00]Hello⏎world[00:00:02.00]\n"
                                "[00:00:03.00]Bye[00:00:04.00]"));
}

TEST(Subtitle, RenumberAndLookup) {
    Subtitle subtitle;
    subtitle.subtitles = {SubtitleLine::create(), SubtitleLine::create()};
    subtitle.renumber(1);
    EXPECT_EQ(subtitle.subtitles[1]->number, 2);
    EXPECT_EQ(subtitle.getSubtitleLineAtIndex(-1), nullptr);
    EXPECT_EQ(subtitle.getSubtitleLineAtIndex(2), nullptr);
    EXPECT_EQ(subtitle.getSubtitleLineAtIndex(0), subtitle.subtitles[0]);
    EXPECT_FALSE(subtitle.calculateTimeCodesFromFrameNumbers(25));
    EXPECT_EQ(subtitle.filename, "Untitled");
}

} // namespace
