// The main window with real movies: opening one (and the warnings for files it refuses),
// the waveform of every audio track, the tick that drives the overlay and the editor's
// highlight, the waveform commands, and movies that go wrong while the script stays.
#include "FpsGuard.h"
#include "MovieAudioExtractor.h"
#include "MoviePictureView.h"
#include "NotificationNames.h"
#include "QYMainWindowController.h"
#include "QYMoviePlayerViewController.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "QYWaveFormView.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"
#include "TestMedia.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillery {
namespace {

using test::TestMedia;
using test::waitFor;

const QString kScript = "[00:00:01.00]First line[00:00:03.00]\n"
                        "[00:00:04.00]Second line[00:00:06.00]";

class MainWindowMediaTest : public testing::Test {
protected:
    void SetUp() override {
        if (!TestMedia::available())
            GTEST_SKIP() << "ffmpeg is not installed";
        ASSERT_TRUE(TestMedia::shared().made());
        settings = std::make_unique<QYSetting>(dir.filePath("settings.json"));
        window = std::make_unique<QYMainWindowController>(&presenter, settings.get());
        window->setWaveformCache(WaveformStoreCache(dir.filePath("cache")));
        window->show();
        window->replaceTextInTextView(kScript);
        presenter.alerts.clear();
    }

    QStringList alertTexts() const {
        QStringList texts;
        for (const AlertRequest& alert : presenter.alerts)
            texts << alert.text;
        return texts;
    }
    QYMoviePlayerViewController& player() const { return *window->moviePlayer(); }
    bool waveformsDone() const {
        for (const auto& extractor : window->audioExtractors()) {
            if (!extractor->mDataStore() || !extractor->mDataStore()->isLoadComplete())
                return false;
        }
        return true;
    }
    QString copyOf(const QString& source, const QString& name) {
        const QString path = dir.filePath(name);
        QFile::copy(source, path);
        return path;
    }

    test::FpsGuard fps{25};
    QTemporaryDir dir;
    test::ScriptedPresenter presenter;
    std::unique_ptr<QYSetting> settings;
    std::unique_ptr<QYMainWindowController> window;
};

TEST_F(MainWindowMediaTest, AMovieOpensWithAWaveformForEveryAudioTrack) {
    window->openMovie(TestMedia::shared().twoTracks());
    EXPECT_TRUE(alertTexts().isEmpty());
    ASSERT_TRUE(player().hasMovie());
    ASSERT_EQ(window->audioExtractors().size(), 2u);
    ASSERT_TRUE(waitFor([&] { return waveformsDone(); }));
    const auto& stores = window->waveFormView()->waveFormLayer()->getDataStoreArray();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(window->waveFormView()->waveFormLayer()->displayStyle(), WaveformLayer::LeftChannel);
    EXPECT_TRUE(player().movieLoadingIndicator()->isHidden());
    EXPECT_EQ(window->textView()->toPlainText(), kScript);
}

TEST_F(MainWindowMediaTest, TheTickShowsTheLineOverThePictureAndHighlightsItInTheEditor) {
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
    EXPECT_EQ(player().pictureView()->subtitleLayerText(), "");
    EXPECT_EQ(next, "Second line");
}

TEST_F(MainWindowMediaTest, ChoosingATimeInTheEditorMovesThePlayerAndTheOverlay) {
    window->openMovie(TestMedia::shared().movie());
    window->didSelectedTimeCode(MediaTime::make(5, 1));
    EXPECT_EQ(player().currentTime().seconds(), 5.0);
    EXPECT_EQ(player().pictureView()->subtitleLayerText(), "Second line");
}

TEST_F(MainWindowMediaTest, RefusedFilesWarnAndLeaveTheScript) {
    const QString notMedia = dir.filePath("words.mp4");
    QFile words(notMedia);
    ASSERT_TRUE(words.open(QIODevice::WriteOnly));
    words.write("not a movie at all");
    words.close();
    QFile whole(TestMedia::shared().movie());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString truncated = dir.filePath("truncated.mp4");
    QFile cut(truncated);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 2));
    cut.close();

    const QString tooShort =
        "Quillery only support video/audio which duration is longer than 10 seconds";
    const struct {
        QString path;
        QString warning;
    } cases[] = {{dir.filePath("missing.mp4"), "Can not load movie file"},
                 {TestMedia::shared().tenSeconds(), tooShort},
                 {notMedia, tooShort},
                 {truncated, tooShort}};
    for (const auto& refused : cases) {
        presenter.alerts.clear();
        window->openMovie(refused.path);
        EXPECT_EQ(alertTexts(), QStringList{refused.warning}) << refused.path.toStdString();
        EXPECT_FALSE(player().hasMovie());
        EXPECT_EQ(window->textView()->toPlainText(), kScript);
    }
}

TEST_F(MainWindowMediaTest, AMovieDeletedWhilePlayingDoesNotTakeTheWindowDown) {
    const QString movie = copyOf(TestMedia::shared().movie(), "doomed.mp4");
    window->openMovie(movie);
    ASSERT_TRUE(player().hasMovie());
    player().play();
    ASSERT_TRUE(QFile::remove(movie));
    waitFor([] { return false; }, 500);
    player().pause();
    window->openMovie(TestMedia::shared().twoTracks());
    EXPECT_TRUE(player().hasMovie());
    EXPECT_EQ(window->textView()->toPlainText(), kScript);
}

TEST_F(MainWindowMediaTest, ReplacingTheMovieStopsTheExtractorsAndReplacesTheLayer) {
    window->openMovie(TestMedia::shared().movie());
    const std::shared_ptr<WaveformLayer> first = window->waveFormView()->waveFormLayer();
    window->openMovie(TestMedia::shared().twoTracks());
    EXPECT_NE(window->waveFormView()->waveFormLayer(), first);
    EXPECT_EQ(window->audioExtractors().size(), 2u);
    window->clean();
    EXPECT_TRUE(window->audioExtractors().empty());
    EXPECT_FALSE(player().hasMovie());
    EXPECT_TRUE(window->waveFormView()->waveFormLayer()->getDataStoreArray().empty());
}

TEST_F(MainWindowMediaTest, WaveformCommandsStepZoomAndGainWithinTheirLimits) {
    WaveformLayer& layer = *window->waveFormView()->waveFormLayer();
    for (int i = 0; i < 20; ++i)
        window->increaseWaveFormYAxisZoomRate();
    EXPECT_DOUBLE_EQ(layer.yAxisZoomRate(), 5.0);
    for (int i = 0; i < 20; ++i)
        window->decreaseWaveFormYAxisZoomRate();
    EXPECT_DOUBLE_EQ(layer.yAxisZoomRate(), 0.1);
    window->didWaveformSliderChanged(80);
    EXPECT_DOUBLE_EQ(layer.zoomRate(), 0.8);
    window->didPressRightChannelButton();
    EXPECT_EQ(layer.displayStyle(), WaveformLayer::RightChannel);
    window->didPressLeftAndRightChannelButton();
    EXPECT_EQ(layer.displayStyle(), WaveformLayer::BothChannels);
}

} // namespace
} // namespace quillery
