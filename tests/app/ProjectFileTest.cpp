#include "QYProjectFile.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <utility>

namespace quillery {
namespace {

struct RoundTripCase {
    const char* name;
    QYProjectFile file;
};

QYProjectFile fullRecord() {
    QYProjectFile file;
    file.fcp7XMLString = QStringLiteral("<xmeml version=\"5\"><sequence/></xmeml>");
    file.fcpxXMLString = QStringLiteral("<fcpxml version=\"1.8\"/>");
    file.moviePath = QStringLiteral("/films/Épisode 1.mov");
    file.subtitleText = QStringLiteral("[00:00:01.05]Hello⏎there.[00:00:03.00]\n字幕 & <b>");
    file.needComposition = true;
    file.onlyAssembleAudio = true;
    file.fcp7MovieMainTrackXMLString = QStringLiteral("<track><clipitem id=\"a\"/></track>");
    file.fcp7MovieSecondTrackXMLString = QStringLiteral("<track><enabled>TRUE</enabled></track>");
    return file;
}

QYProjectFile textOnlyRecord() {
    QYProjectFile file;
    file.subtitleText = QStringLiteral("[00:00:01.00]One[00:00:02.00]");
    return file;
}

QYProjectFile flagsOnlyRecord() {
    QYProjectFile file;
    file.onlyAssembleAudio = true;
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

class ProjectFileRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ProjectFileRoundTrip, ReadsBackWhatItWrote) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.qyb"));
    ASSERT_TRUE(GetParam().file.writeToUrl(path));
    expectSameRecord(QYProjectFile::initWithFilePath(path), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Records, ProjectFileRoundTrip,
                         testing::Values(RoundTripCase{"Full", fullRecord()},
                                         RoundTripCase{"TextOnly", textOnlyRecord()},
                                         RoundTripCase{"FlagsOnly", flagsOnlyRecord()},
                                         RoundTripCase{"Empty", QYProjectFile()}),
                         [](const auto& info) { return std::string(info.param.name); });

// The keys of the root dictionary and the element each value is written as, read with a
// plain XML reader so the file format is checked apart from our own reader.
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

TEST(ProjectFileFormat, WritesOnlyTextAndFlagsWhenNothingElseIsSet) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.qyb"));
    ASSERT_TRUE(textOnlyRecord().writeToUrl(path));
    const QMap<QString, QString> expected{
        {"text", "string"}, {"needComposition", "false"}, {"onlyAssembleAudio", "false"}};
    EXPECT_EQ(writtenKeys(path), expected);
}

TEST(ProjectFileFormat, WritesEveryKeyUnderItsOwnName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.qyb"));
    ASSERT_TRUE(fullRecord().writeToUrl(path));
    const QMap<QString, QString> expected{{"xml", "string"},
                                          {"fcpxxml", "string"},
                                          {"movie", "string"},
                                          {"text", "string"},
                                          {"needComposition", "true"},
                                          {"onlyAssembleAudio", "true"},
                                          {"fcp7MovieMainTrackXMLString", "string"},
                                          {"fcp7MovieSecondTrackXMLString", "string"}};
    EXPECT_EQ(writtenKeys(path), expected);
}

TEST(ProjectFileFormat, ReplacesAnEarlierFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.qyb"));
    ASSERT_TRUE(fullRecord().writeToUrl(path));
    ASSERT_TRUE(textOnlyRecord().writeToUrl(path));
    expectSameRecord(QYProjectFile::initWithFilePath(path), textOnlyRecord());
}

TEST(ProjectFileFormat, ReportsAFolderThatDoesNotExist) {
    QTemporaryDir dir;
    EXPECT_FALSE(textOnlyRecord().writeToUrl(dir.filePath(QStringLiteral("none/p.qyb"))));
}

struct ReadCase {
    const char* name;
    QByteArray content;
    QYProjectFile expected;
};

QByteArray plistWithDictionary(const QByteArray& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>" +
           body + "</dict></plist>\n";
}

QYProjectFile handWrittenRecord() {
    QYProjectFile file;
    file.fcp7XMLString = QStringLiteral("<xmeml/>");
    file.fcpxXMLString = QStringLiteral("<fcpxml/>");
    file.moviePath = QStringLiteral("/m/a.mov");
    file.subtitleText = QStringLiteral("Line");
    file.needComposition = true;
    file.fcp7MovieMainTrackXMLString = QStringLiteral("<track/>");
    file.fcp7MovieSecondTrackXMLString = QStringLiteral("<track>2</track>");
    return file;
}

// Texts read a wrong type as empty; flags take a number or a text by its truth.
QYProjectFile wrongTypesRecord() {
    QYProjectFile file;
    file.needComposition = true;
    return file;
}

class ProjectFileReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ProjectFileReading, FallsBackToDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("read.qyb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().content);
    file.close();
    expectSameRecord(QYProjectFile::initWithFilePath(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileReading,
    testing::Values(
        ReadCase{"NotAPlist", "[00:00:01.00]Just script text[00:00:02.00]\n", QYProjectFile()},
        ReadCase{"EmptyFile", "", QYProjectFile()},
        ReadCase{"TruncatedPlist",
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

TEST(ProjectFileReadingMissing, AMissingFileGivesDefaults) {
    QTemporaryDir dir;
    expectSameRecord(QYProjectFile::initWithFilePath(dir.filePath(QStringLiteral("gone.qyb"))),
                     QYProjectFile());
}

} // namespace
} // namespace quillery
