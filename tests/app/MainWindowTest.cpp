#include "MainWindowFixture.h"
#include "QYConsolidateTextWindowController.h"
#include "QYProjectSession.h"
#include "QYTextView.h"
#include "QYToolbarButtonPreferenceWindowController.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

using namespace quillery;
using namespace quillery::test;

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        window->setUrlOpener([this](const QUrl& url) {
            opened << url;
            return desktopOpens;
        });
    }

    QList<QUrl> opened;
    bool desktopOpens = true;
};

TEST_F(MainWindowTest, DroppedFilesAreRoutedByTheirLowerCasedExtension) {
    const QString movie = writeFile("CLIP.MOV", "not really a movie");
    window->didDragFileIntoView(movie);
    EXPECT_EQ(window->movieFilePath(), movie);

    window->didDragFileIntoView(writeFile("SCRIPT.TXT", "one\r\ntwo\tthree"));
    EXPECT_EQ(editorText(), "one\ntwothree");
    window->didDragFileIntoView(writeFile("cues.SRT", "1\n00:00:01,000 --> 00:00:02,500\nHi\n"));
    EXPECT_EQ(editorText(), "[00:00:01.00]Hi[00:00:02.13]");
    window->didDragFileIntoView(writeFile("cues.sbv", "0:00:01.000,0:00:02.000\nSbv cue\n"));
    EXPECT_EQ(editorText(), "[00:00:01.00]Sbv cue[00:00:02.00]");
    window->didDragFileIntoView(
        writeFile("good.rtf", "{\\rtf1\\ansi First line\\par Second line\\par}"));
    EXPECT_TRUE(editorText().startsWith("First line\nSecond line"));
    window->didDragFileIntoView(writeFile("unknown.xyz", "nothing any format reads"));
    EXPECT_EQ(editorText(), "") << "unclaimed files empty the editor";
    EXPECT_EQ(presenter.alerts.size(), 1) << "only the player's refusal of the movie";
}

TEST_F(MainWindowTest, ImportsSayWhyTheyCannotBeReadAndKeepTheEditor) {
    window->replaceTextInTextView("keep me");
    window->loadSRTFileFromURL(writeFile("empty.srt", ""));
    window->loadSRTFileFromURL(writeFile("nocue.srt", "no cue in this file at all, sorry"));
    QDir(dir.path()).mkdir("folder.srt");
    window->didDragFileIntoView(dir.filePath("folder.srt"));
    window->didDragFileIntoView(dir.filePath("gone.txt"));
    window->didDragFileIntoView(writeFile("broken.doc", "plain words"));
    window->didDragFileIntoView(writeFile("broken.rtf", "not rtf at all"));
    const QStringList texts = presenter.alertTexts();
    ASSERT_EQ(texts.size(), 6);
    EXPECT_TRUE(texts[0].startsWith("Can not read the srt file : empty.srt.\n"));
    EXPECT_TRUE(texts[1].startsWith("Can not translate the srt file : nocue.srt.\n"));
    EXPECT_EQ(texts.mid(2, 2), QStringList({"Can not read folder.srt: it is a folder, not a file.",
                                            "Can not read gone.txt: no such file."}));
    EXPECT_EQ(editorText(), "keep me");

    presenter.alerts.clear();
    window->loadSRTFileFromURL(writeFile(
        "errors.srt", "1\n00:00:05,000 --> 00:00:04,000\nBackwards\n\n2\n00:00:06,000 --> "
                      "00:00:07,000\nFine\n"));
    EXPECT_EQ(editorText(), "[00:00:05.00]Backwards[00:00:04.00]\n"
                            "[00:00:06.00]Fine[00:00:07.00]");
    ASSERT_TRUE(QTest::qWaitFor([&] { return presenter.alerts.size() == 2; }));
    EXPECT_TRUE(presenter.alerts[0].text.startsWith("No movie imported."));
    EXPECT_TRUE(presenter.alerts[1].text.startsWith("We found there are error time code"));
    EXPECT_EQ(window->textView()->selectedRange(), (TextRange{22, 13}));
}

TEST_F(MainWindowTest, ImportsAskOnlyWhenTheEditorHoldsTextThenChooseAFile) {
    presenter.openAnswers << writeFile("first.txt", "first");
    window->loadTextFile();
    EXPECT_TRUE(presenter.alerts.isEmpty()) << "nothing to lose, nothing asked";

    presenter.alertAnswers << 0 << 1;
    window->loadTextFile();
    EXPECT_EQ(presenter.openRequests.size(), 1) << "cancelled at the question";
    presenter.openAnswers << writeFile("new.txt", "replacement");
    window->loadTextFile();
    EXPECT_EQ(editorText(), "replacement");
    EXPECT_EQ(presenter.alerts.size(), 2);
}

using Window = QYMainWindowController;
using Export = std::function<void(Window&)>;

Export subtitleFormat(int tag) {
    return [tag](Window& window) {
        window.didPressExportSubtitleFileMenuItem(tag);
    };
}

TEST_F(MainWindowTest, EveryExportWritesItsFormatAndAppendsItsExtensionOnce) {
    window->replaceTextInTextView("[00:00:01.00]Hello[00:00:02.12]");
    const struct {
        Export run;
        const char* type;
        const char* start; // the written file begins so
    } rows[] = {
        {&Window::saveSRTFile, "srt", "0\n00:00:01,000"},
        {&Window::saveSTLFile, "stl", "//This STL"},
        {&Window::saveTextScriptFile, "txt", "0 00;00;01;00"},
        {&Window::exportAvidFile, "txt", "@ This file"},
        {&Window::didPressExportPlainTextMenuItem, "txt", "[00:00:01.00]Hello"},
        {&Window::exportWebVTTFile, "vtt", "WEBVTT"},
        {subtitleFormat(0), "vtt", "WEBVTT"},
        {subtitleFormat(1), "sub", "[TITLE]\nSubViewer 1.0"},
        {subtitleFormat(2), "sub", "[INFORMATION]"},
        {subtitleFormat(3), "sbv", "0:00:01.000,0:00:02.480"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        QTemporaryDir out;
        const QString again = out.filePath(QString("again.") + row.type);
        presenter.saveAnswers << out.filePath("movie") << again;
        row.run(*window);
        row.run(*window);
        const QString written = out.filePath(QString("movie.") + row.type);
        EXPECT_TRUE(QString::fromUtf8(readFile(written)).startsWith(row.start));
        EXPECT_EQ(QDir(out.path()).count(), 2u + 2u) << "only the two files (and . and ..)";
    }
    EXPECT_EQ(editorText(), "[00:00:01.00]Hello[00:00:02.12]") << "exports leave the editor alone";
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

TEST_F(MainWindowTest, FirstLaunchAsksOnceInASheetThatLetsAProjectOpenBehindIt) {
    const QString project = dir.filePath("Movie Night.QYB"); // the extension in any case
    window->replaceTextInTextView("[00:00:01.00]Saved[00:00:02.00]");
    window->session().saveQuilleryDocToFile(project);
    window->replaceTextInTextView("");

    window->windowDidLoad();
    // Named as on a command line, relative to the folder the editor started in.
    const QString startFolder = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->openFileOnRequest("Movie Night.QYB");
    QDir::setCurrent(startFolder);
    // Only projects are opened on request; this one would replace the project if it were.
    window->openFileOnRequest(writeFile("cues.srt", "1\n00:00:01,000 --> 00:00:02,000\nHi\n"));
    EXPECT_EQ(editorText(), "") << "a second passes first";
    auto* sheet = window->findChild<QYToolbarButtonPreferenceWindowController*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(window->toolBar(), nullptr) << "the toolbar waits for the answer";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !editorText().isEmpty(); }));
    EXPECT_EQ(editorText(), "[00:00:01.00]Saved[00:00:02.00]") << "opened while the sheet waits";
    EXPECT_EQ(window->session().recentFiles().value(0), project) << "found from any folder";

    sheet->choice()->button(QYToolbarButtonPreferenceWindowController::kFinalCutPro7Row)->click();
    sheet->storeChoiceAndClose();
    ASSERT_NE(window->toolBar(), nullptr);
    EXPECT_EQ(window->toolBar()->actions().value(0)->text(), "1.Get FCP7 Sequence");
}

TEST_F(MainWindowTest, HelpAndSupportSayWhatToDoWhenNothingOpensThem) {
    window->makeTimeCode();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("handhelp.jpg"));

    desktopOpens = false;
    window->makeTimeCode();
    window->openUrl(QUrl("mailto:support@quillery.org?subject=Quillery"));
    window->openUrl(QUrl("https://quillery.org"));
    // Each says where to go instead.
    const QStringList texts = presenter.alertTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].contains(QFileInfo(opened[0].toLocalFile()).absolutePath()));
    EXPECT_TRUE(texts[1].contains("write to support@quillery.org"));
    EXPECT_TRUE(texts[2].contains("visit https://quillery.org"));
}

TEST_F(MainWindowTest, ToolsMenuCommandsEditTheScript) {
    window->replaceTextInTextView("00:01:02:03 Hello\n\n  spaced  ");
    window->convertTimeCodeFormat();
    window->didPressRemoveEmptyLineMenuItem();
    EXPECT_EQ(editorText(), "[00:01:02.03] Hello\nspaced");

    window->replaceTextInTextView(QString::fromUtf8("Hello，world。"));
    window->convertPuntuation();
    EXPECT_EQ(editorText(), "Hello\nworld\n");

    // Merging asks first and takes the selected lines only.
    window->replaceTextInTextView("one\ntwo\nthree");
    window->textView()->setSelectedRange({0, 8}); // "one\ntwo\n"
    presenter.alertAnswers << 0 << 1;
    window->convertDoubleLine();
    EXPECT_EQ(editorText(), "one\ntwo\nthree") << "cancelled";
    window->convertDoubleLine();
    EXPECT_EQ(editorText(), QString::fromUtf8("one⏎two\nthree"));

    window->replaceTextInTextView("[00:00:03.00]A[00:00:02.00]");
    window->textView()->setSelectedRange({14, 0});
    window->insertBreakLine();
    window->autoCorrectErrorTimecode();
    EXPECT_EQ(editorText(), QString::fromUtf8("[00:00:03.00]A⏎[00:00:03.13]\n"));
    EXPECT_FALSE(window->session().isSaved());
}

TEST_F(MainWindowTest, ConsolidateSheetInterleavesTheTranslation) {
    window->replaceTextInTextView("one\ntwo");
    QTimer::singleShot(0, window.get(), [this] {
        QYConsolidateTextWindowController& sheet = window->consolidateTextWindow();
        sheet.textView()->setPlainText("uno\ndos\ntres");
        EXPECT_FALSE(sheet.doneButton()->isEnabled()) << "three lines cannot join two";
        sheet.textView()->setPlainText("uno\ndos");
        sheet.doneButton()->click();
    });
    window->consolidateText();
    EXPECT_EQ(editorText(), "one\nuno\ntwo\ndos");
}

} // namespace
