// The waveform editor in the main window over a real movie, driven by mouse and key events.
#include "MainWindowFixture.h"
#include "QYMoviePlayerViewController.h"
#include "QYWaveFormView.h"
#include "TestMedia.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTest>

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
    EXPECT_EQ(window->moviePlayer()->repeatSubtitle(), timed);
    EXPECT_TRUE(window->moviePlayer()->isPlaying());
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
    EXPECT_TRUE(text->hasFocus());
}

TEST_F(MainWindowWaveformTest, TheDragSpeedIsChosenSavedAndUsed) {
    auto* control = window->findChild<QButtonGroup*>("dragPlayRateControl");
    ASSERT_NE(control, nullptr);
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

} // namespace
} // namespace quillery
