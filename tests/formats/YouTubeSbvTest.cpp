#include "YouTubeSbv.h"

#include "ScriptMarks.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

const QString kMark(kLineBreakMark);
const QString kFirst = "0:00:01.000,0:00:02.000";
const QString kSecond = "0:00:03.000,0:00:04.000";

QStringList texts(const Subtitle& subtitle) {
    QStringList result;
    for (const SubtitleLinePtr& line : subtitle.subtitles)
        result.append(line->text());
    return result;
}

struct ReadRow {
    const char* name;
    QStringList lines;
    QStringList texts;
    std::size_t errors;
};

TEST(YouTubeSbv, CueBoundaries) {
    const ReadRow rows[] = {
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
        {"cue without text", {kFirst, "", kSecond, "B"}, {"", "B"}, 0},
    };
    for (const ReadRow& row : rows) {
        YouTubeSbv format;
        Subtitle subtitle;
        format.loadSubtitle(subtitle, row.lines, QString());
        EXPECT_EQ(texts(subtitle), row.texts) << row.name;
        EXPECT_EQ(format.errorCount(), row.errors) << row.name;
    }
}

struct TimeLineRow {
    QString line;
    double startMs; // -1: rejected
    double endMs;
};

TEST(YouTubeSbv, TryReadTimeCodesLine) {
    const TimeLineRow rows[] = {
        {"1:02:03.004,1:02:05.50", 3723004, 3725050},
        {QString("0:00:01,000") + QChar(0x060C) + "0:00:02.000", 1000, 2000},
        {QString("0") + QChar(0x00A1) + "00:01.000,0:00:02.000", 1000, 2000},
        {"0:00:01.000, 0:00:02.000", -1, -1},
        {"00:01.000,00:02.000", -1, -1},
        // Past the 2^31 seconds any time holds: no time line.
        {"9999999999:00:00.000,0:00:01.000", -1, -1},
    };
    for (const TimeLineRow& row : rows) {
        SubtitleLine line;
        EXPECT_EQ(YouTubeSbv().tryReadTimeCodesLine(row.line, line), row.startMs >= 0)
            << qPrintable(row.line);
        if (row.startMs >= 0) {
            EXPECT_DOUBLE_EQ(line.startTimeCode().totalMilliseconds(), row.startMs)
                << qPrintable(row.line);
            EXPECT_DOUBLE_EQ(line.endTimeCode().totalMilliseconds(), row.endMs)
                << qPrintable(row.line);
        }
    }
}

TEST(YouTubeSbv, WriterUsesHoursWithoutLeadingZeroAndCrLf) {
    Subtitle subtitle;
    subtitle.subtitles = {SubtitleLine::create(), SubtitleLine::create()};
    subtitle.subtitles[0]->setStartTimeCode(TimeCode(940));
    subtitle.subtitles[0]->setEndTimeCode(TimeCode(5050));
    subtitle.subtitles[0]->setText("Hello" + kMark + "world");
    subtitle.subtitles[1]->setStartTimeCode(TimeCode(3661500));
    subtitle.subtitles[1]->setEndTimeCode(TimeCode(36000000));
    subtitle.subtitles[1]->setText("Bye");
    EXPECT_EQ(YouTubeSbv().toText(subtitle, "YouTube sbv"),
              "0:00:00.940,0:00:05.050\r\nHello\r\nworld\r\n\r\n"
              "1:01:01.500,10:00:00.000\r\nBye");
    EXPECT_EQ(YouTubeSbv().toText(Subtitle(), "YouTube sbv"), "");
}

TEST(YouTubeSbv, DataFileCaptions) {
    Subtitle captions;
    loadSubtitle(captions,
                 QDir(QUILLERY_TEST_DATA_DIR).filePath("sbv/swiftsubtitles-captions.sbv"));
    ASSERT_EQ(captions.subtitles.size(), 6);
    EXPECT_DOUBLE_EQ(captions.subtitles[0]->startTimeCode().totalMilliseconds(), 940);
    EXPECT_EQ(captions.subtitles[0]->text(), "This is a test of the SBV file converter.");
    EXPECT_DOUBLE_EQ(captions.subtitles[2]->endTimeCode().totalMilliseconds(), 14079);
    EXPECT_EQ(captions.subtitles[2]->text(), "Then, after the video had been processed and" +
                                                 kMark +
                                                 "had captions auto-generated for it by Youtube,");
}

} // namespace
