// "Export Soft-Subtitled Video" on the loaded movie: the track's cues at the movie's frame
// rate, and the questions and messages around it.
#include "MainWindowFixture.h"
#include "MediaTools.h"
#include "QYMoviePlayerViewController.h"
#include "TestMedia.h"

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kScript = QString::fromUtf8("[00:00:00.05]First[00:00:00.20]\n"
                                          "[00:00:01.00]Two⏎rows[00:00:01.15]");

class MainWindowSoftSubtitleTest : public MainWindowFixture {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        MainWindowFixture::SetUp();
    }

    // The 60-second test movie at 25 frames per second, loaded with kScript.
    void loadMovie() {
        window->openMovie(movie());
        ASSERT_TRUE(
            waitFor([this] { return window->moviePlayer()->currentPlayItem() != nullptr; }));
        window->replaceTextInTextView(kScript);
    }
    static QString movie() { return TestMedia::shared().movie(); }
};

TEST_F(MainWindowSoftSubtitleTest, TheTrackHoldsTheCuesAtTheMoviesFrameRate) {
    loadMovie();
    FpsGuard otherRate(30);
    presenter.saveAnswers << dir.filePath("with subtitles");
    window->exportSoftSubtitledVideo();

    EXPECT_TRUE(presenter.alerts.isEmpty()) << presenter.alertTexts().join("\n").toStdString();
    const QString written = dir.filePath("with subtitles.mp4");
    // At the movie's 25 frames per second: 5 frames are 0.2 s, 20 frames 0.8 s, 15 frames
    // 0.6 s.
    EXPECT_EQ(subRipCues(subtitleTrackAsSubRip(written, movie())),
              QStringList({"00:00:00,200 --> 00:00:00,800\nFirst",
                           "00:00:01,000 --> 00:00:01,600\nTwo\nrows"}));
    EXPECT_EQ(QYTimeUtility::sharedInstance().getFPS(), 30.0) << "the editor's rate is kept";
}

TEST_F(MainWindowSoftSubtitleTest, NoMovieNoSubtitlesOrAMovieThatCannotBeRead) {
    window->replaceTextInTextView(kScript);
    window->exportSoftSubtitledVideo();
    loadMovie();
    window->replaceTextInTextView("no time strings here");
    window->exportSoftSubtitledVideo();
    window->openMovie(writeFile("notes.mov", "plain text"));
    window->replaceTextInTextView(kScript);
    presenter.alerts.removeLast(); // the player's own refusal
    window->exportSoftSubtitledVideo();

    EXPECT_EQ(presenter.alertTexts(),
              QStringList({"Please import a movie first: the subtitles are added to a copy of it.",
                           "The script has no timed subtitle to add to the movie.",
                           "The movie \"notes.mov\" has no picture that can be read."}));
    EXPECT_TRUE(presenter.saveRequests.isEmpty());
}

} // namespace
