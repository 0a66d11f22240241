#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "QYFCPXXMLParser.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;
using Status = FCPXProjectReading::Status;

namespace {

FCPXProjectReading read(const QString& xml) {
    return QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(xml);
}

QString attachedClip(const QString& attributes, const QString& titles) {
    return QStringLiteral("<clip %1><video ref=\"r2\" offset=\"0s\" duration=\"600s\"/>%2</clip>")
        .arg(attributes, titles);
}

// Clips of ten seconds each holding one title that starts one second into the clip.
QString clipsWithOneTitleEach(int clips) {
    QString spine;
    for (int i = 0; i < clips; ++i)
        spine +=
            attachedClip(QStringLiteral("offset=\"%1s\" start=\"0s\" duration=\"10s\"").arg(10 * i),
                         fcpxTitle("1s", "2s", QStringLiteral("C%1").arg(i)));
    return spine;
}

TEST(FCPXXMLParser, AttachedTitlesCountFromTheirClip) {
    FpsGuard guard(30);
    // The clip starts 100 s into its media and sits at 3650 s; the title sits at 101 s of the
    // clip's media: 101 - 100 + 3650 - 3600 (tcStart) = 51 s into the timeline, 2.5 s long.
    for (const char* tcStart : {"3600s", "90000/25s"}) {
        const FCPXProjectReading reading = read(fcpxProject(
            attachedClip("offset=\"3650s\" start=\"100s\" duration=\"100s\"",
                         fcpxTitle("101s", "5/2s", "Hello")),
            "100/2500s", QStringLiteral("duration=\"7200s\" tcStart=\"%1\"").arg(tcStart)));
        EXPECT_EQ(reading.scriptText, "[00:00:51.00]Hello[00:00:53.13]\n") << tcStart;
    }
}

TEST(FCPXXMLParser, SixToNineAttachedTitlesGiveOnlyTheFirst) {
    FpsGuard guard(30);
    const struct {
        int clips;
        int subtitles;
    } rows[] = {{1, 1}, {5, 5}, {6, 1}, {7, 1}, {9, 1}, {10, 10}, {12, 12}};
    for (const auto& row : rows) {
        const FCPXProjectReading reading = read(fcpxProject(clipsWithOneTitleEach(row.clips)));
        EXPECT_EQ(reading.scriptText.count(u'\n'), row.subtitles) << row.clips;
        EXPECT_EQ(reading.fcpxChangeFontTitleArray.size(),
                  size_t(row.subtitles == 1 ? 1 : row.clips))
            << row.clips;
    }
}

TEST(FCPXXMLParser, StorylinesOfTenTitlesHoldTheSubtitles) {
    FpsGuard guard(30);
    // Storyline at 105 s of a clip that starts 100 s into its media and sits at 10 s: its
    // titles begin 15 s into the timeline, one every two seconds.
    const QString clip = "offset=\"10s\" start=\"100s\" duration=\"100s\"";
    const QString ten = fcpxProject(fcpxStorylineClip(10, clip, "105s") +
                                    attachedClip("offset=\"110s\"", fcpxTitle("0s", "1s", "Own")));
    const FCPXProjectReading reading = read(ten);
    ASSERT_EQ(reading.status, Status::Ok);
    const QStringList lines = reading.scriptText.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), "[00:00:15.00]T0[00:00:16.00]");
    EXPECT_EQ(lines.last(), "[00:00:33.00]T9[00:00:34.00]");
}

TEST(FCPXXMLParser, TitlesBecomeScriptLines) {
    FpsGuard guard(30);
    const QString twoTexts =
        "<title ref=\"r2\" offset=\"1s\" duration=\"1s\"><text><text-style>First</text-style>"
        "</text><text>Sec<text-style>ond</text-style></text></title>";
    const QString threeTexts = "<title ref=\"r2\" offset=\"1s\" duration=\"1s\"><text>A</text>"
                               "<text>B</text><text>C</text></title>";
    const QString noText = "<title ref=\"r2\" offset=\"1s\" duration=\"1s\"/>";
    const QString lineFeed = fcpxTitle("1s", "1s", "Up\nDown");
    const struct {
        const char* name;
        QString title;
        QString line;
    } rows[] = {
        {"two texts are two rows", twoTexts, "[00:00:01.00]First⏎Second[00:00:02.00]\n"},
        {"a third text is ignored", threeTexts, "[00:00:01.00]A[00:00:02.00]\n"},
        {"a title without text", noText, "[00:00:01.00][00:00:02.00]\n"},
        {"line feeds become row marks", lineFeed, "[00:00:01.00]Up⏎Down[00:00:02.00]\n"},
    };
    for (const auto& row : rows) {
        const FCPXProjectReading reading =
            read(fcpxProject(attachedClip("offset=\"0s\"", row.title)));
        EXPECT_EQ(reading.scriptText, row.line) << row.name;
    }
}

