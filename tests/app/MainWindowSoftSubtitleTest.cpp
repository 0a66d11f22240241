// "Export Soft-Subtitled Video" on the loaded movie: the track's cues against the SubRip
// export, the movie's frame rate, and the questions and messages around it.
#include "FpsGuard.h"
#include "MediaTools.h"
#include "QYMainWindowController.h"
#include "QYMoviePlayerViewController.h"
#include "QYSetting.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"
#include "TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kScript = QString::fromUtf8("[00:00:00.05]First[00:00:00.20]\n"
                                          "[00:00:01.00]Two⏎rows[00:00:01.15]");
// kScript at 25 frames per second: 5 frames are 0.2 s, 20 frames 0.8 s, 15 frames 0.6 s.
const QStringList kCuesAt25 = {"00:00:00,200 --> 00:00:00,800\nFirst",
                               "00:00:01,000 --> 00:00:01,600\nTwo\nrows"};

class MainWindowSoftSubtitleTest : public testing::Test {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        settings = std::make_unique<QYSetting>(dir.filePath("settings.json"));
        window = std::make_unique<QYMainWindowController>(&presenter, settings.get());
        window->setWaveformCache(WaveformStoreCache(dir.filePath("cache")));
        window->show();
        presenter.alerts.clear();
    }

    // The 60-second test movie at 25 frames per second, loaded with kScript.
    void loadMovie() {
        window->openMovie(movie());
        ASSERT_TRUE(
            waitFor([this] { return window->moviePlayer()->currentPlayItem() != nullptr; }));
        window->replaceTextInTextView(kScript);
    }
    static QString movie() { return TestMedia::shared().movie(); }

    FpsGuard fps{25};
    QTemporaryDir dir;
    ScriptedPresenter presenter;
    std::unique_ptr<QYSetting> settings;
    std::unique_ptr<QYMainWindowController> window;
};

TEST_F(MainWindowSoftSubtitleTest, TheTrackHoldsTheSubRipExportsCues) {
    loadMovie();
    presenter.saveAnswers << dir.filePath("export.srt") << dir.filePath("with subtitles");
    window->saveSRTFile();
    window->exportSoftSubtitledVideo();

    ASSERT_EQ(presenter.saveRequests.size(), 2);
    EXPECT_EQ(presenter.saveRequests[1].proposedName, "movie subtitled.mp4");
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

TEST_F(MainWindowSoftSubtitleTest, TimeStringsAreReadAtTheMoviesFrameRate) {
    loadMovie();
    FpsGuard otherRate(30);
    presenter.saveAnswers << dir.filePath("at25.mkv");
    window->exportSoftSubtitledVideo();
    EXPECT_EQ(subRipCues(subtitleTrackAsSubRip(dir.filePath("at25.mkv"), movie())), kCuesAt25);
    EXPECT_EQ(QYTimeUtility::sharedInstance().getFPS(), 30.0) << "the editor's rate is kept";
}

TEST_F(MainWindowSoftSubtitleTest, NoMovieNoSubtitlesOrAMovieThatCannotBeRead) {
    window->replaceTextInTextView(kScript);
    window->exportSoftSubtitledVideo();
    loadMovie();
    window->replaceTextInTextView("no time strings here");
    window->exportSoftSubtitledVideo();
    QFile notAMovie(dir.filePath("notes.mov"));
    ASSERT_TRUE(notAMovie.open(QIODevice::WriteOnly));
    notAMovie.write("plain text");
    notAMovie.close();
    window->openMovie(notAMovie.fileName());
    window->replaceTextInTextView(kScript);
    presenter.alerts.removeLast(); // the player's own refusal
    window->exportSoftSubtitledVideo();

    EXPECT_EQ(presenter.alertTexts(),
              QStringList({"Please import a movie first: the subtitles are added to a copy of it.",
                           "The script has no timed subtitle to add to the movie.",
                           "The movie \"notes.mov\" has no picture that can be read."}));
    EXPECT_EQ(presenter.alerts.last().title, "Error");
    EXPECT_TRUE(presenter.saveRequests.isEmpty());
}

} // namespace
