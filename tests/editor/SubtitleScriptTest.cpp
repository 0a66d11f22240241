#include "SubtitleScript.h"

#include "FpsGuard.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

class SubtitleScriptTest : public testing::Test {
protected:
    void load(const QString& text) {
        script.setSubtitles(script.createSubtitleLinesFromText(text));
    }
    const SubtitleLine* at(qsizetype i) const { return script.getAllSubtitles()[i].get(); }
    MediaTime seconds(double s) const { return MediaTime::makeWithSeconds(s, 25000); }

    FpsGuard guard{25};
    SubtitleScript script;
};

TEST_F(SubtitleScriptTest, PositionsFollowFromTheRecords) {
    // Line offsets: 0 (length 31), 32 (length 3), 36 (length 14).
    load("[00:00:01.05]Hello[00:00:03.00]\nBye\n[00:00:06.00]x");
    const auto& lines = script.getAllSubtitles();
    EXPECT_EQ(script.getSubtitleLineWithRange({31, 0}), lines[0]);
    EXPECT_EQ(script.getSubtitleLineWithRange({32, 0}), lines[1]);
    EXPECT_EQ(script.getSubtitleLineWithRange({50, 0}), lines[2]);
    EXPECT_EQ(script.getSubtitleLineWithRange({51, 0}), nullptr);

    EXPECT_EQ(script.getRangeWithSubtitleLine(at(0)), (TextRange{13, 5}));
    EXPECT_EQ(script.getRangeWithSubtitleLine(at(2)), (TextRange{49, 1}));
    EXPECT_EQ(script.findTimeCodeRangeOfSubtitleLine(at(0), true), (TextRange{0, 13}));
    EXPECT_EQ(script.findTimeCodeRangeOfSubtitleLine(at(0), false), (TextRange{18, 13}));
    EXPECT_EQ(script.findTimeCodeRangeOfSubtitleLine(at(1), true), (TextRange{32, 0}));
    EXPECT_EQ(script.findTimeCodeRangeOfSubtitleLine(at(2), false), (TextRange{50, 0}));
    EXPECT_EQ(script.findStartRangeOfSubtitleLine(at(2)), 36);
    EXPECT_EQ(script.findEndRangeOfSubtitleLine(at(1)), 35);

    SubtitleLine stranger;
    EXPECT_FALSE(script.getRangeWithSubtitleLine(&stranger).found());
    EXPECT_EQ(script.indexForSubtitleLine(&stranger), TextRange::NotFound);
}

TEST_F(SubtitleScriptTest, NeighboursStopAtTheEnds) {
    load("a\nb");
    EXPECT_EQ(script.previousSubtitleLineForLine(at(0)), nullptr);
    EXPECT_EQ(script.nextSubtitleLineForLine(at(0)).get(), at(1));
    EXPECT_EQ(script.nextSubtitleLineForLine(at(1)), nullptr);
    EXPECT_EQ(script.previousSubtitleLineForLine(at(1)).get(), at(0));
}

TEST_F(SubtitleScriptTest, TimeQueries) {
    load("[00:00:01.00]A[00:00:02.00]\nB\n[00:00:03.00]C[00:00:04.00]\n[00:00:05.00]D");
    const auto& lines = script.getAllSubtitles();
    EXPECT_EQ(script.subtitleForStartTime(1.5, 3.5), (QList<SubtitleLinePtr>{lines[0], lines[2]}));
    EXPECT_EQ(script.subtitleForStartTime(2.0, 2.5), (QList<SubtitleLinePtr>{lines[0]}));
    EXPECT_EQ(script.getCurrentSubtitle(seconds(3.5)), lines[2]);
    EXPECT_EQ(script.getCurrentSubtitle(seconds(100)), lines[3]);
    EXPECT_EQ(script.getCurrentSubtitle(seconds(2.0)), nullptr);
    EXPECT_EQ(script.getCurrentSubtitle(MediaTime::indefiniteTime()), nullptr);
    EXPECT_EQ(script.getNextSubtitleLineAtTime(seconds(0.5)), lines[0]);
    // A ends at 2.0, not after it; the untimed B has no end and so comes next.
    EXPECT_EQ(script.getNextSubtitleLineAtTime(seconds(2.0)), lines[1]);

    // The range scan stops at the first later start, though earlier ones may follow.
    load("[00:00:05.00]late[00:00:06.00]\n[00:00:01.00]early[00:00:02.00]");
    EXPECT_TRUE(script.subtitleForStartTime(0, 3).isEmpty());
}

} // namespace
