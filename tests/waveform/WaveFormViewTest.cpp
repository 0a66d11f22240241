// The waveform editor wired to a real script editor, driven by real mouse and key events
// through the window: drawing new subtitles (and taking the next untimed line), edge drags
// with their limits and the neighbour pushed along, handles on narrow blocks, hover
// buttons, delete, inline editing, the playhead's highlight and pending end, the visible
// window's pool, keyboard forwarding, and the overview strip. The player is a double whose
// clock the test moves; the waveform is a made-up 60-second store at 150 pixels a second.
#include "FpsGuard.h"
#include "NotificationNames.h"
#include "QYMoviePlayerControl.h"
#include "QYMoviePlayhead.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "QYWaveFormPlayerControl.h"
#include "QYWaveFormView.h"
#include "QYWaveFormViewDelegate.h"
#include "SubtitleTextView.h"
#include "WaveformStores.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << QString(text).replace(u'\n', QStringLiteral("\\n")).toStdString() << '"';
}

namespace quillery {
namespace {

class FakePlayer : public QYWaveFormPlayerControl,
                   public QYMoviePlayerControl,
                   public QYMoviePlayhead {
public:
    bool hasMovie() const override { return true; }
    bool isPlaying() const override { return playing; }
    bool isRepeatingSubtitle() const override { return repeat != nullptr; }
    MediaTime currentTime() const override { return MediaTime::makeWithSeconds(clock, 25000); }
    MediaTime duration() const override { return MediaTime::makeWithSeconds(length, 25000); }
    void play() override { playing = true; }
    void stopRepeatPlaySubtitle(bool) override {
        playing = false;
        repeat.reset();
    }
    void rewind() override {}
    void fastForward() override {}
    void speedForward() override {}
    void speedBackward() override {}
    void setCurrentTime(double seconds) override { clock = seconds; }
    void playRepeatSubtitle(const SubtitleLinePtr& line, double speed) override {
        repeat = line;
        rate = speed;
        playing = true;
    }
    SubtitleLinePtr repeatSubtitle() const override { return repeat; }
    double currentPlayRate() const override { return rate; }
    void setShouldSyncWaveForm(bool sync) override { syncWaveForm = sync; }
    double playheadSeconds() const override { return clock; }
    bool isPlayForward() const override { return true; }
    bool shouldSyncWaveForm() const override { return syncWaveForm; }
    double durationSeconds() const override { return length; }

    bool playing = false;
    double clock = 0;
    double length = 60;
    double rate = 1;
    bool syncWaveForm = false;
    SubtitleLinePtr repeat;
};

// Answers the view from the script editor, as the main window does.
class ScriptDelegate : public QYWaveFormViewDelegate {
public:
    explicit ScriptDelegate(SubtitleTextView& editor) : editor_(editor) {}
    QList<SubtitleLinePtr> subtitleForStartTime(double a, double b) override {
        return editor_.subtitleForStartTime(a, b);
    }
    SubtitleLinePtr previousSubtitleLineForLine(const SubtitleLine* line) override {
        return editor_.script().previousSubtitleLineForLine(line);
    }
    SubtitleLinePtr nextSubtitleLineForLine(const SubtitleLine* line) override {
        return editor_.script().nextSubtitleLineForLine(line);
    }
    bool didRecieveKeydownEvent(QKeyEvent* event) override { return editor_.handleKeyEvent(event); }

private:
    SubtitleTextView& editor_;
};

// The middle of the blocks, which stand from y 50 to 250 in the 300-pixel view.
constexpr int kY = 150;

class WaveFormViewTest : public testing::Test {
protected:
    void SetUp() override {
        settings.waveFormZoomRate = 0.5;
        editor.setMoviePlayer(&player);
        layer = std::make_shared<WaveformLayer>(settings);
        layer->setPlayer(&player);
        layer->addDataStore(test::storeOfLevels(60, {0, 0}));
        view.resize(1000, 300);
        view.setPlayer(&player);
        view.setDelegate(&delegate);
        view.setWaveFormLayer(layer);
        view.setDragPlayRate(2);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    void load(const QString& script) {
        editor.replaceWholeText(script);
        QCoreApplication::processEvents();
    }
    QWindow* window() { return view.windowHandle(); }
    void press(QPoint at) { QTest::mousePress(window(), Qt::LeftButton, {}, at); }
    void release(QPoint at) { QTest::mouseRelease(window(), Qt::LeftButton, {}, at); }
    void moveTo(QPoint at) { QTest::mouseMove(window(), at); }
    void click(QPoint at) { QTest::mouseClick(window(), Qt::LeftButton, {}, at); }
    void clickOn(const QWidget* button) { click(button->mapTo(&view, button->rect().center())); }
    // Moves the playhead and lays the view out at it.
    void playheadAt(double seconds) {
        player.clock = seconds;
        view.repaint();
    }
    // Types over `length` characters of the script from `at`, as the user does.
    void typeInScript(qsizetype at, qsizetype length, const QString& text) {
        editor.setSelectedRange({at, length});
        editor.insertText(text);
    }
    // Presses, moves in small steps (as a hand does) and releases.
    void drag(QPoint from, QPoint to, int step = 3) {
        press(from);
        const int direction = to.x() >= from.x() ? step : -step;
        for (int x = from.x() + direction; (direction > 0 ? x < to.x() : x > to.x());
             x += direction)
            moveTo(QPoint(x, to.y()));
        moveTo(to);
        release(to);
        QCoreApplication::processEvents();
    }
    QYWaveFormTextView* blockOf(const QString& text) const {
        for (QYWaveFormTextView* block : view.textLayerArray()) {
            if (block->subtitleLine() && block->subtitleLine()->text() == text)
                return block;
        }
        return nullptr;
    }
    QString script() const { return editor.toPlainText(); }

    test::FpsGuard fps{25};
    QTemporaryDir folder;
    QYSetting settings{folder.filePath("settings.json")};
    FakePlayer player;
    SubtitleTextView editor;
    ScriptDelegate delegate{editor};
    std::shared_ptr<WaveformLayer> layer;
    QYWaveFormView view;
};

// --- Drawing new subtitles -------------------------------------------------------------------

const QString kBlockAt3 = "[00:00:03.00]B[00:00:04.00]";

// Drags at one height; a block stands from 450 to 600 pixels unless the row loads its own
// script.
struct DrawCase {
    const char* name;
    int fromX, toX, y;
    QString expected;
    QString script = kBlockAt3;
    bool opensText = false;
};

class DrawingTest : public WaveFormViewTest, public testing::WithParamInterface<DrawCase> {};

TEST_P(DrawingTest, DrawsWithinTheLimits) {
    const DrawCase& c = GetParam();
    load(c.script);
    drag(QPoint(c.fromX, c.y), QPoint(c.toX, c.y));
    EXPECT_EQ(script(), c.expected);
    EXPECT_FALSE(view.dragToCreateTextView() && view.dragToCreateTextView()->isShown());
    EXPECT_EQ(view.isWaveFormEditing(), c.opensText) << "only an empty subtitle opens for typing";
}

const DrawCase kDrawCases[] = {{"TenPixelsCreateNothing", 150, 160, kY, kBlockAt3},
                               {"FromInsideABlocksSpanNothing", 500, 700, 10, kBlockAt3},
                               {"OverTheOverviewStripNothing", 100, 250, 285, kBlockAt3},
                               {"StopsAtTheNextBlock", 300, 520, kY,
                                "[00:00:02.00][00:00:03.00]\n" + kBlockAt3, kBlockAt3, true},
                               // 120 pixels from 1 s: 0.8 s.
                               {"AcrossAnEmptyWaveformInsertsALineToType", 150, 270, kY,
                                "[00:00:01.00][00:00:01.20]\n", "", true}};

INSTANTIATE_TEST_SUITE_P(Drawing, DrawingTest, testing::ValuesIn(kDrawCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Edge drags -------------------------------------------------------------------------------

struct EdgeCase {
    const char* name;
    QString script;
    double movieLength;
    int fromX, toX;
    QString expected;
};

class BlockEdgeDragTest : public WaveFormViewTest, public testing::WithParamInterface<EdgeCase> {};

TEST_P(BlockEdgeDragTest, RewritesTheTimeStringWithinTheLimits) {
    const EdgeCase& c = GetParam();
    player.length = c.movieLength;
    load(c.script);
    drag(QPoint(c.fromX, kY), QPoint(c.toX, kY));
    EXPECT_EQ(script(), c.expected);
    // Every block settles where its line's times put it.
    for (const QYWaveFormTextView* block : view.textLayerArray()) {
        const SubtitleLine& line = *block->subtitleLine();
        EXPECT_NEAR(block->frame().left(), line.startTime() * 150, 1e-3);
        EXPECT_NEAR(block->frame().right(), line.endTime() * 150, 1e-3);
        EXPECT_FALSE(block->isDragging());
        EXPECT_FALSE(block->isDraggingFromSlide());
    }
}

const QString kOneToTwo = "[00:00:01.00]A[00:00:02.00]"; // 150 to 300 pixels
const QString kTwoBlocks = "[00:00:01.00]A[00:00:03.00]\n[00:00:04.00]B[00:00:06.00]";

// 48 pixels right is 2.32 s.
const EdgeCase kEdgeCases[] = {
    {"RightEdgeFollowsThePointer", kOneToTwo, 60, 296, 344, "[00:00:01.00]A[00:00:02.08]"},
    {"RightEdgeStopsTenFramesBeforeTheNextEndAndPushesItsStart",
     kOneToTwo + "\n[00:00:02.10]B[00:00:03.00]", 60, 296, 500,
     "[00:00:01.00]A[00:00:02.15]\n[00:00:02.15]B[00:00:03.00]"},
    {"RightEdgeOfTheLastBlockStopsAtTheMovieEnd", kOneToTwo, 2.4, 296, 600,
     "[00:00:01.00]A[00:00:02.10]"},
    {"LeftEdgeStopsTenFramesAfterThePreviousStartAndShortensIt", kTwoBlocks, 60, 603, 100,
     "[00:00:01.00]A[00:00:01.10]\n[00:00:01.10]B[00:00:06.00]"}};

INSTANTIATE_TEST_SUITE_P(Edges, BlockEdgeDragTest, testing::ValuesIn(kEdgeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaveFormViewTest, DraggingALeftEdgeOverThePreviousBlockPushesItsRightEdge) {
    load(kTwoBlocks); // 150-450, 600-900
    QYWaveFormTextView* a = blockOf("A");
    QYWaveFormTextView* b = blockOf("B");
    press(QPoint(603, kY));
    for (int x = 600; x >= 303; x -= 3)
        moveTo(QPoint(x, kY));
    EXPECT_NEAR(a->frame().right(), 303, 1e-3) << "its right edge follows the pointer";
    EXPECT_EQ(player.repeat, b->subtitleLine());
    EXPECT_EQ(player.rate, 2) << "the dragged block plays at the drag speed";
    release(QPoint(303, kY));
    QCoreApplication::processEvents();
    EXPECT_EQ(script(), "[00:00:01.00]A[00:00:02.00]\n[00:00:02.00]B[00:00:06.00]");
}

TEST_F(WaveFormViewTest, PressingAHandleOfANarrowBlockSelectsItsTimeString) {
    load("[00:00:01.00]N[00:00:01.03]"); // 150 to 168 pixels: the handles overlap
    for (const auto& [x, start] : {std::pair{153, 0}, std::pair{165, 14}}) {
        press(QPoint(x, kY));
        EXPECT_EQ(editor.selectedRange().location, start) << x;
        EXPECT_EQ(editor.selectedRange().length, 13) << x;
        release(QPoint(x, kY));
    }
}

// --- Buttons and inline editing ------------------------------------------------------------

TEST_F(WaveFormViewTest, HoveringAWideBlockShowsItsButtonsAndANarrowOneNone) {
    load("[00:00:01.00]Wide[00:00:02.00]\n[00:00:03.00]N[00:00:03.04]"); // 150-300, 450-456
    moveTo(QPoint(100, kY));
    moveTo(QPoint(220, kY));
    EXPECT_TRUE(view.playButton()->isVisible());
    moveTo(QPoint(155, kY)); // on the handle, out of the inner area
    EXPECT_FALSE(view.playButton()->isVisible());
    moveTo(QPoint(220, kY));
    moveTo(QPoint(400, kY));
    EXPECT_FALSE(view.playButton()->isVisible()) << "leaving the block hides them";
    moveTo(QPoint(453, kY));
    EXPECT_FALSE(view.playButton()->isVisible());
}

TEST_F(WaveFormViewTest, DeletingStopsItsRepeatPlayAndTakesItOutOfTheScript) {
    // Text stays, untimed; an empty line goes.
    for (const auto& [before, after] :
         {std::pair{kOneToTwo + "\nnext", QString("A\nnext")},
          std::pair{QString("[00:00:01.00][00:00:02.00]\nnext"), QString("next")}}) {
        load(before);
        moveTo(QPoint(100, kY));
        moveTo(QPoint(220, kY));
        clickOn(view.playButton());
        ASSERT_TRUE(player.playing);
        clickOn(view.deleteButton());
        QCoreApplication::processEvents();
        EXPECT_FALSE(player.playing);
        EXPECT_EQ(player.repeat, nullptr);
        EXPECT_EQ(script(), after);
        EXPECT_TRUE(view.textLayerArray().isEmpty());
    }
}

TEST_F(WaveFormViewTest, TypingInPlaceReachesTheScriptAPauseAfterTheLastKeyOrOnClosing) {
    load(kOneToTwo + "\nnext");
    // Away from the play button in the middle.
    QTest::mouseDClick(window(), Qt::LeftButton, {}, QPoint(170, 80));
    ASSERT_TRUE(view.isWaveFormEditing());
    QYWaveFormTextEditView* text = view.editBackgroundView()->textView();

    QTest::keyClicks(text, "b");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "c");
    QElapsedTimer sinceLastKey;
    sinceLastKey.start();
    EXPECT_EQ(script(), kOneToTwo + "\nnext") << "nothing before the pause";
    ASSERT_TRUE(QTest::qWaitFor([&] { return script() != kOneToTwo + "\nnext"; }, 2000));
    EXPECT_GE(sinceLastKey.elapsed(), 290);

    QTest::keyClick(text, Qt::Key_Tab);
    EXPECT_FALSE(player.playing) << "Tab pauses instead of typing";
    QTest::keyClicks(text, "Z");
    click(QPoint(700, kY));
    EXPECT_FALSE(view.isWaveFormEditing());
    QCoreApplication::processEvents();
    EXPECT_EQ(script(), "[00:00:01.00]Ab⏎cZ[00:00:02.00]\nnext") << "closing keeps what was typed";
}

// --- The playhead ------------------------------------------------------------------------------

TEST_F(WaveFormViewTest, ThePlayheadHighlightsTheBlockUnderItAndThenLeavesItWhite) {
    load(kOneToTwo + "\n[00:00:03.00]B[00:00:04.00]");
    QYWaveFormTextView* a = blockOf("A");
    playheadAt(1.5);
    EXPECT_TRUE(a->isHighlighted());
    playheadAt(2.5);
    EXPECT_FALSE(a->isHighlighted());
    // A block repeating while the movie plays keeps its highlight past its end.
    playheadAt(1.5);
    player.playRepeatSubtitle(a->subtitleLine(), 1);
    playheadAt(2.2);
    EXPECT_TRUE(a->isHighlighted());
}

TEST_F(WaveFormViewTest, AStartTypedWhilePlayingGrowsABlockUntilItsEndIsTyped) {
    load("Waiting\n[00:00:03.00]B[00:00:04.00]");
    player.playing = true;
    player.clock = 1.0;
    editor.insertStartTimeCodeInSubtitleLine(editor.getAllSubtitles().front());
    QYWaveFormTextView* pending = view.currentCalculatingEndTimeView();
    ASSERT_NE(pending, nullptr);
    playheadAt(2.0);
    EXPECT_TRUE(pending->isShown());
    EXPECT_NEAR(pending->frame().left(), 150, 1e-3);
    EXPECT_NEAR(pending->frame().width(), 150, 1e-3) << "its end runs with the playhead";
    playheadAt(3.0);
    EXPECT_FALSE(player.playing) << "the running end reached the next block";
    player.clock = 2.6;
    editor.insertEndTimeCodeInSubtitleLine(editor.getAllSubtitles().front());
    QCoreApplication::processEvents();
    EXPECT_EQ(view.currentCalculatingEndTimeView(), nullptr);
    EXPECT_EQ(script(), "[00:00:01.00]Waiting[00:00:02.15]\n[00:00:03.00]B[00:00:04.00]");
}

// --- The visible window ------------------------------------------------------------------------

TEST_F(WaveFormViewTest, ScrollingShowsOnlyTheWindowsBlocksAndReusesThem) {
    QString many;
    for (int second = 0; second < 58; second += 2)
        many += QString("[00:00:%1.00]L%2[00:00:%3.00]\n")
                    .arg(second, 2, 10, QChar('0'))
                    .arg(second)
                    .arg(second + 1, 2, 10, QChar('0'));
    load(many);
    // The window is 1000 pixels: 6.67 s. Lines at 0, 2, 4 and 6 s.
    EXPECT_EQ(view.textLayerArray().size(), 4);
    const int warm = view.createdTextViewCount();
    for (double origin = 0; origin <= 7500; origin += 75)
        layer->setNewOriginX(origin);
    // 50 s to 56.67 s: lines at 50 to 56 s, and the one ending at 51 s.
    QStringList shown;
    for (const QYWaveFormTextView* block : view.textLayerArray())
        shown << block->text();
    EXPECT_EQ(shown, (QStringList{"L50", "L52", "L54", "L56"}));
    EXPECT_LE(view.createdTextViewCount(), warm + 1) << "blocks come back from the pool";
    const int afterOnePass = view.createdTextViewCount();
    for (double origin = 7500; origin >= 0; origin -= 75)
        layer->setNewOriginX(origin);
    EXPECT_EQ(view.createdTextViewCount(), afterOnePass);
}

TEST_F(WaveFormViewTest, ALineStartingBeforeTheWindowShowsOnlyWhenTheWindowIsLaidOut) {
    load("next");
    layer->setNewOriginX(300); // from 2 s
    typeInScript(0, 0, "[00:00:01.00]Early[00:00:03.00]\n");
    EXPECT_EQ(blockOf("Early"), nullptr);
    layer->setNewOriginX(301);
    ASSERT_NE(blockOf("Early"), nullptr);
    EXPECT_NEAR(blockOf("Early")->frame().left(), -151, 1e-3);
}

TEST_F(WaveFormViewTest, KeysTheWaveformDoesNotHandleGoToTheEditorsShortcuts) {
    load(kOneToTwo);
    player.playing = true;
    QTest::keyClick(&view, Qt::Key_K);
    EXPECT_FALSE(player.playing) << "K pauses the playing movie";
}

// --- The overview strip ------------------------------------------------------------------------

TEST_F(WaveFormViewTest, StripesFollowTheLinesValidity) {
    player.length = 100;
    load("[00:00:30.00]A[00:00:40.00]\nB");
    const auto stripes = [&] {
        QList<QPair<double, double>> all;
        for (const Stripe& stripe : view.overView()->colorArray())
            all << qMakePair(std::round(stripe.from * 1000) / 1000,
                             std::round(stripe.to * 1000) / 1000);
        return all;
    };
    EXPECT_EQ(stripes(), (QList<QPair<double, double>>{{0.3, 0.4}}));
    typeInScript(script().indexOf("B"), 0, "[00:00:50.00]");
    EXPECT_EQ(stripes().size(), 1) << "a start alone makes no stripe";
    typeInScript(script().size(), 0, "[00:01:00.00]");
    EXPECT_EQ(stripes(), (QList<QPair<double, double>>{{0.3, 0.4}, {0.5, 0.6}}));
    typeInScript(0, 13, "");
    EXPECT_EQ(stripes(), (QList<QPair<double, double>>{{0.5, 0.6}})) << "invalid: no stripe";
    editor.insertText("[00:00:20.00]");
    EXPECT_EQ(stripes(), (QList<QPair<double, double>>{{0.2, 0.4}, {0.5, 0.6}}));
}

TEST_F(WaveFormViewTest, AClickOnTheStripJumpsTheMovieThereAndCentresTheWaveform) {
    load(kOneToTwo);
    layer->setIsScroll(true);
    std::optional<double> jump;
    QYNotificationCenter::sharedInstance().addObserver(
        this, kMoviePlayerGotoPercentageNotification,
        [&](const Notification& n) { jump = n.seconds(); });
    OverDifferenceSummaryView* strip = view.overView();
    click(strip->mapTo(&view, QPoint(250, 15)));
    QYNotificationCenter::sharedInstance().removeObserver(this);
    ASSERT_TRUE(jump.has_value());
    EXPECT_NEAR(*jump, 0.25, 1e-9);
    // The marker frames 1000 of 9000 pixels: 111.1 of the strip's 1000, centred on the click.
    EXPECT_NEAR(strip->overFlowViewFrame().left(), 250 - 55.556, 0.01);
    EXPECT_TRUE(player.syncWaveForm);
    EXPECT_FALSE(layer->isScroll());
}

} // namespace
} // namespace quillery
