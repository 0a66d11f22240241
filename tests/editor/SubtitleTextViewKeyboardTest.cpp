// Timing a script with the keyboard while the movie plays, and the editor's commands.
#include "EditorTestSupport.h"

#include <QApplication>
#include <QClipboard>

using namespace quillery;
using namespace quillery::test;

namespace {

class KeyboardTest : public EditorTest {
protected:
    void playAt(double seconds) {
        player.playing = true;
        player.clock = seconds;
    }
    void pause(double seconds) {
        player.playing = false;
        player.clock = seconds;
        QYNotificationCenter::sharedInstance().postNotificationName(
            kMoviePlayerDidPauseNotification);
    }
};

// The default mode keys: Space for mode 1, "2" held for mode 2, Return for mode 3.

TEST_F(KeyboardTest, ModeOneStartsThenEndsWithAHalfSecondMinimum) {
    load("Hello\nWorld");
    playAt(12.0);
    key(Qt::Key_Space);
    EXPECT_EQ(text(), "[00:00:12.00]Hello\nWorld");

    player.clock = 12.3;
    key(Qt::Key_Space);
    // 12.5 s: half a frame past 12 frames rounds to frame 13.
    EXPECT_EQ(text(), "[00:00:12.00]Hello[00:00:12.13]\nWorld");
    EXPECT_EQ(view.textCursor().position(), 32);
    EXPECT_EQ(view.currentEditingLine(), line(1));
}

// One key at a playing (or, below 0, stopped) movie time.
TEST_F(KeyboardTest, SingleKeys) {
    const struct {
        const char* name;
        QString script;
        qsizetype caret;
        double playingAt;
        Qt::Key key;
        QString expected;
    } rows[] = {
        {"a start inside a timed line is refused", "[00:00:10.00]A[00:00:14.00]\nB", 29, 12.0,
         Qt::Key_Return, "[00:00:10.00]A[00:00:14.00]\nB"},
        {"an end never runs into the next start", "[00:00:08.00]A\n[00:00:09.00]B", 0, 10.0,
         Qt::Key_Space, "[00:00:08.00]A[00:00:09.00]\n[00:00:09.00]B"},
        {"mode 3 closes one subtitle and opens the next", "[00:00:08.00]A\nB", 5, 10.0,
         Qt::Key_Return, "[00:00:08.00]A[00:00:10.00]\n[00:00:10.00]B"},
        {"mode keys type while stopped", "", 0, -1, Qt::Key_2, "2"},
        {"other keys are swallowed while playing", "ab", 1, 1.0, Qt::Key_X, "ab"},
    };
    for (const auto& row : rows) {
        load(row.script);
        select(row.caret);
        player.playing = row.playingAt >= 0;
        player.clock = row.playingAt;
        key(row.key);
        EXPECT_EQ(text(), row.expected) << row.name;
    }
}

TEST_F(KeyboardTest, ModeTwoHoldsForTheLengthOfTheSubtitle) {
    load("A\nB");
    playAt(3.0);
    QTest::keyPress(&view, Qt::Key_2);
    EXPECT_EQ(text(), "[00:00:03.00]A\nB");
    player.clock = 5.0;
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2", true);
    QApplication::sendEvent(&view, &repeat); // held down: swallowed, nothing typed
    EXPECT_EQ(text(), "[00:00:03.00]A\nB");
    QTest::keyRelease(&view, Qt::Key_2);
    EXPECT_EQ(text(), "[00:00:03.00]A[00:00:05.00]\nB");
}

TEST_F(KeyboardTest, PausingClosesAnOpenSubtitleOnly) {
    load("A\nB");
    pause(2.0);
    EXPECT_EQ(text(), "A\nB") << "no start pending";
    playAt(3.0);
    key(Qt::Key_Space);
    pause(4.0);
    EXPECT_EQ(text(), "[00:00:03.00]A[00:00:04.00]\nB");
    playAt(5.0);
    pause(6.0);
    EXPECT_EQ(text(), "[00:00:03.00]A[00:00:04.00]\nB") << "closed already";
}

TEST_F(KeyboardTest, JklAreTransportKeysOnlyAfterTheyWereUsed) {
    key(Qt::Key_X);
    key(Qt::Key_K);
    EXPECT_EQ(text(), "xk");
    EXPECT_TRUE(player.calls.isEmpty());

    playAt(1.0);
    key(Qt::Key_L); // playing: speeds up, and K no longer types
    player.playing = false;
    key(Qt::Key_K);
    EXPECT_EQ(player.calls, (QStringList{"speedForward", "play"}));
    EXPECT_EQ(text(), "xk");
}

TEST_F(KeyboardTest, ShortcutsDriveThePlayerAndTheWaveformZoom) {
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab, Qt::MetaModifier);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(player.calls, (QStringList{"play", "stop", "rewind", "fastForward", "rewind"}));
    key(Qt::Key_Minus, Qt::ControlModifier);
    key(Qt::Key_Equal, Qt::ControlModifier);
    key(Qt::Key_Minus, Qt::AltModifier);
    key(Qt::Key_Equal, Qt::AltModifier);
    EXPECT_EQ(delegate.zoom, (QStringList{"x-", "x+", "y-", "y+"}));
    EXPECT_EQ(text(), "");
}

