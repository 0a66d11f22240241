#include "YouTubeSbv.h"

#include "FormatTestSupport.h"
#include "ScriptMarks.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kMark(kLineBreakMark);
const QString kFirst = "0:00:01.000,0:00:02.000";
const QString kSecond = "0:00:03.000,0:00:04.000";

TEST(YouTubeSbv, CueBoundaries) {
    const struct {
        const char* name;
        QStringList lines;
        QStringList texts;
        std::size_t errors;
    } rows[] = {
        {"blank line before text", {kFirst, "A", "", "B", ""}, {"A" + kMark + "B"}, 0},
        {"time line straight after text", {kFirst, "A", kSecond, "B"}, {"A", "B"}, 0},
        {"time line as the last line", {kFirst, "A", kSecond}, {"A" + kMark + kSecond}, 0},
        {"bare number after a blank line", {kFirst, "A", "", "2", kSecond, "B"}, {"A", "B"}, 1},
        {"spaced time line closes, then errs",
         {kFirst, "A", " " + kSecond, "B", "", kSecond, "C"},
         {"A", "C"},
         2},
        {"doubled line feeds halved once",
         {kFirst, "A", " ", "  ", "B"},
         {"A" + kMark + kMark + "B"},
         0},
        {"NUL", {kFirst, QString("x") + QChar(0) + "y"}, {"x y"}, 0},
    };
    for (const auto& row : rows) {
        YouTubeSbv format;
        Subtitle subtitle;
        format.loadSubtitle(subtitle, row.lines, QString());
        EXPECT_EQ(texts(subtitle), row.texts) << row.name;
        EXPECT_EQ(format.errorCount(), row.errors) << row.name;
    }
}

TEST(YouTubeSbv, TimeLines) {
    const struct {
        QString line;
        const char* cue; // null: not a time line
    } rows[] = {
        {"1:02:03.004,1:02:05.50", "3723004 3725050 A"},
        {QString("0:00:01,000") + QChar(0x060C) + "0:00:02.000", "1000 2000 A"},
        {"0:00:01.000, 0:00:02.000", nullptr},
        {"00:01.000,00:02.000", nullptr},
        // Past the 2^31 seconds any time holds: no time line.
        {"9999999999:00:00.000,0:00:01.000", nullptr},
    };
    for (const auto& row : rows) {
        Subtitle subtitle;
        YouTubeSbv().loadSubtitle(subtitle, {row.line, "A"}, QString());
        EXPECT_EQ(cuesOf(subtitle), row.cue ? QStringList{row.cue} : QStringList())
            << qPrintable(row.line);
    }
}

TEST(YouTubeSbv, WriterUsesHoursWithoutLeadingZeroAndCrLf) {
    const Subtitle subtitle =
        subtitleOf({cue(940, 5050, "Hello" + kMark + "world"), cue(3661500, 36000000, "Bye")});
    EXPECT_EQ(YouTubeSbv().toText(subtitle, "YouTube sbv"),
              "0:00:00.940,0:00:05.050\r\nHello\r\nworld\r\n\r\n"
              "1:01:01.500,10:00:00.000\r\nBye");
    EXPECT_EQ(YouTubeSbv().toText(Subtitle(), "YouTube sbv"), "");
}

} // namespace
