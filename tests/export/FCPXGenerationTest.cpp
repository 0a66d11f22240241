#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "QYExporter.h"
#include "QYFCPXXMLParser.h"
#include "ScriptSource.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QDateTime kNow(QDate(2024, 2, 3), QTime(4, 5, 6));

struct Generated {
    FCPXProjectReading project;
    QString xml;
    xml::DocumentPtr document;
};

// Reads the project as the import does, then writes it with the script as its subtitles.
Generated generate(const QString& projectXml, const QString& script, bool empty = false) {
    Generated result;
    result.project = QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(projectXml);
    EXPECT_EQ(result.project.status, FCPXProjectReading::Status::Ok);
    const ScriptSource source(
        script, {result.project.frameDurationNumerator, result.project.frameDurationDenominator});
    const QYExporter exporter(source, [] { return kNow; });
    const FCPXProjectReading& p = result.project;
    result.xml = empty ? exporter.genEmptyFCPXXml(*p.document, p.title(), p.seqFormat, {})
                       : exporter.genFCPXXml(*p.document, p.title(), p.seqFormat, {});
    result.document = xml::parseDocument(result.xml);
    return result;
}

xml::Element storylineOf(const Generated& generated) {
    return generated.document->document_element().select_node("//spine[@lane and title]").node();
}

// A clip of 100 s at the start of the timeline holding one title connected to it.
QString clipWithTitle(const QString& title = fcpxTitle("1s", "2s", "Template")) {
    return "<clip name=\"A\" offset=\"0s\" duration=\"100s\"><video ref=\"r2\" offset=\"0s\" "
           "start=\"0s\" duration=\"100s\"/>" +
           title + "</clip>";
}

QStringList childNames(const xml::Element& parent) {
    QStringList names;
    for (const xml::Element& child : xml::childElements(parent))
        names << QString::fromUtf8(child.name());
    return names;
}

QString validate(const QString& xml, const QString& dtd) {
    QTemporaryDir dir;
    const QString path = dir.filePath("generated.fcpxml");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml.toUtf8());
    file.close();
    QProcess xmllint;
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start("xmllint", {"--noout", "--nonet", "--dtdvalid",
                              QUILLERY_TEST_DATA_DIR "/fcpxml-dtd/" + dtd, path});
    if (!xmllint.waitForFinished(30000))
        return "xmllint did not run; scripts/install-deps.sh installs it";
    return xmllint.exitCode() == 0 ? QString() : QString::fromUtf8(xmllint.readAll());
}

TEST(FCPXGeneration, RationalTimeTextsWithoutADenominator) {
    EXPECT_EQ(QYExporter::parseFCPXFormatTime("5/0s"), 0);
    EXPECT_EQ(QYExporter::splitFCPXFormatTime(QString()), (std::pair<QString, QString>{"0", "0"}));
}

// The storyline and each of its items as "name offset duration style"; every time is a
// whole number of ticks of one timebase, and gaps sit between subtitles that do not touch.
TEST(FCPXGeneration, StorylineTimesShareTheSequenceTimebase) {
    FpsGuard guard(30);
    const struct {
        const char* name;
        const char* frameDuration;
        const char* sequenceDuration;
        QString script;
        const char* layout;
    } rows[] = {
        // Whole seconds: lcm(1, 2500) = 2500; [00:00:01.05] is 5 x 100 + 2500 = 3000 ticks.
        {"25 fps, whole seconds", "100/2500s", "3600s", "[00:00:01.05]A[00:00:03.00]",
         "spine 3000/2500s; title - 4500/2500s quillery_ts1"},
        // The sequence counts in 1/30000 s: one second is 30030 ticks of drop-frame timecode.
        {"29.97 over 30000", "1001/30000s", "36036/30000s", "[00:00:01.00]A[00:00:02.00]",
         "spine 30030/30000s; title - 30030/30000s quillery_ts1"},
        {"a four-second pause", "100/2500s", "3600s",
         "[00:00:01.00]A[00:00:02.00]\n[00:00:05.00]B[00:00:06.00]",
         "spine 2500/2500s; title - 2500/2500s quillery_ts1; gap 2500/2500s 7500/2500s; "
         "title 10000/2500s 2500/2500s quillery_ts2"},
        // One tick per frame: B starts one tick after A ends.
        {"one tick apart", "1/25s", "3600s",
         "[00:00:01.00]A[00:00:01.01]\n[00:00:01.02]B[00:00:01.03]",
         "spine 25/25s; title - 1/25s quillery_ts1; title 1/25s 1/25s quillery_ts2"},
        // B ends before it starts: left out, and C keeps its own number.
        {"a reversed subtitle", "100/2500s", "3600s",
         "[00:00:01.00]A[00:00:02.00]\n[00:00:05.00]B[00:00:03.00]\n[00:00:06.00]C[00:00:07.00]",
         "spine 2500/2500s; title - 2500/2500s quillery_ts1; gap 2500/2500s 10000/2500s; "
         "title 12500/2500s 2500/2500s quillery_ts3"},
    };
    for (const auto& row : rows) {
        const Generated generated = generate(
            fcpxProject(clipWithTitle(), row.frameDuration,
                        QStringLiteral("duration=\"%1\" tcStart=\"0s\"").arg(row.sequenceDuration)),
            row.script);
        const xml::Element storyline = storylineOf(generated);
        QStringList layout{"spine " + xml::stringValueOfAttribute("offset", storyline)};
        for (const xml::Element& child : xml::childElements(storyline)) {
            const QString offset = xml::stringValueOfAttribute("offset", child);
            QString item = QString::fromUtf8(child.name()) + u' ' +
                           (offset.isNull() ? QStringLiteral("-") : offset) + u' ' +
                           xml::stringValueOfAttribute("duration", child);
            if (const xml::Element style = child.select_node("text/text-style").node())
                item += u' ' + xml::stringValueOfAttribute("ref", style);
            layout << item;
        }
        EXPECT_EQ(layout.join("; "), row.layout) << row.name;
    }
}

