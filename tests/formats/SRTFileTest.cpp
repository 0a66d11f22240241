#include "SRTFile.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using quillery::SRTFile;

namespace {

const QChar kMark(0x23CE);

// Only a line that matches the time pattern once, spaces aside, is a time line.
TEST(SRTFile, ConvertsToScriptText) {
    const struct {
        const char* name;
        float fps;
        const char* subRip;
        const char* script; // '|' stands for the line-break mark
    } rows[] = {
        // 500 x 25 / 1000 = 12.5, away from zero: 13.
        {"MessyLayout", 25,
         "\r\n\r\n 1 \r\n\r\n00:00:01,000-->00:00 :02, 500   \r\n  Hello \r\n\r\n"
         " World\r\n\r\n",
         "[00:00:01.00]Hello|World[00:00:02.13]"},
        // 20 x 25 / 1000 = 0.5 exactly, 100 x 25 / 1000 = 2.5: both up.
        {"HalvesAwayFromZero", 25, "1\n00:00:00,020 --> 00:00:00,100\nA\n",
         "[00:00:00.01]A[00:00:00.03]"},
        // 999 x 29.97 / 1000 = 29.94 gives 30, past the rate; 505 x 29.97 / 1000 = 15.13.
        {"Ntsc", 29.97f, "7\n01:02:03,999 --> 99:59:59,505\nA\n", "[01:02:03.30]A[99:59:59.15]"},
        // -50 x 25 / 1000 = -1.25 gives -1, printed in two characters.
        {"NegativeMilliseconds", 25, "1\n00:00:01,-50 --> 00:00:02,-05\nA\n",
         "[00:00:01.-1]A[00:00:02.00]"},
        // The fields sit at fixed positions from the start of the line, wherever the
        // pattern matched: "-00:00:0" and ",47" (no digits, so 0 frames).
        {"MatchAfterLeadingMatter", 25, "1\n-00:00:01,471 --> 00:00:00,946\nHi there\n",
         "[-00:00:0.00]Hi there[>00:00:0.00]"},
        {"CueWithoutTextSwallowsTheNext", 25,
         "1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nNext\n",
         "[00:00:01.00]2|00:00:03,000 --> 00:00:04,000|Next[00:00:02.00]"},
        {"FirstCueWithoutNumberIsLost", 25,
         "00:00:01,000 --> 00:00:02,000\nLost\n\n2\n00:00:03,000 --> 00:00:04,000\n"
         "Kept\n",
         "[00:00:03.00]Kept[00:00:04.00]"},
        {"LastNumberLineDropped", 25, "1\n00:00:01,000 --> 00:00:02,000\nText\n\n2",
         "[00:00:01.00]Text[00:00:02.00]"},
        {"TwoCuesJoinedByOneLf", 25,
         "1\n00:00:01,000 --> 00:00:02,000\nOne\n\n2\n00:00:03,040 --> "
         "00:00:04,000 X1:1 Y1:2\nTwo\n",
         "[00:00:01.00]One[00:00:02.00]\n[00:00:03.01]Two[00:00:04.00]"},
        {"TimeLineWithoutMilliseconds", 25, "1\n00:00:01 --> 00:00:10\nThis subtitle is invalid\n",
         ""},
        {"TwoTimeLinesInOne", 25, "1\n00:00:01,000-->00:00:02,00000:00:03,000-->00:00:04,000\nA\n",
         ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SRTFile::convertToText(QString::fromUtf8(row.subRip), row.fps),
                  QString::fromUtf8(row.script).replace(u'|', kMark))
            << row.name;
    }
}

TEST(SRTFileLoading, CarriageReturnsBecomeLineFeeds) {
    QTemporaryDir dir;
    const QString path = quillery::test::writeFile(dir.filePath("cr.srt"),
                                                   "1\r00:00:01,000 --> 00:00:02,000\r\nHi\r");
    SRTFile srt(path);
    EXPECT_EQ(srt.path, path);
    EXPECT_EQ(srt.text, "1\n00:00:01,000 --> 00:00:02,000\n\nHi\n");
}

} // namespace