TEST(FCPXXMLParser, BadProjectsSayWhy) {
    FpsGuard guard(30);
    const QString noResources =
        "<fcpxml version=\"1.8\"><library><event><project><sequence format=\"r1\"><spine/>"
        "</sequence></project></event></library></fcpxml>";
    const struct {
        const char* name;
        QString xml;
        Status status;
    } rows[] = {
        {"not XML", "this is not XML <", Status::FormatError},
        {"no sequence", testDataFile("fcpxml/otio-fcpx_clips.v1_8.fcpxml"), Status::FormatError},
        {"no resources", noResources, Status::FormatError},
        {"format unknown", fcpxProject("").replace("format=\"r1\" ", "format=\"r9\" "),
         Status::FormatError},
        {"frame duration without a slash", fcpxProject("", "25s"), Status::FrameDurationError},
        {"no title at all", fcpxProject(""), Status::NoTemplate},
        {"titles only on the main storyline",
         testDataFile("fcpxml/dawfilekit-TransitionMarkers1.v1_13.fcpxml"), Status::NoTemplate},
        {"a title in a compound clip", testDataFile("fcpxml/dawfilekit-CompoundClips.v1_11.fcpxml"),
         Status::NoTemplate},
    };
    for (const auto& row : rows) {
        const FCPXProjectReading reading = read(row.xml);
        EXPECT_EQ(reading.status, row.status) << row.name;
        EXPECT_FALSE(reading.title()) << row.name;
        EXPECT_TRUE(reading.document) << row.name;
    }
}

TEST(FCPXXMLParser, LargeProjectsReadSafely) {
    FpsGuard guard(30);
    QString titles;
    for (int i = 0; i < 10000; ++i)
        titles += QStringLiteral("<title ref=\"r2\" offset=\"%1/25s\" duration=\"1/25s\">"
                                 "<text>t</text></title>")
                      .arg(2 * i);
    const QString storyline =
        "<clip offset=\"0s\"><spine lane=\"1\" offset=\"0s\">" + titles + "</spine></clip>";
    EXPECT_EQ(read(fcpxProject(storyline)).scriptText.count(u'\n'), 10000);
}

// Clip and asset times, volumes and gaps reach the preview's tests (tests/media) through the
// same model; what they do not hold is here.
TEST(FCPXXMLParser, ReferencesAndLanesModelTheTimeline) {
    const xml::DocumentPtr document = xml::parseDocument(
        fcpxProject("<transition offset=\"0s\" duration=\"1s\"/>"
                    "<clip name=\"Main\" offset=\"50s\" duration=\"60s\">"
                    "<clip name=\"Sub\" lane=\"2\" offset=\"10s\" duration=\"5s\"/>"
                    "<clip name=\"Off\" lane=\"3\" offset=\"12s\" duration=\"5s\" enabled=\"0\"/>"
                    "<clip name=\"Low\" lane=\"-1\" offset=\"10s\" duration=\"5s\"/></clip>"
                    "<clip name=\"Hidden\" offset=\"115s\" duration=\"5s\" enabled=\"0\"/>")
            .replace("<effect id=\"r2\"", "<asset id=\"a1\" src=\"file:///Movies/"
                                          "A%20shot%C3%A9.mov\"/><effect id=\"r2\""));
    QYFCPXXMLParser& parser = QYFCPXXMLParser::shareInstance();
    const FCPXReferenceDictionary references =
        parser.loadAssetDictionaryFromFCPXDocument(*document);
    ASSERT_TRUE(references.assets.contains("a1"));
    EXPECT_EQ(references.assets["a1"]->src, QString::fromUtf8("/Movies/A shoté.mov"));

    // Highest lane first; transitions and disabled clips are left out.
    QStringList lanes;
    for (const FCPXLane& lane : parser.loadLaneFromFCPXDocument(*document, references)) {
        QStringList names;
        for (const auto& item : lane.laneItemArray)
            names << item->name;
        lanes << QString::number(lane.laneNumber) + ": " + names.join(u' ');
    }
    EXPECT_EQ(lanes, QStringList({"2: Sub", "0: Main", "-1: Low"}));
}

} // namespace