TEST(FCPXGeneration, RowsFillTheTemplatesTexts) {
    FpsGuard guard(30);
    const QString twoTexts =
        "<title ref=\"r2\" offset=\"1s\" duration=\"2s\"><text><text-style ref=\"a\">1</text-style>"
        "</text><text><text-style ref=\"b\">2</text-style></text><text-style-def id=\"a\">"
        "<text-style/></text-style-def>%1</title>";
    const QString oneText =
        "<title ref=\"r2\" offset=\"1s\" duration=\"2s\"><text><text-style ref=\"a\">1</text-style>"
        "<text-style ref=\"b\">2</text-style></text><text-style-def id=\"a\"><text-style/>"
        "</text-style-def>%1</title>";
    const QString secondDefinition = "<text-style-def id=\"b\"><text-style/></text-style-def>";
    const QString noStyle =
        "<title ref=\"r2\" offset=\"1s\" duration=\"2s\"><text>t</text></title>";
    const struct {
        const char* name;
        QString title;
        const char* text;
        QString result;
    } rows[] = {
        {"two texts, two rows", twoTexts.arg(""), "Up⏎Down",
         "quillery_ts1_1:Up quillery_ts1_1:Down"},
        {"two texts, two styles", twoTexts.arg(secondDefinition), "Up⏎Down",
         "quillery_ts1_1:Up quillery_ts1_2:Down"},
        {"one text, one style", oneText.arg(""), "Up⏎Down", "quillery_ts1:Up\nDown b:2"},
        {"one text, two styles", oneText.arg(secondDefinition), "Up⏎Down",
         "quillery_ts1:Up\n quillery_ts1_2:Down"},
        {"no styled text", noStyle, "Up⏎Down", "Up\nDown"},
    };
    for (const auto& row : rows) {
        const Generated generated = generate(
            fcpxProject(clipWithTitle(row.title)),
            QStringLiteral("[00:00:01.00]%1[00:00:02.00]").arg(QString::fromUtf8(row.text)));
        const xml::Element title = storylineOf(generated).child("title");
        QStringList parts;
        for (const xml::Element& style : xml::allElementsForName(title, "text-style")) {
            if (std::strcmp(style.parent().name(), "text") == 0)
                parts << xml::stringValueOfAttribute("ref", style) + u':' + xml::stringValue(style);
        }
        if (parts.isEmpty())
            parts << xml::contentStringValueByElementName(title, "text");
        EXPECT_EQ(parts.join(u' '), row.result) << row.name;
        EXPECT_TRUE(xml::stringValueOfAttribute("lane", title).isNull()) << row.name;
    }
}