TEST_F(KeyboardTest, F6InsertsTheMovieTime) {
    load("A");
    player.clock = 2.0;
    key(Qt::Key_F6);
    key(Qt::Key_End);
    key(Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(text(), "[00:00:02.00]A[00:00:02.00]");
}

TEST_F(KeyboardTest, ArrowsNudgeASelectedTimeStringByTheSettingsStep) {
    load("[00:00:01.00]A[00:00:02.00]\n[00:00:02.03]B[00:00:05.00]");
    select(14, 13);
    QTest::keyPress(&view, Qt::Key_Right); // 2.0 + 5 frames = 2.2, past B's start at 2.12
    EXPECT_EQ(text(), "[00:00:01.00]A[00:00:02.05]\n[00:00:02.05]B[00:00:05.00]");
    EXPECT_EQ(view.selectedRange(), (TextRange{14, 13}));
    EXPECT_TRUE(view.adjustingTimeCode());
    EXPECT_FLOAT_EQ(static_cast<float>(player.clock), 2.2f); // kept to the millisecond in floats
    QTest::keyRelease(&view, Qt::Key_Right);
    EXPECT_FALSE(view.adjustingTimeCode());

    key(Qt::Key_Left);
    EXPECT_EQ(text(), "[00:00:01.00]A[00:00:02.00]\n[00:00:02.05]B[00:00:05.00]");
}

TEST_F(KeyboardTest, NudgesKeepTenFramesFromNeighboursAndStopAtZeroAndTheMovieEnd) {
    player.length = 10;
    const struct {
        const char* name;
        QString script;
        TextRange selected;
        Qt::Key key;
        QString expected;
    } rows[] = {
        // 1.4 - 0.2 is inside the 10-frame guard after A's start.
        {"previous start",
         "[00:00:01.00]A\n[00:00:01.10]B",
         {15, 13},
         Qt::Key_Left,
         "[00:00:01.00]A\n[00:00:01.10]B"},
        {"zero", "[00:00:00.02]A", {0, 13}, Qt::Key_Left, "[00:00:00.00]A"},
        // An empty subtitle's start is bounded by its own end: 2.0 s - 10 frames = 1.6 s, so
        // 1.6 s + 5 frames stays at 1.6 s rather than heading for B's end.
        {"own end of an empty subtitle",
         "[00:00:01.15][00:00:02.00]\n[00:00:03.00]B[00:00:09.00]",
         {0, 13},
         Qt::Key_Right,
         "[00:00:01.15][00:00:02.00]\n[00:00:03.00]B[00:00:09.00]"},
        {"movie end", "A[00:00:09.20]", {1, 13}, Qt::Key_Right, "A[00:00:10.00]"},
    };
    for (const auto& row : rows) {
        load(row.script);
        view.setSelectedRange(row.selected);
        key(row.key);
        key(row.key);
        EXPECT_EQ(text(), row.expected) << row.name;
    }
}

TEST_F(KeyboardTest, TimeStringNavigation) {
    load("[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(view.selectedRange(), (TextRange{0, 13}));
    key(Qt::Key_Down);
    EXPECT_EQ(view.selectedRange(), (TextRange{28, 13}));
    key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(view.selectedRange(), (TextRange{42, 13}));
    key(Qt::Key_Up);
    EXPECT_EQ(view.selectedRange(), (TextRange{14, 13}));
    key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(view.selectedRange(), (TextRange{0, 13}));
    EXPECT_EQ(delegate.selectedTimes, (QList<double>{1, 3, 4, 2, 1}));
    key(Qt::Key_Return);
    EXPECT_EQ(view.selectedRange(), (TextRange{13, 0}));
    EXPECT_EQ(text(), "[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
}

TEST_F(KeyboardTest, DeleteTimeStringsOfTheCurrentLine) {
    load("[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    select(30);
    view.deleteTimeStringsInSelection();
    EXPECT_EQ(text(), "[00:00:01.00]A[00:00:02.00]\nB");
    EXPECT_EQ(view.selectedRange(), (TextRange{28, 1}));
}

TEST_F(KeyboardTest, ClipboardCommandsWorkOnTheSelectedLines) {
    load("one\ntwo\nthree\nfour");
    view.cut1Lines();
    EXPECT_EQ(text(), "two\nfour\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "one\nthree\n");

    load("A\nB");
    view.selectAll();
    QApplication::clipboard()->setText("[00:00:01.00][00:00:02.00][00:00:03.00][00:00:04.00]");
    view.pasteTimeCodeOnly();
    EXPECT_EQ(text(), "[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]\n");

    load("[00:00:01.00]old[00:00:02.00]\nnote");
    view.pasteTextOnly("new");
    EXPECT_EQ(text(), "[00:00:01.00]new[00:00:02.00]\nnote\n");
    EXPECT_EQ(view.textCursor().position(), 0);
}

TEST_F(KeyboardTest, EmptyEditorTakesEveryCommand) {
    view.setMoviePlayer(nullptr);
    view.deleteTimeStringsInSelection();
    view.cut1Lines();
    view.cut2Lines();
    view.pasteTextOnly("x");
    view.pasteTimeCodeOnly();
    view.setString("");
    view.insertCurrentTimeString();
    view.setString("");
    view.findNextErrorTimecode();
    view.findFirstErrorTimeCode();
    view.autoCorrectErrorTimecode();
    view.adjustTimeStringInSelectionWithTimeIncreament(MediaTime::make(1, 1), false);
    view.gotoNextLine();
    view.jumpToCurrentEditingLine();
    for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left,
                      Qt::Key_Right, Qt::Key_F6, Qt::Key_Space, Qt::Key_K, Qt::Key_Backspace})
        key(k);
    key(Qt::Key_Right, Qt::AltModifier);
    key(Qt::Key_Backspace, Qt::ControlModifier);
}

} // namespace
