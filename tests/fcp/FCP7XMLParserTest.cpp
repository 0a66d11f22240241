#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "QYFCP7XMLParser.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

QString generatorItem(int start, int end, const QString& text) {
    return QStringLiteral("<generatoritem id=\"Text1\"><start>%1</start><end>%2</end><effect>"
                          "<parameter><parameterid>str</parameterid><value>%3</value></parameter>"
                          "<parameter><parameterid>fontsize</parameterid><value>36</value>"
                          "</parameter><parameter><parameterid>fontalign</parameterid>"
                          "<value>1</value></parameter></effect></generatoritem>")
        .arg(start)
        .arg(end)
        .arg(text);
}

std::optional<FCP7SequenceReading> read(const QString& xml) {
    return QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(xml);
}

TEST(FCP7XMLParser, ReadsTheLastTracksTextGeneratorsAtTheSequenceRate) {
    FpsGuard guard(30);
    const auto result =
        read(xmemlSequence("Episode 1 from Quillery 2", "NDF", 25,
                           {generatorItem(0, 50, "ignored"), generatorItem(25, 75, "Two&#13;rows") +
                                                                 generatorItem(100, 150, "Next")}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->seqName, "Episode 1");
    EXPECT_FALSE(result->mbIsDropFrame);
    EXPECT_EQ(result->miTimebase, 25);
    EXPECT_DOUBLE_EQ(QYTimeUtility::sharedInstance().getFPS(), 25.0);
    EXPECT_EQ(result->scriptText, QString::fromUtf8("[00:00:01.00]Two⏎rows[00:00:03.00]\n"
                                                    "[00:00:04.00]Next[00:00:06.00]\n"));
    EXPECT_EQ(xml::contentStringValueByElementName(result->templateItem(), "start"), "25");
    EXPECT_EQ(result->fontSize, 36);
    EXPECT_EQ(result->textAlign, 0);
    EXPECT_EQ(result->duration, MediaTime::make(9000, 25));
}

TEST(FCP7XMLParser, DropFrameSequencesSkipNumbers) {
    FpsGuard guard(25);
    const struct {
        const char* name;
        const char* displayFormat;
        int timebase;
        int start;
        const char* line;
    } rows[] = {
        // 1999 / 30 = 66.633 s; 2000 becomes 2002, 2002 / 30 = 66.733 s.
        {"DF at 30 moves frame 2000", "DF", 30, 1999, "[00:01:06.19]x[00:01:06.22]\n"},
        {"NDF keeps the numbers", "NDF", 30, 1999, "[00:01:06.19]x[00:01:06.20]\n"},
        // 4000 becomes 4004 at 60: 4004 / 60 = 66.733 s.
        {"DF at 60 skips four", "DF", 60, 3999, "[00:01:06.39]x[00:01:06.44]\n"},
        {"other timebases are not adjusted", "DF", 25, 1999, "[00:01:19.24]x[00:01:20.00]\n"},
    };
    for (const auto& row : rows) {
        const int end = row.timebase == 60 ? 4000 : 2000;
        const auto result = read(xmemlSequence("S", row.displayFormat, row.timebase,
                                               {generatorItem(row.start, end, "x")}));
        ASSERT_TRUE(result) << row.name;
        EXPECT_EQ(result->scriptText, row.line) << row.name;
    }
}

TEST(FCP7XMLParser, SequencesWithoutTextOrXml) {
    FpsGuard guard(30);
    EXPECT_FALSE(read("not xml at all <"));
    const auto clipsOnly = read(xmemlSequence("S", "NDF", 25, {"<clipitem/>"}));
    ASSERT_TRUE(clipsOnly);
    EXPECT_TRUE(clipsOnly->scriptText.isEmpty());
    EXPECT_FALSE(clipsOnly->templateElement);
    const auto withoutTracks = read("<xmeml><sequence><media/></sequence></xmeml>");
    ASSERT_TRUE(withoutTracks);
    EXPECT_TRUE(withoutTracks->scriptText.isEmpty());

    // The Text generator of this real export sits on V2, below an empty V3.
    const auto real = read(testDataFile("fcp7/xmeml-NGxx13_ELSKER_Opfehliany.xml"));
    ASSERT_TRUE(real);
    EXPECT_TRUE(real->scriptText.isEmpty());
    EXPECT_EQ(real->seqName, "NGxx13 ELSKER Opfehlia");
}

TEST(FCP7XMLParser, NumbersNoTimeCanHoldAreReadAsMissing) {
    FpsGuard guard(25);
    for (const char* timebase : {"inf", "99999999999999999999", "0.5"}) {
        const auto result =
            read(xmemlSequence("S", "NDF", 0, {generatorItem(0, 50, "x")})
                     .replace("<timebase>0<", QString("<timebase>%1<").arg(timebase)));
        ASSERT_TRUE(result) << timebase;
        EXPECT_EQ(result->miTimebase, 0) << timebase;
        EXPECT_EQ(result->mfTimebase, 0) << timebase;
        // No rate: the process-wide rate falls back to 30.
        EXPECT_DOUBLE_EQ(QYTimeUtility::sharedInstance().getFPS(), 30.0) << timebase;
    }
    // 2147483647 + 2 x 1073741 skipped numbers is past 32 bits: the times cannot be written.
    const auto past =
        read(xmemlSequence("DF", "DF", 30, {generatorItem(2147483647, 2147483647, "x")}));
    ASSERT_TRUE(past);
    EXPECT_EQ(past->scriptText, "x\n");
}

// Clip times, stills, shared files and the picture size reach the preview's tests
// (tests/media) through the same track model.
TEST(FCP7XMLParser, TracksModelTheSequence) {
    QYFCP7XMLParser& parser = QYFCP7XMLParser::shareInstance();
    const QString clip = "<clipitem><file id=\"f1\"><pathurl>file://localhost/Volumes/A%20B/"
                         "Shot%20%C3%A9.mov</pathurl></file></clipitem>";
    const QString audio = "<track><clipitem id=\"a\"/></track>"
                          "<track><enabled>FALSE</enabled></track><track><enabled>false</enabled>"
                          "</track>";
    const xml::DocumentPtr document =
        xml::parseDocument(xmemlSequence("S", "NDF", 30, {clip}, audio));
    const FCPMoviePtr model = parser.loadLaneFromFCP7Document(document->document_element());
    EXPECT_EQ(model->videoTrackArray[0]->clipItemArray[0].mediaFile->path,
              QString::fromUtf8("/Volumes/A B/Shot é.mov"));
    EXPECT_EQ(model->audioTrackArray.size(), 1) << "disabled audio tracks are left out";

    // A saved project keeps its chosen tracks as text.
    const FCPTrackPtr rebuilt =
        parser.trackFromXMLString(model->videoTrackArray[0]->xmlElementString, FCPTrackType::Video);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->clipItemArray.size(), 1);
    EXPECT_FALSE(parser.trackFromXMLString("<clipitem/>", FCPTrackType::Video));
}

TEST(FCP7XMLParser, ClipEdgesInsideATransitionAreTheTransitionsEdges) {
    // The first clips of the real sequence's V1, where Final Cut Pro writes -1 for an edge
    // a transition decides: the clip after it starts where it starts, the clip before it
    // ends where it ends.
    const xml::DocumentPtr document =
        xml::parseDocument(testDataFile("fcp7/xmeml-NGxx13_ELSKER_Opfehliany.xml"));
    const FCPMoviePtr movie =
        QYFCP7XMLParser::shareInstance().loadLaneFromFCP7Document(document->document_element());
    const QList<FCPClipItem>& clips = movie->videoTrackArray[0]->clipItemArray;
    const struct {
        qsizetype clip;
        int32_t start;
        int32_t end;
    } rows[] = {
        {0, 0, 135},    // -1 end: the transition 92..135 after it
        {1, 92, 617},   // -1 start: the same transition
        {4, 929, 1096}, // between two transitions
    };
    for (const auto& row : rows) {
        EXPECT_EQ(clips[row.clip].timelineStartFrame, row.start) << "clip " << row.clip;
        EXPECT_EQ(clips[row.clip].timelineEndFrame, row.end) << "clip " << row.clip;
    }
}

} // namespace
