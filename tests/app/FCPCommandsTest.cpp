#include "FCPTestDocuments.h"
#include "MainWindowFixture.h"
#include "ModalAnswers.h"
#include "QYExportSmokeWindowController.h"
#include "QYPreviewAssembler.h"
#include "QYProjectSession.h"
#include "QYTrackSelectionSheet.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace quillery;
using namespace quillery::test;

namespace {

class RecordingAssembler : public QYPreviewAssembler {
public:
    void assembleFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio) override {
        fcp7.append({movie, onlyAudio});
    }
    void assembleFCPXProject(const QString&, bool onlyAudio) override { fcpx.append(onlyAudio); }
    QList<std::pair<FCPMoviePtr, bool>> fcp7;
    QList<bool> fcpx; // whether only the sound was asked for
};

// A sequence with an empty V1, clips on V2 and the subtitle track on V3.
const QByteArray kFCP7Sequence =
    "<xmeml version=\"5\"><sequence><name>Cut</name><duration>500</duration><rate><timebase>25"
    "</timebase></rate><media><video><track/><track><clipitem id=\"c\"><start>0</start><end>50"
    "</end></clipitem></track><track><generatoritem id=\"T\"><start>25</start><end>50</end><in>0"
    "</in><effect><parameter><parameterid>str</parameterid><value>Hi</value></parameter>"
    "</effect></generatoritem></track></video></media></sequence></xmeml>";

class FCPCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        window->setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        window->setApplicationLookup([this](const QString& id) { return installed.contains(id); });
        window->setClock([] { return QDateTime(QDate(2024, 2, 3), QTime(4, 5, 6)); });
        window->setPreviewAssembler(&assembler);
        window->setMotionTitleLibraryFolder(dir.filePath("Titles.localized"));
    }

    QString titlesRoles() {
        return writeFile("TitlesRoles.fcpxml",
                         testDataFile("fcpxml/dawfilekit-TitlesRoles.v1_11.fcpxml").toUtf8());
    }

    RecordingAssembler assembler;
    QList<QUrl> opened;
    QStringList installed;
};

TEST_F(FCPCommandsTest, FCPXImportSaysWhyAProjectCannotBeUsed) {
    window->replaceTextInTextView("keep me");
    const struct {
        const char* name;
        QString xml;
        QString title; // empty: nothing is said
        QString text;
    } rows[] = {
        {"not XML", "garbage", "error", "format error"},
        {"no title", fcpxProject(""), "Warning", "Please make a Title on the timeline"},
        {"no slash in the frame duration", fcpxProject("", "25s"), "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        presenter.alerts.clear();
        window->dragFCPXFile(writeFile("bad.fcpxml", row.xml.toUtf8()));
        EXPECT_EQ(editorText(), "keep me");
        EXPECT_EQ(presenter.alerts.size(), row.title.isEmpty() ? 0 : 1);
        EXPECT_EQ(presenter.alerts.value(0).title, row.title);
        EXPECT_EQ(presenter.alerts.value(0).text.left(row.text.size()), row.text);
    }
    window->dragFCPXFile(dir.filePath("missing.fcpxml"));
    EXPECT_TRUE(presenter.alerts.last().text.startsWith("Can not read the text file"));
}

TEST_F(FCPCommandsTest, AFinalCutProXProjectIsImportedExportedAndSent) {
    window->saveFinalCutProXXML();
    EXPECT_TRUE(presenter.alerts.value(0).text.startsWith(
        "You should import Final Cut Pro X XML file before export."));

    window->replaceTextInTextView("old");
    presenter.alertAnswers << 1;
    presenter.openAnswers << writeFile("My film from Quillery 20230101120000.fcpxml",
                                       readFile(titlesRoles()));
    settings.isAutoAssembleVideoAndAudio = true;
    clickInModal([](QWidget* sheet) {
        return static_cast<QYTrackSelectionSheet*>(sheet)->onlyAudioButton();
    });
    window->loadFinalCutProXXML();
    EXPECT_EQ(editorText(), "[00:00:17.00]Title[00:00:27.01]\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !assembler.fcpx.isEmpty(); }));
    EXPECT_EQ(assembler.fcpx, QList<bool>{true}) << "only the sound, as the sheet asked";

    window->replaceTextInTextView("[00:00:05.00]Late[00:00:03.00]");
    window->saveFinalCutProXXML();
    EXPECT_TRUE(presenter.alerts.last().text.startsWith("Cannot send to Final Cut Pro cause of the "
                                                        "timecodes confusion."));

    // The project and its empty twin; the old stamp in the name gives way to today's.
    window->replaceTextInTextView("[00:00:01.00]One[00:00:02.00]");
    QDir(dir.path()).mkdir("out");
    presenter.saveAnswers << dir.filePath("out/Final") << dir.filePath("sent.fcpxml");
    window->saveFinalCutProXXML();
    const QString name = "My film from Quillery 20240203040506.fcpxml";
    EXPECT_EQ(presenter.saveRequests.value(0).proposedName, name);
    EXPECT_TRUE(readText("out/Final.fcpxml").contains("name=\"One\""));
    EXPECT_TRUE(readText("out/Empty project with just subtitles-Final.fcpxml")
                    .contains("<gap offset=\"0s\" name=\"gap\""));

    // Sent without Final Cut Pro X, the project is saved; with it, it is opened there.
    window->sendToFCPX();
    EXPECT_TRUE(QFile::exists(dir.filePath("sent.fcpxml")));
    installed << "com.apple.FinalCut";
    window->sendToFCPX();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }));
    ASSERT_EQ(opened.size(), 1) << "opened once, for the send only";
    const QFileInfo sent(opened[0].toLocalFile());
    EXPECT_EQ(sent.fileName(), name);
    EXPECT_TRUE(QFile::exists(sent.path() + "/Empty project with just subtitles-" + name));
}

TEST_F(FCPCommandsTest, FCP7ImportBuildsTheTrackModel) {
    window->dragXmlFile(writeFile("cut.xml", kFCP7Sequence));
    EXPECT_EQ(editorText(), "[00:00:01.00]Hi[00:00:02.00]\n");
    ASSERT_EQ(assembler.fcp7.size(), 1) << "the default tracks are assembled at once";
    const FCPMoviePtr movie = assembler.fcp7[0].first;
    EXPECT_EQ(movie->mainVideoTrack, movie->videoTrackArray[1]) << "the first track with clips";
    EXPECT_FALSE(window->projectNeedComposition());

    settings.isAutoAssembleVideoAndAudio = true;
    clickInModal([](QWidget* modal) {
        auto* sheet = static_cast<QYTrackSelectionSheet*>(modal);
        EXPECT_EQ(sheet->mainTrackList()->currentText(), "V2");
        EXPECT_EQ(sheet->secondaryTrackList()->currentText(), "None");
        return sheet->assembleButton();
    });
    window->dragXmlFile(writeFile("cut.xml", kFCP7Sequence));
    ASSERT_EQ(assembler.fcp7.size(), 2);
    EXPECT_FALSE(assembler.fcp7[1].second);
    EXPECT_TRUE(window->projectNeedComposition());
}

TEST_F(FCPCommandsTest, SmokeDialogAsksForDropFrameOnlyWhereItMatters) {
    window->replaceTextInTextView("[00:00:01.00]Hi[00:00:02.00]");
    presenter.saveAnswers << dir.filePath("smoke");
    clickInModal([](QWidget* modal) {
        auto* dialog = static_cast<QYExportSmokeWindowController*>(modal);
        EXPECT_FALSE(
            dialog->dropFrameSegment(QYExportSmokeWindowController::DropFrame)->isEnabled());
        dialog->templatePathField()->setText("/fonts/a.ttg");
        return dialog->saveButton();
    });
    window->saveSmokeXmlFile();
    const QString smoke = readText("smoke.xml");
    EXPECT_TRUE(smoke.contains("<rate>25</rate>"));
    EXPECT_TRUE(smoke.contains("<setup>/fonts/a.ttg</setup>"));

    QYTimeUtility::sharedInstance().setFPS(29.97);
    clickInModal([](QWidget* modal) {
        auto* dialog = static_cast<QYExportSmokeWindowController*>(modal);
        EXPECT_EQ(dialog->templatePathField()->text(), "/fonts/a.ttg") << "remembered";
        EXPECT_TRUE(
            dialog->dropFrameSegment(QYExportSmokeWindowController::NonDropFrame)->isEnabled());
        return dialog->cancelButton();
    });
    window->saveSmokeXmlFile();
    EXPECT_EQ(presenter.saveRequests.size(), 1) << "cancelled";
}

TEST_F(FCPCommandsTest, ChangeTitleTemplateSwapsTheMotionTitle) {
    window->changeTitleTemplate();
    EXPECT_EQ(presenter.alertTexts(), QStringList{"no custom font found."})
        << "no library, no titles";

    QDir(dir.path()).mkpath("Titles.localized/Custom");
    writeFile("Titles.localized/Custom/Lower Third.moti", "");
    writeFile("Titles.localized/Custom/notes.txt", "");
    presenter.openAnswers << titlesRoles();
    presenter.saveAnswers << dir.filePath("changed");
    clickInModal([](QWidget* modal) {
        auto* dialog = static_cast<QYChangeTitleTemplateFontWindowController*>(modal);
        EXPECT_EQ(dialog->templateList()->count(), 1) << "only motion titles are listed";
        EXPECT_FALSE(dialog->saveButton()->isEnabled()) << "no project chosen yet";
        dialog->chooseTitleTemplate();
        return dialog->saveButton();
    });
    window->changeTitleTemplate();
    EXPECT_EQ(presenter.saveRequests.last().proposedName, "TitlesRoles_by_Quillery.fcpxml");
    EXPECT_TRUE(readText("changed.fcpxml")
                    .contains("<effect id=\"r2\" name=\"Lower Third\" "
                              "uid=\"~/Titles.localized/Custom/Lower Third.moti\" />"));
}

TEST_F(FCPCommandsTest, FontSettingsOfTheFirstTitleGoToAllOthers) {
    const QString model = "<title ref=\"r2\" offset=\"1s\" duration=\"1s\"><param name=\"P\" "
                          "value=\"1\"/><param name=\"Q\" value=\"2\"/><text><text-style "
                          "ref=\"m1\">a</text-style><text-style ref=\"m2\">b</text-style></text>"
                          "</title>";
    const QString other = "<title ref=\"r2\" offset=\"5s\" duration=\"1s\"><param name=\"Old\"/>"
                          "<text><text-style ref=\"o1\">c</text-style></text><note/></title>";
    presenter.alertAnswers << 0 << 1;
    window->didPressBatchChangeFCPXFontMenuItem();
    EXPECT_TRUE(presenter.openRequests.isEmpty()) << "cancelled at the question";
    presenter.openAnswers << writeFile(
        "project.fcpxml",
        fcpxProject("<clip offset=\"0s\" duration=\"10s\">" + model + other + "</clip>").toUtf8());
    window->didPressBatchChangeFCPXFontMenuItem();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(dir.filePath("project_By Quillery.fcpxml")); }));
    const xml::DocumentPtr changed = xml::parseDocument(readText("project_By Quillery.fcpxml"));
    ASSERT_TRUE(changed);
    const xml::Element second = changed->document_element().select_node("(//title)[2]").node();
    EXPECT_EQ(xml::elementString(second), "<title ref=\"r2\" offset=\"5s\" duration=\"1s\">\n"
                                          "    <param name=\"P\" value=\"1\" />\n"
                                          "    <param name=\"Q\" value=\"2\" />\n"
                                          "    <text>\n"
                                          "        <text-style ref=\"m1\">c</text-style>\n"
                                          "    </text>\n"
                                          "    <note />\n"
                                          "</title>\n");
}

} // namespace
