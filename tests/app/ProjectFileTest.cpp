#include "QYProjectFile.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <utility>

namespace quillery {
namespace {

QYProjectFile fullRecord() {
    QYProjectFile file;
    file.fcp7XMLString = "<xmeml version=\"5\"><sequence/></xmeml>";
    file.fcpxXMLString = "<fcpxml version=\"1.8\"/>";
    file.moviePath = "/films/Épisode 1.mov";
    file.subtitleText = "[00:00:01.05]Hello⏎there.[00:00:03.00]\n字幕 & <b>";
    file.needComposition = true;
    file.onlyAssembleAudio = true;
    file.fcp7MovieMainTrackXMLString = "<track><clipitem id=\"a\"/></track>";
    file.fcp7MovieSecondTrackXMLString = "<track><enabled>TRUE</enabled></track>";
    return file;
}

QYProjectFile textOnlyRecord() {
    QYProjectFile file;
    file.subtitleText = "[00:00:01.00]One[00:00:02.00]";
    return file;
}

void expectSameRecord(const QYProjectFile& actual, const QYProjectFile& expected) {
    EXPECT_EQ(actual.fcp7XMLString, expected.fcp7XMLString);
    EXPECT_EQ(actual.fcpxXMLString, expected.fcpxXMLString);
    EXPECT_EQ(actual.moviePath, expected.moviePath);
    EXPECT_EQ(actual.subtitleText, expected.subtitleText);
    EXPECT_EQ(actual.needComposition, expected.needComposition);
    EXPECT_EQ(actual.onlyAssembleAudio, expected.onlyAssembleAudio);
    EXPECT_EQ(actual.fcp7MovieMainTrackXMLString, expected.fcp7MovieMainTrackXMLString);
    EXPECT_EQ(actual.fcp7MovieSecondTrackXMLString, expected.fcp7MovieSecondTrackXMLString);
}

// The root dictionary's keys with the element each value is written as, read with a plain
// XML reader so the file format is checked apart from our own reader.
QMap<QString, QString> writtenKeys(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QMap<QString, QString> keys;
    QString key;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"key")
            key = xml.readElementText();
        else if (!key.isEmpty())
            keys.insert(std::exchange(key, QString()), xml.name().toString());
    }
    return keys;
}

struct WriteCase {
    const char* name;
    QYProjectFile file;
    QMap<QString, QString> keys;
};

class ProjectFileWriting : public testing::TestWithParam<WriteCase> {};

TEST_P(ProjectFileWriting, WritesSetKeysAndReadsThemBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("project.qyb");
    ASSERT_TRUE(GetParam().file.writeToUrl(path));
    EXPECT_EQ(writtenKeys(path), GetParam().keys);
    expectSameRecord(QYProjectFile::initWithFilePath(path), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Records, ProjectFileWriting,
                         testing::Values(WriteCase{"Full",
                                                   fullRecord(),
                                                   {{"xml", "string"},
                                                    {"fcpxxml", "string"},
                                                    {"movie", "string"},
                                                    {"text", "string"},
                                                    {"needComposition", "true"},
                                                    {"onlyAssembleAudio", "true"},
                                                    {"fcp7MovieMainTrackXMLString", "string"},
                                                    {"fcp7MovieSecondTrackXMLString", "string"}}},
                                         WriteCase{"NothingLoaded",
                                                   textOnlyRecord(),
                                                   {{"text", "string"},
                                                    {"needComposition", "false"},
                                                    {"onlyAssembleAudio", "false"}}}),
                         [](const auto& info) { return std::string(info.param.name); });

QByteArray plistWithDictionary(const QByteArray& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\"><dict>" +
           body + "</dict></plist>\n";
}

QYProjectFile handWrittenRecord() {
    QYProjectFile file;
    file.fcp7XMLString = "<xmeml/>";
    file.fcpxXMLString = "<fcpxml/>";
    file.moviePath = "/m/a.mov";
    file.subtitleText = "Line";
    file.needComposition = true;
    file.fcp7MovieMainTrackXMLString = "<track/>";
    file.fcp7MovieSecondTrackXMLString = "<track>2</track>";
    return file;
}

// Texts read a wrong type as empty; flags take a number or a text by its truth.
QYProjectFile wrongTypesRecord() {
    QYProjectFile file;
    file.needComposition = true;
    return file;
}

struct ReadCase {
    const char* name;
    QByteArray content; // null: no file at all
    QYProjectFile expected;
};

class ProjectFileReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ProjectFileReading, FallsBackToDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath("read.qyb");
    if (!GetParam().content.isNull()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    expectSameRecord(QYProjectFile::initWithFilePath(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileReading,
    testing::Values(
        ReadCase{"Missing", QByteArray(), QYProjectFile()},
        ReadCase{"NotAPlist", "[00:00:01.00]Just script text[00:00:02.00]\n", QYProjectFile()},
        ReadCase{"Truncated",
                 plistWithDictionary("<key>text</key><string>abc</string>").chopped(20),
                 QYProjectFile()},
        ReadCase{"RootIsAnArray",
                 "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>text</string>"
                 "</array></plist>",
                 QYProjectFile()},
        ReadCase{"HandWritten",
                 plistWithDictionary(
                     "<key>xml</key><string>&lt;xmeml/&gt;</string>"
                     "<key>fcpxxml</key><string>&lt;fcpxml/&gt;</string>"
                     "<key>movie</key><string>/m/a.mov</string>"
                     "<key>text</key><string>Line</string>"
                     "<key>needComposition</key><true/>"
                     "<key>onlyAssembleAudio</key><false/>"
                     "<key>fcp7MovieMainTrackXMLString</key><string>&lt;track/&gt;</string>"
                     "<key>fcp7MovieSecondTrackXMLString</key>"
                     "<string>&lt;track&gt;2&lt;/track&gt;</string>"
                     "<key>unknown</key><string>ignored</string>"),
                 handWrittenRecord()},
        ReadCase{"WrongTypes",
                 plistWithDictionary("<key>xml</key><integer>7</integer>"
                                     "<key>fcpxxml</key><dict/>"
                                     "<key>movie</key><true/>"
                                     "<key>text</key><array><string>a</string></array>"
                                     "<key>needComposition</key><string>YES</string>"
                                     "<key>onlyAssembleAudio</key><integer>0</integer>"
                                     "<key>fcp7MovieMainTrackXMLString</key><real>1.5</real>"
                                     "<key>fcp7MovieSecondTrackXMLString</key>"
                                     "<date>2020-01-01T00:00:00Z</date>"),
                 wrongTypesRecord()}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillery
