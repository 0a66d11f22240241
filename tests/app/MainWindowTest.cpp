#include "FpsGuard.h"
#include "QYConsolidateTextWindowController.h"
#include "QYMainWindowController.h"
#include "QYProjectSession.h"
#include "QYSetting.h"
#include "QYTextView.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kWarning = "Warning";

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        settings = std::make_unique<QYSetting>(dir.filePath("settings.json"));
        window = std::make_unique<QYMainWindowController>(&presenter, settings.get());
        window->setUrlOpener([this](const QUrl& url) { opened << url; });
        window->show();
        presenter.alerts.clear();
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString editorText() const { return window->textView()->toPlainText(); }
    QStringList alertTexts() const {
        QStringList texts;
        for (const AlertRequest& alert : presenter.alerts)
            texts << alert.text;
        return texts;
    }

    FpsGuard guard{25};
    QTemporaryDir dir;
    ScriptedPresenter presenter;
    std::unique_ptr<QYSetting> settings;
    std::unique_ptr<QYMainWindowController> window;
    QList<QUrl> opened;
};

TEST_F(MainWindowTest, StartsEmptySavedAndUntitled) {
    EXPECT_EQ(editorText(), "");
    EXPECT_TRUE(window->session().isSaved());
    EXPECT_TRUE(window->windowTitle().startsWith("Untitle - Quillery "));
    EXPECT_TRUE(window->checkXML()) << "the bundled title template is loaded";
    EXPECT_TRUE(presenter.alerts.isEmpty());
}

TEST_F(MainWindowTest, DroppedFilesAreRoutedByTheirLowerCasedExtension) {
    const QString movie = writeFile("CLIP.MOV", "not really a movie");
    window->didDragFileIntoView(movie);
    EXPECT_EQ(window->movieFilePath(), movie);
    // Routed to the player, which finds no duration in it.
    ASSERT_EQ(presenter.alerts.size(), 1);
    EXPECT_EQ(presenter.alerts[0].text,
              "Quillery only support video/audio which duration is longer than 10 seconds");
    presenter.alerts.clear();

    window->didDragFileIntoView(writeFile("SCRIPT.TXT", "one\r\ntwo\tthree"));
    EXPECT_EQ(editorText(), "one\ntwothree");

    window->didDragFileIntoView(writeFile("cues.SRT", "1\n00:00:01,000 --> 00:00:02,500\nHi\n"));
    EXPECT_EQ(editorText(), "[00:00:01.00]Hi[00:00:02.13]");

    window->didDragFileIntoView(writeFile("cues.sbv", "0:00:01.000,0:00:02.000\nSbv cue\n"));
    EXPECT_EQ(editorText(), "[00:00:01.00]Sbv cue[00:00:02.00]");

    window->didDragFileIntoView(writeFile("unknown.xyz", "nothing any format reads"));
    EXPECT_EQ(editorText(), "") << "unclaimed files empty the editor";
    EXPECT_TRUE(presenter.alerts.isEmpty()) << "and nothing is reported";
}

TEST_F(MainWindowTest, ContentGuardAsksOnlyWhenTheEditorHoldsText) {
    EXPECT_TRUE(window->checkContent());
    EXPECT_TRUE(presenter.alerts.isEmpty());

    window->replaceTextInTextView("something");
    presenter.alertAnswers << 0 << 1;
    EXPECT_FALSE(window->checkContent());
    EXPECT_TRUE(window->checkContent());
    ASSERT_EQ(presenter.alerts.size(), 2);
    EXPECT_EQ(presenter.alerts[0].title, kWarning);
    EXPECT_EQ(presenter.alerts[0].buttons, (QStringList{"Cancel", "Continue"}));
}

TEST_F(MainWindowTest, SubRipImportFlowAndItsMessages) {
    window->replaceTextInTextView("keep me");
    window->loadSRTFileFromURL(writeFile("empty.srt", ""));
    window->loadSRTFileFromURL(writeFile("nocue.srt", "no cue in this file at all, sorry"));
    ASSERT_EQ(presenter.alerts.size(), 2);
    EXPECT_TRUE(presenter.alerts[0].text.startsWith("Can not read the srt file : empty.srt.\n"
                                                    "Please use TextEdit to open it and copy all "
                                                    "the  content"));
    EXPECT_TRUE(
        presenter.alerts[1].text.startsWith("Can not translate the srt file : nocue.srt.\n"));
    EXPECT_EQ(presenter.alerts[1].buttons, QStringList{"Confrim"});
    EXPECT_EQ(editorText(), "keep me");

    presenter.alerts.clear();
    window->loadSRTFileFromURL(writeFile(
        "errors.srt", "1\n00:00:05,000 --> 00:00:04,000\nBackwards\n\n2\n00:00:06,000 --> "
                      "00:00:07,000\nFine\n"));
    EXPECT_EQ(editorText(), "[00:00:05.00]Backwards[00:00:04.00]\n"
                            "[00:00:06.00]Fine[00:00:07.00]");
    QTest::qWait(700);
    ASSERT_EQ(presenter.alerts.size(), 2);
    EXPECT_TRUE(presenter.alerts[0].text.startsWith("No movie imported."));
    EXPECT_TRUE(presenter.alerts[1].text.startsWith("We found there are error time code"));
    EXPECT_EQ(window->textView()->selectedRange(), (TextRange{22, 13}));
}

TEST_F(MainWindowTest, MenuImportsAskFirstThenChooseAFile) {
    window->replaceTextInTextView("existing");
    presenter.alertAnswers << 0;
    window->loadTextFile();
    EXPECT_TRUE(presenter.openRequests.isEmpty()) << "cancelled at the question";

    presenter.alertAnswers << 1;
    presenter.openAnswers << writeFile("new.txt", "replacement");
    window->loadTextFile();
    ASSERT_EQ(presenter.openRequests.size(), 1);
    EXPECT_EQ(presenter.openRequests[0].allowedTypes, (QStringList{"txt", "doc", "rtf", "title"}));
    EXPECT_EQ(editorText(), "replacement");
}

TEST_F(MainWindowTest, BrokenWordAndRtfFilesLeaveTheEditorAlone) {
    window->replaceTextInTextView("precious");
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 131) % 251);
    window->didDragFileIntoView(writeFile("broken.doc", noise));
    window->didDragFileIntoView(writeFile("broken.rtf", "not rtf at all"));
    EXPECT_EQ(editorText(), "precious");
    ASSERT_EQ(presenter.alerts.size(), 2);
    EXPECT_EQ(presenter.alerts[0].title, "Error");
    EXPECT_EQ(presenter.alerts[1].buttons, QStringList{"OK"});

    window->didDragFileIntoView(
        writeFile("good.rtf", "{\\rtf1\\ansi First line\\par Second line\\par}"));
    EXPECT_TRUE(editorText().contains("First line"));
    EXPECT_TRUE(editorText().contains("Second line"));
}

TEST_F(MainWindowTest, LargeTextImportDoesNotLoseItsTail) {
    QByteArray line(100000, 'a');
    line += '\n';
    QByteArray big;
    for (int i = 0; i < 500; ++i)
        big += line;
    big += "the end";
    window->didDragFileIntoView(writeFile("big.txt", big));
    EXPECT_EQ(window->textView()->getAllSubtitles().size(), 501);
    EXPECT_TRUE(editorText().endsWith("the end"));
}

TEST_F(MainWindowTest, OnlyProjectFilesAreOpenedOnRequest) {
    EXPECT_FALSE(QYMainWindowController::acceptsOpenRequest("/tmp/a.srt"));
    EXPECT_TRUE(QYMainWindowController::acceptsOpenRequest("/tmp/a.QYB"));

    const QString project = dir.filePath("Movie Night.QYB");
    window->replaceTextInTextView("[00:00:01.00]Saved[00:00:02.00]");
    window->session().saveQuilleryDocToFile(project);
    window->replaceTextInTextView("");
    window->openFileOnRequest(dir.filePath("cues.srt"));
    window->openFileOnRequest(project);
    EXPECT_EQ(editorText(), "") << "nothing happens at once";
    QTest::qWait(1300);
    EXPECT_EQ(editorText(), "[00:00:01.00]Saved[00:00:02.00]");
    EXPECT_TRUE(window->windowTitle().startsWith("Movie Night - Quillery"));
}

TEST_F(MainWindowTest, ExportsAppendTheirExtensionOnce) {
    window->replaceTextInTextView("[00:00:01.00]Hello[00:00:02.12]");
    presenter.saveAnswers << dir.filePath("movie") << dir.filePath("again.srt");
    window->saveSRTFile();
    window->saveSRTFile();
    EXPECT_EQ(readFile(dir.filePath("movie.srt")), "0\n00:00:01,000 --> 00:00:02,480\nHello\n");
    EXPECT_TRUE(QFile::exists(dir.filePath("again.srt")));
    EXPECT_FALSE(QFile::exists(dir.filePath("again.srt.srt")));
    EXPECT_EQ(presenter.saveRequests[0].proposedName, "output.srt");

    presenter.saveAnswers << dir.filePath("out.sbv");
    window->didPressExportSubtitleFileMenuItem(3);
    EXPECT_EQ(readFile(dir.filePath("out.sbv")), "0:00:01.000,0:00:02.480\r\nHello");
    EXPECT_EQ(presenter.saveRequests.back().proposedName, "output.sbv");

    presenter.saveAnswers << dir.filePath("avid");
    window->exportAvidFile();
    EXPECT_TRUE(readFile(dir.filePath("avid.txt")).contains("00:00:01:00 00:00:02:12\nHello"));
    EXPECT_EQ(window->textView()->toPlainText(), "[00:00:01.00]Hello[00:00:02.12]");
}

TEST_F(MainWindowTest, EditorShortcutsComeFirstWhereverTheFocusIs) {
    auto* field = new QLineEdit(window.get());
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F6);
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(editorText(), "[00:00:00.00]");
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "x");
}

TEST_F(MainWindowTest, WindowLayoutAndToolbar) {
    settings->isFirstLaunch = false;
    window->windowDidLoad();
    ASSERT_NE(window->toolBar(), nullptr);
    QStringList titles;
    for (QAction* action : window->toolBar()->actions()) {
        if (!action->text().isEmpty())
            titles << action->text();
    }
    EXPECT_TRUE(titles.startsWith("1.Import FCPXXML")) << titles.join(", ").toStdString();
    EXPECT_TRUE(titles.contains("2.Import Video"));
    EXPECT_TRUE(titles.contains("4.Make Timecode"));
    EXPECT_EQ(window->moviePlayerAndSubtitleEditorSplitView()->orientation(), Qt::Horizontal);
    EXPECT_GE(window->moviePlayerAndSubtitleEditorSplitView()->sizes().value(0), 700);

    window->setCurrentFontSize(20);
    EXPECT_EQ(window->textView()->font().pointSize(), 20);

    window->makeTimeCode();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("handhelp.jpg"));
}

TEST_F(MainWindowTest, MergingSelectedLinesKeepsTheLinesAfterThem) {
    window->replaceTextInTextView("one\ntwo\nthree");
    window->textView()->setSelectedRange({0, 8}); // "one\ntwo\n"
    presenter.alertAnswers << 1;
    window->convertDoubleLine();
    EXPECT_EQ(editorText(), QString::fromUtf8("one⏎two\nthree"));

    presenter.alertAnswers << 0;
    window->convertDoubleLine();
    EXPECT_EQ(editorText(), QString::fromUtf8("one⏎two\nthree")) << "cancelled";
}

TEST_F(MainWindowTest, ToolsMenuCommandsEditTheScript) {
    window->replaceTextInTextView("00:01:02:03 Hello 00:01:04:00\n\n  spaced  ");
    window->convertTimeCodeFormat();
    EXPECT_EQ(editorText(), "[00:01:02.03] Hello [00:01:04.00]\n\n  spaced  ");
    window->didPressRemoveEmptyLineMenuItem();
    EXPECT_EQ(editorText(), "[00:01:02.03] Hello [00:01:04.00]\nspaced");

    window->replaceTextInTextView(QString::fromUtf8("Hello，world。"));
    window->convertPuntuation();
    EXPECT_EQ(editorText(), "Hello\nworld\n");

    window->replaceTextInTextView("[00:00:03.00]A[00:00:02.00]");
    window->textView()->setSelectedRange({14, 0});
    window->insertBreakLine();
    EXPECT_EQ(editorText(), QString::fromUtf8("[00:00:03.00]A⏎[00:00:02.00]"));
    window->autoCorrectErrorTimecode();
    EXPECT_EQ(editorText(), QString::fromUtf8("[00:00:03.00]A⏎[00:00:03.13]\n"));
    EXPECT_FALSE(window->session().isSaved());
}

TEST_F(MainWindowTest, ShiftReturnInTheWindowBreaksARowInsideTheSubtitle) {
    window->activateWindow();
    window->textView()->setFocus();
    window->replaceTextInTextView("AB");
    window->textView()->setSelectedRange({1, 0});
    QTest::keyClick(window->textView(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(editorText(), QString::fromUtf8("A⏎B"));
}

TEST_F(MainWindowTest, ConsolidateSheetInterleavesTheTranslation) {
    window->replaceTextInTextView("one\ntwo");
    QTimer::singleShot(0, window.get(), [this] {
        QYConsolidateTextWindowController& sheet = window->consolidateTextWindow();
        sheet.textView()->setPlainText("uno\ndos");
        sheet.doneButton()->click();
    });
    window->consolidateText();
    EXPECT_EQ(editorText(), "one\nuno\ntwo\ndos");
}

} // namespace
