#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "QYExporter.h"
#include "QYFCP7XMLParser.h"
#include "ScriptSource.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QDateTime kNow(QDate(2024, 2, 3), QTime(4, 5, 6));

const QString kTemplateItem =
    "<generatoritem id=\"Text1\"><name>Text</name><duration>3600</duration><rate><timebase>%1"
    "</timebase></rate><in>10</in><out>110</out><start>0</start><end>100</end><effect>"
    "<parameter><parameterid>fontsize</parameterid><value>42</value></parameter><parameter>"
    "<parameterid>str</parameterid><value>Sample Text</value></parameter></effect>"
    "</generatoritem>";

// Each generator item of the track as "id start end out text", one a line.
QString itemsOf(const xml::Element& track) {
    QStringList items;
    for (const xml::Element& item : xml::childElements(track, "generatoritem")) {
        const auto field = [&item](const char* name) {
            return xml::contentStringValueByElementName(item, name);
        };
        items << xml::stringValueOfAttribute("id", item) + u' ' + field("start") + u' ' +
                     field("end") + u' ' + field("out") + u' ' +
                     xml::stringValue(
                         item.select_node("effect/parameter[parameterid='str']/value").node());
    }
    return items.join(u'\n');
}

TEST(FCP7Writer, EachSubtitleIsACopyOfTheTemplateItem) {
    const struct {
        const char* name;
        int timebase;
        bool dropFrame;
        QString script;
        double movieDuration;
        QString items;
    } rows[] = {
        // The last subtitle runs to the movie's end at 2.5 s: frame 62.5 rounds up to 63.
        {"whole frames at 25", 25, false, "[00:00:01.00]One", 2.5, "Text1 25 63 48 One"},
        {"three subtitles keep the template id first", 25, false,
         "[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B⏎b[00:00:04.00]\n[00:00:05.00]C[00:00:06.00]",
         0, "Text1 25 50 35 A\nText11 75 100 35 B⏎b\nText12 125 150 35 C"},
        // Drop frame at 30: frame 2000 loses the two numbers skipped before it; 1999 stays.
        {"drop frame at 30", 30, true, "[00:01:06.19]A[00:01:06.20]", 0, "Text1 1999 1998 9 A"},
        {"non drop frame at 30", 30, false, "[00:01:06.19]A[00:01:06.20]", 0,
         "Text1 1999 2000 11 A"},
    };
    for (const auto& row : rows) {
        FpsGuard guard(row.timebase);
        const xml::DocumentPtr track = xml::parseDocument("<track><clipitem/></track>");
        const xml::DocumentPtr item = xml::parseDocument(kTemplateItem.arg(row.timebase));
        const ScriptSource script(row.script, {}, row.movieDuration);
        QYExporter exporter(script);
        exporter.SetDropFrame(row.dropFrame, row.timebase);
        exporter.generateSubtitleTrack(track->document_element(), item->document_element());
        EXPECT_EQ(itemsOf(track->document_element()), row.items) << row.name;
        EXPECT_EQ(xml::contentStringValueByElementName(
                      track->document_element().child("generatoritem"), "duration"),
                  QString::number(row.timebase * 600))
            << row.name;
        EXPECT_TRUE(track->document_element().last_child().name() == std::string("clipitem"));
    }
}

// Writes the sequence, read as the import does, back with the script as its subtitles.
QString writtenBack(const FCP7SequenceReading& sequence, const QString& script) {
    const ScriptSource source(script);
    QYExporter exporter(source, [] { return kNow; });
    exporter.SetDropFrame(sequence.mbIsDropFrame, sequence.miTimebase);
    return exporter.genNewFCP7XML(*sequence.document, sequence.seqName, sequence.templateItem(),
                                  nullptr);
}

TEST(FCP7Writer, TheSequenceIsRenamedAndItsSubtitleTrackRebuilt) {
    FpsGuard guard(30);
    // Pictures on V1, the subtitle track (two copies of the template) on V2.
    const auto first = QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(
        xmemlSequence("Episode from Quillery at 2020-01-01 00-00-00", "NDF", 25,
                      {"<clipitem id=\"c1\"><start>0</start><end>90</end></clipitem>",
                       kTemplateItem.arg(25) + kTemplateItem.arg(25)}));
    ASSERT_TRUE(first);
    const QString script =
        "[00:00:01.00]Up⏎Down[00:00:02.00]\n[00:00:03.00]Tom & Jerry[00:00:04.12]\n";
    const QString written = writtenBack(*first, script);

    EXPECT_EQ(written.count("<clipitem"), 1);
    const auto again = QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->scriptText, script);
    EXPECT_EQ(again->seqName, "Episode");
}

TEST(SmokeWriter, RateNamesChooseTheSeparators) {
    FpsGuard guard(25);
    // 3661.48 s: one hour, one minute, one second and 12 frames at 25 fps.
    const struct {
        const char* rate;
        const char* time;
    } rows[] = {{"23.976", "01:01:01+12"},   {"24", "01:01:01+12"},        {"25", "01:01:01:12"},
                {"29.97 DF", "01;01;01;12"}, {"29.97 NDF", "01:01:01:12"}, {"30", "01:01:01:12"},
                {"59.94 DF", "01;01;01#12"}, {"59.94 NDF", "01:01:01#12"}, {"60", "01:01:01#12"},
                {"50", "01:01:01;12"}};
    for (const auto& row : rows)
        EXPECT_EQ(QYExporter::smokeTimeStringFromTimeInterval(row.rate, 3661.48), row.time)
            << row.rate;
}

// The rate's name, the movie's whole seconds and the template reach the command-line and
// window tests' files.
TEST(SmokeWriter, TheSkeletonIsFilledFromTheDialog) {
    FpsGuard guard(29.97);
    const ScriptSource source("[00:00:01.00]Two⏎rows[00:00:02.15]");
    SmokeExportSettings settings;
    settings.videoRate = 29.97;
    settings.movieFilePath = "/movies/My Film.final.mov";
    settings.videoWidth = 1280;
    settings.videoHeight = 720;
    settings.videoDuration = MediaTime::make(909, 10); // 90.9 s
    settings.dropFrame = false;
    const xml::DocumentPtr smoke = xml::parseDocument(QYExporter(source).genSmokeXML(settings));
    ASSERT_TRUE(smoke);
    const xml::Element root = smoke->document_element();
    const auto at = [&root](const char* path) {
        return xml::stringValue(xml::singleElementByPath(root, path));
    };
    EXPECT_EQ(at("resolution/aspect"), "1.778");
    // 2 s + 15 frames of 29.97 = 2.505 s: frame 15 of the second again.
    EXPECT_EQ(at("video/title/start"), "00:00:01:00");
    EXPECT_EQ(at("video/title/end"), "00:00:02:15");
    EXPECT_EQ(at("video/title/text"), "Two\nrows");

    settings.dropFrame = true;
    settings.videoDuration = MediaTime::invalid();
    const xml::DocumentPtr dropFrame = xml::parseDocument(QYExporter(source).genSmokeXML(settings));
    EXPECT_EQ(
        xml::stringValue(xml::singleElementByPath(dropFrame->document_element(), "timecode/end")),
        "00;00;00;00")
        << "no movie, no length";
}

} // namespace