TEST(FCPXGeneration, EachKindOfAnchorHoldsTheStorylineInItsPlace) {
    FpsGuard guard(30);
    const struct {
        const char* anchor;
        const char* children; // without "spine" when the storyline has no place there
    } rows[] = {
        {"<clip offset='0s' duration='10s'><marker/><video ref='r2' duration='10s'/>"
         "<clip duration='1s'/></clip>",
         "marker spine video clip"},
        {"<clip offset='0s' duration='10s'><marker/></clip>", "marker"},
        {"<title ref='r2' offset='0s' duration='10s'><text/><text-style-def id='q'/><marker/>"
         "</title>",
         "text text-style-def spine marker"},
        {"<ref-clip ref='r2' offset='0s' duration='10s'><clip duration='1s'/>"
         "<clip duration='1s'/><filter-video ref='r2'/></ref-clip>",
         "clip clip spine filter-video"},
        {"<gap offset='0s' duration='10s'><marker/></gap>", "spine marker"},
    };
    for (const auto& row : rows) {
        // The first element skips transitions; the project's own title sits after the anchor.
        const QString spine =
            "<transition offset='0s' duration='1s'/>" + QString(row.anchor) +
            clipWithTitle(fcpxTitle("0s", "1s", "x"))
                .replace("offset=\"0s\" duration=\"100s\">", "offset=\"10s\" duration=\"100s\">");
        const Generated generated = generate(fcpxProject(spine), "[00:00:02.00]A[00:00:03.00]");
        const xml::Element mainSpine =
            generated.document->document_element().select_node("//sequence/spine").node();
        EXPECT_EQ(childNames(xml::childElements(mainSpine)[1]).join(u' '), row.children)
            << row.anchor;
    }
}

TEST(FCPXGeneration, OldSubtitlesGoByTheReadersThresholds) {
    FpsGuard guard(30);
    const QString clip = "offset=\"0s\" start=\"0s\" duration=\"100s\"";
    // A storyline of ten is the old subtitles; the one of nine beside it stays.
    const Generated storylines =
        generate(fcpxProject(fcpxStorylineClip(10, clip, "0s") +
                             fcpxStorylineClip(9, "offset=\"100s\" duration=\"100s\"", "0s")),
                 "[00:05:00.00]New[00:05:01.00]");
    EXPECT_EQ(storylines.document->document_element().select_nodes("//spine[@lane]").size(), 1u);
    EXPECT_EQ(storylines.document->document_element().select_nodes("//title").size(), 9u)
        << "nine kept; nothing runs at five minutes, so no new storyline is added";

    const auto attached = [](int clips) {
        QString spine;
        for (int i = 0; i < clips; ++i)
            spine += clipWithTitle().replace("offset=\"0s\"",
                                             QStringLiteral("offset=\"%1s\"").arg(100 * i));
        return fcpxProject(spine);
    };
    const Generated seven = generate(attached(7), "[00:00:01.00]A[00:00:02.00]");
    EXPECT_EQ(seven.document->document_element().select_nodes("//clip/title").size(), 7u);
    const Generated five = generate(attached(5), "[00:00:01.00]A[00:00:02.00]");
    EXPECT_EQ(five.document->document_element().select_nodes("//clip/title").size(), 0u);
}

TEST(FCPXGeneration, TheEmptyProjectCarriesOnlyTheTitles) {
    FpsGuard guard(30);
    // The last subtitle ends at 3.04 s, past the sequence's 3.5 s read in whole seconds: it
    // grows (or shrinks) to 91.2 thirtieths.
    const Generated generated =
        generate(fcpxProject(clipWithTitle(), "100/2500s", "duration=\"3.5s\" tcStart=\"0s\""),
                 "[00:00:01.00]A[00:00:03.01]", true);
    const xml::Element sequence =
        generated.document->document_element().select_node("//sequence").node();
    EXPECT_EQ(xml::stringValueOfAttribute("duration", sequence), "91/30s");
    const xml::Element mainSpine = sequence.child("spine");
    EXPECT_EQ(childNames(mainSpine), QStringList{"gap"});
    const xml::Element gap = mainSpine.child("gap");
    EXPECT_EQ(xml::stringValueOfAttribute("duration", gap), "91/30s");
    // Thirtieths and 1/2500 s meet at lcm(30, 2500) = 7500: three ticks a tick.
    EXPECT_EQ(xml::elementString(gap.child("spine")).section(u'\n', 0, 1),
              "<spine lane=\"2\" offset=\"7500/7500s\" format=\"r1\">\n"
              "    <title ref=\"r2\" name=\"A\" start=\"3600s\" duration=\"15300/7500s\">");

    // 3 s is long enough for 2.48 s: kept as written.
    EXPECT_TRUE(
        generate(fcpxProject(clipWithTitle(), "100/2500s", "duration=\"3.5s\" tcStart=\"0s\""),
                 "[00:00:01.00]A[00:00:02.12]", true)
            .xml.contains("<sequence format=\"r1\" duration=\"3.5s\""));
}

