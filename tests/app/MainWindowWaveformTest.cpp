// The waveform editor in the main window over a real movie made by ffmpeg, driven by mouse
// and key events through the window: a drawn block times the next untimed line and plays
// it, a block's text typed in place stays text while the movie repeats it, and the
// drag-speed and rebuild controls.
#include "MainWindowFixture.h"
#include "QYMoviePlayerViewController.h"
#include "QYWaveFormView.h"
#include "TestMedia.h"

#include <QButtonGroup>
#include <QTest>
#include <QToolButton>

namespace quillery {
namespace {

class MainWindowWaveformTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        MainWindowFixture::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->openMovie(test::TestMedia::shared().movie());
        ASSERT_TRUE(window->moviePlayer()->hasMovie());
    }
    void TearDown() override {
        if (window)
            window->moviePlayer()->pause();
    }

    QYWaveFormView& view() const { return *window->waveFormView(); }
    // The point of the waveform view at a time, half way down.
    QPoint at(double seconds) const {
        const double x = seconds * view().getSampleRate() - view().getXOffset();
        return view().mapTo(window.get(), QPoint(static_cast<int>(x), view().height() / 2));
    }
    QWindow* handle() const { return window->windowHandle(); }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(handle(), Qt::LeftButton, {}, from);
        for (int x = from.x() + 3; x < to.x(); x += 3)
            QTest::mouseMove(handle(), QPoint(x, to.y()));
        QTest::mouseMove(handle(), to);
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
    }
};

TEST_F(MainWindowWaveformTest, ADrawnBlockTimesTheNextUntimedLineAndPlaysIt) {
    window->replaceTextInTextView("Untimed one\nUntimed two");
    drag(at(1.0), at(1.8));
    EXPECT_EQ(editorText(), "[00:00:01.00]Untimed one[00:00:01.20]\nUntimed two");
    const SubtitleLinePtr timed = window->textView()->getAllSubtitles().front();
    ASSERT_EQ(view().textLayerArray().size(), 1);
    EXPECT_EQ(view().textLayerArray().front()->subtitleLine(), timed);
    EXPECT_EQ(window->moviePlayer()->repeatSubtitle(), timed);
    EXPECT_TRUE(window->moviePlayer()->isPlaying());
    EXPECT_EQ(window->moviePlayer()->currentPlayRate(), 1.0);
}

TEST_F(MainWindowWaveformTest, TextTypedIntoABlockIsTextWhileTheMovieRepeatsIt) {
    window->replaceTextInTextView("[00:00:01.00]A[00:00:03.00]");
    QTest::mouseDClick(handle(), Qt::LeftButton, {}, at(1.2));
    ASSERT_TRUE(view().isWaveFormEditing());
    ASSERT_TRUE(window->moviePlayer()->isPlaying());
    QWidget* text = view().editBackgroundView()->textView();
    // J, K and L drive the movie while it plays, and Return would leave the line.
    QTest::keyClicks(text, "jkl");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "k");
    EXPECT_TRUE(window->moviePlayer()->isPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return editorText().contains("jkl"); }, 2000));
    EXPECT_EQ(editorText(), "[00:00:01.00]Ajkl⏎k[00:00:03.00]");
    EXPECT_TRUE(window->shouldResignFirstResponder())
        << "the script editor leaves the keyboard to the block's text";
    EXPECT_TRUE(text->hasFocus());
}

TEST_F(MainWindowWaveformTest, TheDragSpeedIsChosenSavedAndUsed) {
    auto* control = window->findChild<QButtonGroup*>("dragPlayRateControl");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->checkedId(), 0);
    EXPECT_EQ(view().dragPlayRate(), 1);
    control->button(1)->click();
    EXPECT_EQ(view().dragPlayRate(), 2);
    EXPECT_EQ(QYSetting(dir.filePath("settings.json")).dragPlayRate, 2);

    window->replaceTextInTextView("Untimed");
    QTest::mousePress(handle(), Qt::LeftButton, {}, at(1.0));
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(handle(), at(1.0) + QPoint(3 * step, 0));
    EXPECT_EQ(window->moviePlayer()->currentPlayRate(), 2.0) << "drawing plays at the drag speed";
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, at(1.0) + QPoint(30, 0));
}

TEST_F(MainWindowWaveformTest, RebuildingLaysEveryBlockAndStripeOutAgain) {
    window->replaceTextInTextView("[00:00:01.00]A[00:00:02.00]\nfree text\n"
                                  "[00:00:03.00]B[00:00:04.00]");
    ASSERT_EQ(view().textLayerArray().size(), 2);
    view().removeAllTextViewFromWaveForm();
    EXPECT_TRUE(view().textLayerArray().isEmpty());
    window->findChild<QToolButton*>("rebuildWaveFormButton")->click();
    EXPECT_EQ(view().textLayerArray().size(), 2);
    EXPECT_EQ(view().summaryRecordCount(), 3u);
    ASSERT_NE(view().overView(), nullptr);
    EXPECT_EQ(view().overView()->getColorCount(), 2u);
}

} // namespace
} // namespace quillery
