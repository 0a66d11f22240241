#include "FCP7SubtitleTemplate.h"

#include "FpsGuard.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

QString generatorItem(int start, int end, const QString& text) {
    return QStringLiteral("<generatoritem><start>%1</start><end>%2</end><effect>"
                          "<parameter><parameterid>str</parameterid><value>%3</value></parameter>"
                          "<parameter><parameterid>fontsize</parameterid><value>36</value>"
                          "</parameter><parameter><parameterid>fontalign</parameterid>"
                          "<value>1</value></parameter></effect></generatoritem>")
        .arg(start)
        .arg(end)
        .arg(text);
}

QString sequence(const QString& name, const QString& displayFormat, int timebase,
                 const QStringList& tracks) {
    QString xml = QStringLiteral("<xmeml version=\"5\"><sequence><name>%1</name><duration>9000"
                                 "</duration><rate><timebase>%2</timebase></rate><timecode>"
                                 "<displayformat>%3</displayformat></timecode><media><video>")
                      .arg(name)
                      .arg(timebase)
                      .arg(displayFormat);
    for (const QString& track : tracks)
        xml += QStringLiteral("<track>%1</track>").arg(track);
    return xml + QStringLiteral("</video></media></sequence></xmeml>");
}

TEST(FCP7SubtitleTemplate, ReadsTheLastTracksTextGeneratorsAtTheSequenceRate) {
    FpsGuard guard(30);
    const auto result = readFCP7SubtitleTemplate(
        sequence("Episode 1 from Quillery 2", "NDF", 25,
                 {generatorItem(0, 50, "ignored"),
                  generatorItem(25, 75, "Two&#13;rows") + generatorItem(100, 150, "Next")}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->seqName, "Episode 1");
    EXPECT_FALSE(result->mbIsDropFrame);
    EXPECT_EQ(result->miTimebase, 25);
    EXPECT_DOUBLE_EQ(QYTimeUtility::sharedInstance().getFPS(), 25.0);
    EXPECT_EQ(result->scriptText, QString::fromUtf8("[00:00:01.00]Two⏎rows[00:00:03.00]\n"
                                                    "[00:00:04.00]Next[00:00:06.00]\n"));
    EXPECT_TRUE(result->templateElement.contains("Two"));
    EXPECT_FALSE(result->templateElement.contains("Next"));
    EXPECT_EQ(result->fontSize, 36);
    EXPECT_EQ(result->textAlign, 0);
    EXPECT_EQ(result->duration, MediaTime::make(9000, 25));
}

TEST(FCP7SubtitleTemplate, DropFrameSequencesSkipNumbers) {
    FpsGuard guard(30);
    // Frame 2000 of a drop-frame timeline is frame 2002 of real time; 1999 stays.
    const auto result =
        readFCP7SubtitleTemplate(sequence("DF", "DF", 30, {generatorItem(1999, 2000, "x")}));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->mbIsDropFrame);
    // 1999 / 30 = 66.633 s and 2002 / 30 = 66.733 s.
    EXPECT_EQ(result->scriptText, "[00:01:06.19]x[00:01:06.22]\n");
}

TEST(FCP7SubtitleTemplate, DocumentsWithoutTextOrXml) {
    FpsGuard guard(30);
    EXPECT_FALSE(readFCP7SubtitleTemplate("not xml at all <"));
    const auto empty = readFCP7SubtitleTemplate(sequence("S", "NDF", 25, {"<clipitem/>"}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->scriptText.isEmpty());

    QFile real(QUILLERY_CORPUS_DIR "/fcp7/otio-premiere_generators.xml");
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const auto premiere = readFCP7SubtitleTemplate(QString::fromUtf8(real.readAll()));
    ASSERT_TRUE(premiere) << "another writer's dialect still reads";
}

} // namespace
