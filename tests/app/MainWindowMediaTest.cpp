// The main window with real movies: the waveforms, the overlay, refused and vanished movies.
#include "MainWindowFixture.h"
#include "MovieAudioExtractor.h"
#include "MoviePictureView.h"
#include "NotificationNames.h"
#include "QYMoviePlayerViewController.h"
#include "QYNotificationCenter.h"
#include "QYWaveFormView.h"
#include "TestMedia.h"

namespace quillery {
namespace {

using test::TestMedia;
using test::waitFor;

const QString kScript = "[00:00:01.00]First line[00:00:03.00]\n"
                        "[00:00:04.00]Second line[00:00:06.00]";

class MainWindowMediaTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        MainWindowFixture::SetUp();
        window->replaceTextInTextView(kScript);
    }

    QYMoviePlayerViewController& player() const { return *window->moviePlayer(); }
    WaveformLayer& layer() const { return *window->waveFormView()->waveFormLayer(); }
    bool waveformsDone() const {
        for (const auto& extractor : window->audioExtractors()) {
            if (!extractor->mDataStore() || !extractor->mDataStore()->isLoadComplete())
                return false;
        }
        return true;
    }
};

TEST_F(MainWindowMediaTest, EveryAudioTrackOfTheMovieGetsAWaveformInANewLayer) {
    window->openMovie(TestMedia::shared().movie());
    const std::shared_ptr<WaveformLayer> first = window->waveFormView()->waveFormLayer();
    window->openMovie(TestMedia::shared().twoTracks());
    ASSERT_TRUE(player().hasMovie());
    EXPECT_NE(window->waveFormView()->waveFormLayer(), first);
    ASSERT_EQ(window->audioExtractors().size(), 2u);
    ASSERT_TRUE(waitFor([&] { return waveformsDone(); }));
    EXPECT_EQ(layer().getDataStoreArray().size(), 2u);

    window->clean();
    EXPECT_TRUE(window->audioExtractors().empty());
    EXPECT_FALSE(player().hasMovie());
}

TEST_F(MainWindowMediaTest, ThePlayheadDrivesTheOverlayTheHighlightAndTheNextLineLabel) {
    window->openMovie(TestMedia::shared().movie());
    ASSERT_TRUE(player().hasMovie());
    QString next;
    QYNotificationCenter::sharedInstance().addObserver(
        &next, kSetNextSubtitleTextNotification, [&](const Notification& n) { next = n.text(); });
    player().setCurrentTime(2.0);
    player().timeTick(2.0);
    EXPECT_EQ(player().pictureView()->subtitleLayerText(), "First line");
    EXPECT_EQ(window->textView()->highlightLineNumber(), 0);
    // The label announces the first line that has not ended yet.
    EXPECT_EQ(next, "First line");
    player().setCurrentTime(3.5);
    player().timeTick(3.5);
    QYNotificationCenter::sharedInstance().removeObserver(&next);
    EXPECT_EQ(next, "Second line");

    // A time chosen in the editor moves the player and the overlay.
    window->didSelectedTimeCode(MediaTime::make(5, 1));
    EXPECT_EQ(player().currentTime().seconds(), 5.0);
    EXPECT_EQ(player().pictureView()->subtitleLayerText(), "Second line");
}

TEST_F(MainWindowMediaTest, RefusedFilesWarnAndLeaveTheScript) {
    const QString tooShort =
        "Quillery only support video/audio which duration is longer than 10 seconds";
    const QByteArray movie = test::readFile(TestMedia::shared().movie());
    const struct {
        QString path;
        QString warning;
    } cases[] = {{dir.filePath("missing.mp4"), "Can not load movie file"},
                 {TestMedia::shared().tenSeconds(), tooShort},
                 {writeFile("words.mp4", "not a movie at all"), tooShort},
                 {writeFile("truncated.mp4", movie.left(movie.size() / 2)), tooShort}};
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.path.toStdString());
        presenter.alerts.clear();
        window->openMovie(refused.path);
        EXPECT_EQ(presenter.alertTexts(), QStringList{refused.warning});
        EXPECT_FALSE(player().hasMovie());
        EXPECT_EQ(editorText(), kScript);
    }
}

TEST_F(MainWindowMediaTest, AMovieDeletedWhilePlayingDoesNotTakeTheWindowDown) {
    const QString movie = dir.filePath("doomed.mp4");
    ASSERT_TRUE(QFile::copy(TestMedia::shared().movie(), movie));
    window->openMovie(movie);
    ASSERT_TRUE(player().hasMovie());
    player().play();
    ASSERT_TRUE(QFile::remove(movie));
    waitFor([] { return false; }, 500);
    player().pause();
    window->openMovie(TestMedia::shared().twoTracks());
    EXPECT_TRUE(player().hasMovie());
    EXPECT_EQ(editorText(), kScript);
}

TEST_F(MainWindowMediaTest, WaveformCommandsStepZoomAndGainWithinTheirLimits) {
    for (int i = 0; i < 20; ++i)
        window->increaseWaveFormYAxisZoomRate();
    EXPECT_DOUBLE_EQ(layer().yAxisZoomRate(), 5.0);
    for (int i = 0; i < 20; ++i)
        window->decreaseWaveFormYAxisZoomRate();
    EXPECT_DOUBLE_EQ(layer().yAxisZoomRate(), 0.1);
    window->didWaveformSliderChanged(80);
    EXPECT_DOUBLE_EQ(layer().zoomRate(), 0.8);
    window->didPressRightChannelButton();
    EXPECT_EQ(layer().displayStyle(), WaveformLayer::RightChannel);
    window->didPressLeftAndRightChannelButton();
    EXPECT_EQ(layer().displayStyle(), WaveformLayer::BothChannels);
}

} // namespace
} // namespace quillery
