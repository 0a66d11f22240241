#include "SubtitleScript.h"

#include "FpsGuard.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

TEST(SubtitleScript, TimeQueries) {
    FpsGuard guard(25);
    SubtitleScript script;
    const auto load = [&script](const QString& text) {
        script.setSubtitles(script.createSubtitleLinesFromText(text));
    };
    const auto seconds = [](double s) {
        return MediaTime::makeWithSeconds(s, 25000);
    };
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
