#include "QYProjectFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace quillery {
namespace {

QYProjectFile recordWith(const QString& text, bool needComposition) {
    QYProjectFile file;
    file.subtitleText = text;
    file.needComposition = needComposition;
    return file;
}

QYProjectFile fullRecord() {
    QYProjectFile file = recordWith("[00:00:01.05]Hello⏎there.[00:00:03.00]\n字幕 & <b>", true);
    file.fcp7XMLString = "<xmeml version=\"5\"><sequence/></xmeml>";
    file.fcpxXMLString = "<fcpxml version=\"1.8\"/>";
    file.moviePath = "/films/Épisode 1.mov";
    file.onlyAssembleAudio = true;
    file.fcp7MovieMainTrackXMLString = "<track><clipitem id=\"a\"/></track>";
    file.fcp7MovieSecondTrackXMLString = "<track><enabled>TRUE</enabled></track>";
    return file;
}

auto fieldsOf(const QYProjectFile& f) {
    return std::tuple(f.fcp7XMLString, f.fcpxXMLString, f.moviePath, f.subtitleText,
                      f.needComposition, f.onlyAssembleAudio, f.fcp7MovieMainTrackXMLString,
                      f.fcp7MovieSecondTrackXMLString);
}

// The root dictionary's entries as "key=element", sorted, read with a plain XML reader so
// the file format is checked apart from our own reader.
QStringList writtenKeys(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QStringList entries;
    QString key;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"key")
            key = xml.readElementText();
        else if (!key.isEmpty())
            entries.append(std::exchange(key, QString()) + u'=' + xml.name().toString());
    }
    entries.sort();
    return entries;
}

class ProjectFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    const QString path = dir.filePath("project.qyb");
};

TEST_F(ProjectFileTest, SavesSetKeysOnlyAndReadsThemBack) {
    ASSERT_TRUE(fullRecord().writeToUrl(path));
    EXPECT_EQ(
        writtenKeys(path),
        (QStringList{"fcp7MovieMainTrackXMLString=string", "fcp7MovieSecondTrackXMLString=string",
                     "fcpxxml=string", "movie=string", "needComposition=true",
                     "onlyAssembleAudio=true", "text=string", "xml=string"}));
    EXPECT_EQ(fieldsOf(QYProjectFile::initWithFilePath(path)), fieldsOf(fullRecord()));

    // Nothing loaded: only the text and the two flags.
    ASSERT_TRUE(recordWith("[00:00:01.00]One[00:00:02.00]", false).writeToUrl(path));
    EXPECT_EQ(writtenKeys(path),
              (QStringList{"needComposition=false", "onlyAssembleAudio=false", "text=string"}));
}

struct ReadCase {
    const char* name;
    QByteArray content; // null: no file at all
    QYProjectFile expected;
};

class ProjectFileReading : public ProjectFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ProjectFileReading, FallsBackToDefaults) {
    if (!GetParam().content.isNull()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    EXPECT_EQ(fieldsOf(QYProjectFile::initWithFilePath(path)), fieldsOf(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileReading,
    testing::Values(
        ReadCase{"Missing", QByteArray(), QYProjectFile()},
        ReadCase{"NotAPlist", "[00:00:01.00]Just script text[00:00:02.00]\n", QYProjectFile()},
        ReadCase{"RootIsAnArray", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>",
                 QYProjectFile()},
        // Texts read a wrong type as empty; flags take a number or a text by its truth.
        ReadCase{"WrongTypes",
                 "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                 "<key>xml</key><integer>7</integer><key>fcpxxml</key><dict/>"
                 "<key>movie</key><true/><key>text</key><array><string>a</string></array>"
                 "<key>needComposition</key><string>YES</string>"
                 "<key>onlyAssembleAudio</key><integer>0</integer>"
                 "<key>fcp7MovieMainTrackXMLString</key><real>1.5</real>"
                 "<key>fcp7MovieSecondTrackXMLString</key><date>2020-01-01T00:00:00Z</date>"
                 "<key>unknown</key><string>ignored</string></dict></plist>",
                 recordWith(QString(), true)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillery
