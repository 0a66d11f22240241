// What leaves the main window besides the subtitle files: printed pages and movies with a
// subtitle track.
#include "FpsGuard.h"
#include "MediaTools.h"
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "ScriptPrinting.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kScript = QString::fromUtf8("[00:00:00.05]First[00:00:00.20]\n"
                                          "[00:00:01.00]Two⏎rows[00:00:01.15]");
// kScript at 25 frames per second: 5 frames are 0.2 s, 20 frames 0.8 s, 15 frames 0.6 s.
const QStringList kCuesAt25 = {"00:00:00,200 --> 00:00:00,800\nFirst",
                               "00:00:01,000 --> 00:00:01,600\nTwo\nrows"};

class MainWindowOutputTest : public testing::Test {
protected:
    void SetUp() override {
        settings = std::make_unique<QYSetting>(dir.filePath("settings.json"));
        window = std::make_unique<QYMainWindowController>(&presenter, settings.get());
        window->show();
        presenter.alerts.clear();
    }

    FpsGuard guard{25};
    QTemporaryDir dir;
    ScriptedPresenter presenter;
    std::unique_ptr<QYSetting> settings;
    std::unique_ptr<QYMainWindowController> window;
};

TEST_F(MainWindowOutputTest, PrintsEveryLineOfTheScriptOnAsManyPagesAsItNeeds) {
    QString script = kScript;
    for (int i = 0; i < 150; ++i)
        script += QStringLiteral("\n[00:01:%1.00]Line number %2[00:01:%1.20]")
                      .arg(i % 60, 2, 10, QLatin1Char('0'))
                      .arg(i);
    window->replaceTextInTextView(script);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("script.pdf"));
    window->printScript(printer);

    const QString text =
        QString::fromUtf8(runTool("pdftotext", {"-layout", dir.filePath("script.pdf"), "-"}));
    EXPECT_TRUE(text.contains("[00:00:00.05]First[00:00:00.20]")) << text.left(300).toStdString();
    EXPECT_TRUE(text.contains("[00:01:00.00]Line number 0[00:01:00.20]"));
    EXPECT_TRUE(text.contains("[00:01:29.00]Line number 149[00:01:29.20]"));
    EXPECT_GE(text.count(u'\f'), 3) << "152 lines do not fit on two pages";
}

TEST_F(MainWindowOutputTest, PrintedTextKeepsTheEditorsColours) {
    window->replaceTextInTextView(kScript);
    const std::unique_ptr<QTextDocument> printed = printableDocument(*window->textView());
    EXPECT_EQ(printed->toPlainText(), kScript);
    const auto colourAt = [&](int position) {
        QTextCursor cursor(printed.get());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color();
    };
    // Time strings are blue links, subtitle text black and line-break marks red.
    EXPECT_EQ(colourAt(2), QColor(4, 109, 255));
    EXPECT_EQ(colourAt(15), QColor(Qt::black));
    EXPECT_EQ(colourAt(static_cast<int>(kScript.indexOf(QChar(0x23CE)))), QColor(Qt::red));
    EXPECT_EQ(colourAt(static_cast<int>(kScript.size()) - 3), QColor(4, 109, 255));
}

class SoftSubtitleExportTest : public MainWindowOutputTest {
protected:
    static void SetUpTestSuite() {
        media = new QTemporaryDir;
        ASSERT_TRUE(makeMovie(media->filePath("clip.mp4"), "mpeg4", "aac"));
    }
    static void TearDownTestSuite() {
        delete media;
        media = nullptr;
    }
    static QString movie() { return media->filePath("clip.mp4"); }

    static QTemporaryDir* media;
};

QTemporaryDir* SoftSubtitleExportTest::media = nullptr;

TEST_F(SoftSubtitleExportTest, TheTrackHoldsTheSubRipExportsCues) {
    window->didDragFileIntoView(movie());
    window->replaceTextInTextView(kScript);
    presenter.saveAnswers << dir.filePath("export.srt") << dir.filePath("with subtitles");
    window->saveSRTFile();
    window->exportSoftSubtitledVideo();

    ASSERT_EQ(presenter.saveRequests.size(), 2);
    EXPECT_EQ(presenter.saveRequests[1].proposedName, "clip subtitled.mp4");
    EXPECT_EQ(presenter.saveRequests[1].allowedTypes,
              QStringList({"mp4", "m4v", "mov", "mkv", "webm"}));
    EXPECT_TRUE(presenter.alerts.isEmpty()) << presenter.alertTexts().join("\n").toStdString();
    const QString written = dir.filePath("with subtitles.mp4");
    const QStringList track = subRipCues(subtitleTrackAsSubRip(written, movie()));
    QFile exported(dir.filePath("export.srt"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(track, subRipCues(QString::fromUtf8(exported.readAll())));
    EXPECT_EQ(track, kCuesAt25);
    EXPECT_EQ(streamDigest(written, "v:0"), streamDigest(movie(), "v:0"));
}

TEST_F(SoftSubtitleExportTest, TimeStringsAreReadAtTheMoviesFrameRate) {
    FpsGuard otherRate(30);
    window->didDragFileIntoView(movie());
    window->replaceTextInTextView(kScript);
    presenter.saveAnswers << dir.filePath("at25.mkv");
    window->exportSoftSubtitledVideo();
    EXPECT_EQ(subRipCues(subtitleTrackAsSubRip(dir.filePath("at25.mkv"), movie())), kCuesAt25);
    EXPECT_EQ(QYTimeUtility::sharedInstance().getFPS(), 30.0) << "the editor's rate is kept";
}

TEST_F(SoftSubtitleExportTest, NothingIsAskedWithoutAMovieOrSubtitles) {
    window->replaceTextInTextView(kScript);
    window->exportSoftSubtitledVideo();
    window->didDragFileIntoView(movie());
    window->replaceTextInTextView("no time strings here");
    window->exportSoftSubtitledVideo();
    EXPECT_EQ(presenter.alertTexts(),
              QStringList({"Please import a movie first: the subtitles are added to a copy of it.",
                           "The script has no timed subtitle to add to the movie."}));
    EXPECT_TRUE(presenter.saveRequests.isEmpty());
}

TEST_F(SoftSubtitleExportTest, AFailureIsReportedAsAnError) {
    QFile notAMovie(dir.filePath("notes.mov"));
    ASSERT_TRUE(notAMovie.open(QIODevice::WriteOnly));
    notAMovie.write("plain text");
    notAMovie.close();
    window->didDragFileIntoView(notAMovie.fileName());
    window->replaceTextInTextView(kScript);
    window->exportSoftSubtitledVideo();
    ASSERT_EQ(presenter.alerts.size(), 1);
    EXPECT_EQ(presenter.alerts[0].title, "Error");
    EXPECT_EQ(presenter.alerts[0].text, "The movie \"notes.mov\" has no picture that can be read.");
}

} // namespace