TEST(FCPXGeneration, OldProjectsAreRenamedWithTheDate) {
    FpsGuard guard(30);
    const QString old = "<fcpxml version=\"1.3\"><project name=\"Film from Quillery at "
                        "2020-01-01 00-00-00\"><resources><format id=\"r1\" "
                        "frameDuration=\"100/2500s\"/><effect id=\"r2\" uid=\"u\"/></resources>"
                        "<sequence format=\"r1\" duration=\"100s\"><spine>" +
                        clipWithTitle() + "</spine></sequence></project></fcpxml>";
    const Generated renamed = generate(old, "[00:00:01.00]A[00:00:02.00]");
    EXPECT_EQ(
        xml::stringValueOfAttribute("name", renamed.document->document_element().child("project")),
        "Film from Quillery at 2024-02-03 04-05-06");
}

TEST(FCPXGeneration, EveryVersionWithADTDStaysValid) {
    FpsGuard guard(30);
    const QString script = "[00:00:01.00]One[00:00:02.00]\n[00:00:04.00]Two⏎rows[00:00:05.00]\n"
                           "[00:00:05.00]Three & <four>[00:00:06.12]";
    for (int minor = 3; minor <= 11; ++minor) {
        const QString version = QStringLiteral("1.%1").arg(minor);
        const QString dtd = QStringLiteral("FCPXMLv1_%1.dtd").arg(minor);
        QString project =
            fcpxProject(clipWithTitle(), "100/2500s", "duration=\"100s\" tcStart=\"0s\"", version);
        if (minor == 3)
            project
                .replace("<library><event name=\"E\"><project name=\"P\">", "<project name=\"P\">")
                .replace("</project></event></library>", "</project>")
                .replace(QRegularExpression("<fcpxml version=\"1.3\">(<resources>.*</resources>)"
                                            "<project name=\"P\">"),
                         "<fcpxml version=\"1.3\"><project name=\"P\">\\1");
        ASSERT_EQ(validate(project, dtd), "")
            << "the input must be valid " << version.toStdString();
        EXPECT_EQ(validate(generate(project, script).xml, dtd), "") << version.toStdString();
        EXPECT_EQ(validate(generate(project, script, true).xml, dtd), "")
            << "empty project " << version.toStdString();
    }
}

// Import a real project, export it with its own subtitles plus enough more to make a
// storyline the reader takes back (ten or more), import the result: the same script.
TEST(FCPXGeneration, RealProjectsRoundTrip) {
    const QYTimeUtility& utility = QYTimeUtility::sharedInstance();
    for (const char* file : {"dawfilekit-TitlesRoles.v1_11", "openfcpxmlkit-HiddenMarkers.v1_14"}) {
        FpsGuard guard(30);
        const QString original = testDataFile(QStringLiteral("fcpxml/%1.fcpxml").arg(file));
        QString script =
            QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(original).scriptText;
        ASSERT_FALSE(script.isEmpty()) << file;
        const double end = utility.timeIntervalFromString(script.section(u'\n', 0, 0).right(13));
        for (int i = 0; i < 11; ++i)
            script += utility.timeStringFromTimeInterval(end + 1 + 2 * i) +
                      QStringLiteral("Line %1").arg(i) +
                      utility.timeStringFromTimeInterval(end + 2 + 2 * i) + u'\n';
        const Generated generated = generate(original, script);
        EXPECT_EQ(QYFCPXXMLParser::shareInstance()
                      .findSubtitleTemplateFromFCPXXML(generated.xml)
                      .scriptText,
                  script)
            << file;

        // Apart from the old subtitles and the new storyline, nothing changes.
        const xml::DocumentPtr before = xml::parseDocument(original);
        for (const pugi::xpath_node& title :
             before->document_element().select_nodes("//spine/*/title"))
            title.node().parent().remove_child(title.node());
        const xml::Element storyline = storylineOf(generated);
        storyline.parent().remove_child(storyline);
        EXPECT_EQ(xml::prettyString(*generated.document), xml::prettyString(*before)) << file;
    }
}

} // namespace
