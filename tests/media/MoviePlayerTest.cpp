// The movie player on real movies (silent sound card): loading, play and pause, reverse
// speeds, exact seeks, repeat play, the overlay, and the rules behind the transport.
#include "FpsGuard.h"
#include "MoviePictureView.h"
#include "NotificationNames.h"
#include "QYMoviePlayerDelegate.h"
#include "QYMoviePlayerViewController.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "TestFiles.h"
#include "TestMedia.h"

#include <QElapsedTimer>
#include <QLabel>

namespace quillery {
namespace {

using test::TestMedia;
using test::waitFor;

// --- Rules ------------------------------------------------------------------------------

TEST(TransportRules, SpeedKeysStepByTwoAndCrossToReverseAndTheirTitlesGiveTheRate) {
    EXPECT_EQ(speedForwardRate(4), 6) << "by two, not doubled";
    EXPECT_EQ(speedForwardRate(-4), 2);
    EXPECT_EQ(speedBackwardRate(-2), -4);
    EXPECT_EQ(rateFromSpeedTitle("4.0x"), 4.0);
}

TEST(TransportRules, OnlyJumpsOfMoreThanHalfASecondSetTheDirection) {
    const PlayDirection forward{true, 10.0};
    EXPECT_TRUE(nextPlayDirection(forward, 9.6).isPlayForward);
    EXPECT_EQ(nextPlayDirection(forward, 9.6).lastMovieTime, 10.0);
    EXPECT_FALSE(nextPlayDirection(forward, 9.4).isPlayForward);
    EXPECT_EQ(nextPlayDirection(forward, 9.4).lastMovieTime, 9.4);
    const PlayDirection backward{false, 10.0};
    EXPECT_FALSE(nextPlayDirection(backward, 10.5).isPlayForward);
    EXPECT_TRUE(nextPlayDirection(backward, 10.6).isPlayForward);
}

// --- The player on a movie -------------------------------------------------------------------

class RecordingPlayerDelegate : public QYMoviePlayerDelegate {
public:
    bool moviePlayerShouldBeginPlay(QYMoviePlayerViewController*) override { return allowPlay; }
    bool moviePlayerShouldPause(QYMoviePlayerViewController*) override { return true; }
    void moviePlayerDidPlay(QYMoviePlayerViewController*, bool) override { ++plays; }
    void moviePlayerDidGotoTime(QYMoviePlayerViewController*, const MediaTime& t) override {
        gotoTimes << t.seconds();
    }
    SubtitleLinePtr moviePlayerDisplaySubtitleAtTime(QYMoviePlayerViewController*,
                                                     const MediaTime& t) override {
        return line && line->isTimeInTimeRange(t.seconds()) && t.seconds() < line->endTime()
                   ? line
                   : nullptr;
    }
    void jumpToCurrentSubtitleLine(const MediaTime&) override {}

    bool allowPlay = true;
    int plays = 0;
    QList<double> gotoTimes;
    SubtitleLinePtr line;
};

SubtitleLinePtr lineFrom(double start, double end, const QString& text) {
    SubtitleLinePtr line = SubtitleLine::create();
    line->setStartTime(start);
    line->setEndTime(end);
    line->setText(text);
    return line;
}

class MoviePlayerTest : public testing::Test {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        player.setDelegate(&delegate);
        player.resize(800, 500);
        player.show();
    }

    void load(const QString& path) {
        bool completed = false;
        player.loadPlayAsset(MoviePlayerItem::fromFile(path), [&] { completed = true; });
        ASSERT_TRUE(completed);
    }
    void loadMovie() {
        load(TestMedia::shared().movie());
        ASSERT_TRUE(player.isAssetLoaded());
        ASSERT_TRUE(waitFor([&] { return player.pictureView()->hasPicture(); }));
    }
    double now() const { return player.currentTime().seconds(); }

    test::FpsGuard fps{30};
    RecordingPlayerDelegate delegate;
    QYMoviePlayerViewController player;
};

TEST_F(MoviePlayerTest, ALoadedMovieSetsTheFrameRateAndItsLengthUntilItIsClosed) {
    loadMovie();
    EXPECT_NEAR(player.durationSeconds(), 60, 0.05);
    // The engine's modules load, and with them no Qt 5 library.
    const QByteArray mapped = test::readFile("/proc/self/maps");
    EXPECT_TRUE(mapped.contains("libmltavformat"));
    EXPECT_FALSE(mapped.contains("libQt5"));
    delegate.allowPlay = false;
    player.play();
    EXPECT_FALSE(player.isPlaying()) << "the delegate refused";
    player.close();
    EXPECT_FALSE(player.hasMovie());
}

TEST_F(MoviePlayerTest, PlayMovesTheClockAndPauseHoldsIt) {
    loadMovie();
    int paused = 0;
    QYNotificationCenter::sharedInstance().addObserver(&paused, kMoviePlayerDidPauseNotification,
                                                       [&](const Notification&) { ++paused; });
    player.play();
    EXPECT_EQ(delegate.plays, 1);
    ASSERT_TRUE(waitFor([&] { return now() > 0.4; }));
    player.pause();
    QYNotificationCenter::sharedInstance().removeObserver(&paused);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(paused, 1);
    const double held = now();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(now(), held);
}

TEST_F(MoviePlayerTest, FasterSpeedsCoverMoreMovieThanRealTimeAndReverseOnesGoBack) {
    loadMovie();
    player.speedForward(); // 2
    player.speedForward(); // 4
    player.play();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitFor([&] { return now() > 2.0; }));
    EXPECT_GT(now(), 1.5 * clock.elapsed() / 1000.0) << "more movie than the time it took";
    player.setCurrentTime(30);
    player.speedBackward();
    EXPECT_EQ(player.rate(), -2);
    ASSERT_TRUE(waitFor([&] { return now() < 29.0; }));
    player.pause();
}

