#include "SubtitleFormat.h"

#include "FormatTestSupport.h"
#include "FpsGuard.h"
#include "ScriptMarks.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

QString loadedFormatName(Subtitle& subtitle, const QString& path) {
    const SubtitleFormat* format = loadSubtitle(subtitle, path);
    return format == nullptr ? QString("none") : format->name();
}

// Loads the bytes as a file: the name of the format that claimed it, or "none".
QString loadBytes(Subtitle& subtitle, const QByteArray& bytes) {
    QTemporaryDir dir;
    return loadedFormatName(subtitle, test::writeFile(dir.filePath("subtitle"), bytes));
}

TEST(SubtitleFormat, TrialLoadNeedsMoreLinesThanErrors) {
    SubtitleFormat* sbv = SubtitleFormat::allSubtitleFormats()[3];
    const QStringList oneCue{"stray", "0:00:01.000,0:00:02.000", "A"};
    EXPECT_FALSE(sbv->isMine(oneCue, QString()));
    EXPECT_EQ(sbv->errorCount(), 1u);
    EXPECT_TRUE(sbv->isMine(oneCue + QStringList{"", "0:00:03.000,0:00:04.000", "B"}, QString()));
    // A signature without cues yields nothing, so no format claims it.
    for (SubtitleFormat* format : SubtitleFormat::allSubtitleFormats())
        EXPECT_FALSE(format->isMine({"WEBVTT", ""}, QString())) << qPrintable(format->name());
}

TEST(SubtitleFormat, TheFirstFormatInTheRegistryThatReadsAFileLoadsIt) {
    // SubViewer 1.0 takes the second line as text; SubViewer 2.0 reads it as its times.
    const QStringList lines{"[00:00:01]", "00:00:05.000,00:00:06.000", "Hello", "[00:00:02]"};
    EXPECT_TRUE(SubtitleFormat::allSubtitleFormats()[2]->isMine(lines, QString()));
    Subtitle subtitle;
    EXPECT_EQ(loadBytes(subtitle, lines.join('\n').toUtf8()), "SubViewer 1.0");
    EXPECT_EQ(test::texts(subtitle), QStringList{"00:00:05.000,00:00:06.000"});
}

TEST(SubtitleFormat, LoadingStripsWebVttMarkup) {
    test::FpsGuard guard(25);
    Subtitle subtitle;
    EXPECT_EQ(loadBytes(subtitle, "WEBVTT\n\n00:01.000 --> 00:02.400\n<v Ann>Hi</v>\nthere\n\n"
                                  "00:03.000 --> 00:04.000\nBye\n"),
              "WebVTT");
    EXPECT_EQ(subtitle.getTextViewDisplayString(),
              QString("[00:00:01.00]Hi") + kLineBreakMark +
                  "there[00:00:02.10]\n[00:00:03.00]Bye[00:00:04.00]");
}

} // namespace
