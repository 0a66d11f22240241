#include "AvidSubtitleFile.h"

#include "FpsGuard.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

const QString kHead =
    "@ This file written with the Avid Caption plugin, version 1\n\n<begin subtitles>\n\n";
const QString kTail = "\n\n<end subtitles>";

SubtitleLinePtr lineOf(double start, double end, const QString& text) {
    SubtitleLinePtr line = SubtitleLine::create();
    line->setStartTime(start);
    line->setEndTime(end);
    line->setText(text);
    return line;
}

TEST(AvidSubtitleFile, ListsTheEditorLinesWithColonTimecodesAndTextUnchanged) {
    FpsGuard guard(25);
    const AvidSubtitleFile avid;
    // 1.2 s is frame 5 of second 1 and 2.48 s frame 12 of second 2; the unset end prints empty.
    const QList<SubtitleLinePtr> lines{lineOf(1.2, 2.48, "Hello\u23CEworld"), lineOf(3, -1, "Bye")};
    EXPECT_EQ(avid.convertSubtitleToAvidText(lines),
              kHead + "00:00:01:05 00:00:02:12\nHello\u23CEworld\n\n" + "00:00:03:00 \nBye\n\n" +
                  kTail);
    EXPECT_EQ(avid.convertSubtitleToAvidText({}), kHead + kTail);
}

TEST(AvidSubtitleFile, AFailedWriteLeavesNoFile) {
    FpsGuard guard(25);
    QTemporaryDir dir;
    AvidSubtitleFile avid;
    avid.path = dir.filePath("missing-folder/AvidOutput.txt");
    EXPECT_FALSE(avid.writeSubtitleToFile({lineOf(1, 2, "A")}));
    EXPECT_FALSE(QFile::exists(avid.path));
}

} // namespace