TEST_F(MoviePlayerTest, AnExactSeekShowsTheRequestedFrameAndStepsFollowThePreference) {
    loadMovie();
    player.setCurrentTime(12.36); // frame 309 at 25 fps
    ASSERT_TRUE(waitFor([&] { return player.pictureView()->pictureFrame() == 309; }));
    EXPECT_EQ(delegate.gotoTimes.back(), 12.36);
    QYSetting::shareInstance().forwardBackwardPerKey = 5;
    player.setCurrentTime(1.0);
    player.fastForward();
    EXPECT_DOUBLE_EQ(now(), 1.2);
    player.setCurrentTime(0.1);
    player.rewind();
    EXPECT_EQ(now(), 0) << "stops at the start";
}

TEST_F(MoviePlayerTest, ARepeatedSubtitleLoopsFromItsEndToItsStart) {
    loadMovie();
    const SubtitleLinePtr line = lineFrom(10.0, 11.0, "Again");
    // Held still first: a clock that plays can't be read exactly.
    delegate.allowPlay = false;
    player.playRepeatSubtitle(line, 2);
    EXPECT_EQ(player.currentPlayRate(), 2);
    EXPECT_TRUE(player.isRepeatingSubtitle());
    EXPECT_EQ(now(), 10.0);
    // The first tick at or after the end goes back to the start...
    player.timeTick(11.0);
    EXPECT_EQ(delegate.gotoTimes, QList<double>{10.0});
    // ...and playing, the movie keeps coming back.
    delegate.allowPlay = true;
    player.play();
    EXPECT_EQ(player.rate(), 2);
    ASSERT_TRUE(waitFor([&] { return now() > 10.6; }));
    ASSERT_TRUE(waitFor([&] { return now() < 10.3; }));
    player.stopRepeatPlaySubtitle(false);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.isRepeatingSubtitle());
    // The drag rate stays for the next play.
    EXPECT_EQ(player.currentPlayRate(), 2);
}

TEST_F(MoviePlayerTest, TheOverlayShowsTheLineUnderThePlayheadAndFollowsItsText) {
    loadMovie();
    delegate.line = lineFrom(5.0, 8.0, u"Over⏎the picture"_qs);
    player.setCurrentTime(6.0);
    player.timeTick(6.0);
    EXPECT_EQ(player.pictureView()->subtitleLayerText(), "Over\nthe picture");
    EXPECT_TRUE(player.pictureView()->isSubtitleLayerVisible());
    delegate.line->setText("Changed");
    EXPECT_EQ(player.pictureView()->subtitleLayerText(), "Changed");
}

TEST_F(MoviePlayerTest, ASecondMovieIsShownOnlyInItsRanges) {
    QuilleryMoviePlayerItem item;
    item.mainMovie = MoviePlayerItem::fromFile(TestMedia::shared().movie());
    item.secondaryMovie = MoviePlayerItem::fromFile(TestMedia::shared().noAudio());
    item.secondaryMovieDiplayTime = {{MediaTime::make(2, 1), MediaTime::make(3, 1)}};
    player.setQuilleryMoviePlayerItem(item);
    ASSERT_TRUE(player.isAssetLoaded());
    ASSERT_TRUE(player.quilleryMoviePlayerItem().secondaryMovie);
    player.timeTick(1.0);
    EXPECT_FALSE(player.pictureView()->isSecondaryVisible());
    player.timeTick(4.0);
    EXPECT_TRUE(player.pictureView()->isSecondaryVisible());
    player.timeTick(5.5);
    EXPECT_FALSE(player.pictureView()->isSecondaryVisible());
}

TEST_F(MoviePlayerTest, OnlyAMovieNoDecoderKnowsShowsTheUnplayableLabel) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool unplayable;
    } rows[] = {{"not-media.mp4", "plain words, no movie", false},
                // The movie with its video codec's tag overwritten by one no decoder knows.
                {"unknown-codec.mp4",
                 test::readFile(TestMedia::shared().noAudio()).replace("avc1", "qy00"), true}};
    for (const auto& row : rows) {
        load(test::writeFile(TestMedia::path(row.name), row.bytes));
        EXPECT_FALSE(player.currentPlayItem()) << row.name;
        EXPECT_EQ(player.pictureView()->unplayableLabel()->isVisibleTo(&player), row.unplayable)
            << row.name;
    }
}

} // namespace
} // namespace quillery
