#include "EditorTestSupport.h"
#include "FpsGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kTimedLine = "[00:00:01.00]Hello[00:00:02.00]";

class EditPathTest : public testing::Test {
protected:
    void SetUp() override {
        view.setTextViewDelegate(&delegate);
        view.resize(600, 400);
        view.show();
    }
    void load(const QString& text) {
        view.replaceWholeText(text);
        log.clear();
    }
    void caretAt(qsizetype position) { view.setSelectedRange({position, 0}); }
    void type(const QString& text) { QTest::keyClicks(&view, text); }
    void paste(const QString& text) {
        auto* data = new QMimeData;
        data->setText(text);
        QApplication::clipboard()->setMimeData(data);
        view.paste();
    }

    FpsGuard guard{25};
    RecordingDelegate delegate;
    NotificationLog log;
    SubtitleTextView view;
};

TEST_F(EditPathTest, EmptyEditorHoldsOneEmptyUntimedRecord) {
    ASSERT_EQ(view.getAllSubtitles().size(), 1);
    EXPECT_FALSE(view.getAllSubtitles()[0]->isStartTimeValid());
    EXPECT_EQ(view.getAllSubtitles()[0]->text(), "");
    EXPECT_EQ(view.currentEditingLine(), view.getAllSubtitles()[0]);
}

TEST_F(EditPathTest, TypingInsideALineKeepsTheRecordAndPostsNothing) {
    load(kTimedLine + "\nnext");
    const SubtitleLinePtr record = view.getAllSubtitles()[0];
    caretAt(15);
    type("y");
    EXPECT_EQ(view.getAllSubtitles()[0], record);
    EXPECT_EQ(record->text(), "Heyllo");
    EXPECT_TRUE(log.entries.isEmpty());
    EXPECT_EQ(view.currentEditingLine(), record);
    expectRecordsMatchText(view);

    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(record->text(), "Hello");
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(EditPathTest, ReturnAtTheEndOfATimedLineReplacesItAndAddsAnEmptyOne) {
    load(kTimedLine);
    const SubtitleLinePtr old = view.getAllSubtitles()[0];
    caretAt(kTimedLine.size());
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(log.entries, (QStringList{"delete 0", "add 0", "add 1"}));
    EXPECT_EQ(log.lines[0], old);
    ASSERT_EQ(view.getAllSubtitles().size(), 2);
    EXPECT_NE(view.getAllSubtitles()[0], old);
    EXPECT_TRUE(view.getAllSubtitles()[0]->isValid());
    EXPECT_EQ(view.getAllSubtitles()[1]->text(), "");
    EXPECT_EQ(view.currentEditingLine(), view.getAllSubtitles()[1]);
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, SplittingAndJoiningLinesInTheMiddle) {
    load("one\ntwo three\nfour");
    const SubtitleLinePtr first = view.getAllSubtitles()[0];
    const SubtitleLinePtr last = view.getAllSubtitles()[2];
    caretAt(7); // after "two"
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(log.entries, (QStringList{"delete 1", "add 1", "add 2"}));
    EXPECT_EQ(view.getAllSubtitles()[0], first);
    EXPECT_EQ(view.getAllSubtitles()[3], last);
    expectRecordsMatchText(view);

    log.clear();
    QTest::keyClick(&view, Qt::Key_Backspace); // joins "two" and " three" again
    EXPECT_EQ(log.entries, (QStringList{"delete 1", "delete 1", "add 1"}));
    EXPECT_EQ(view.getAllSubtitles()[1]->text(), "two three");
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, TypingAtTheVeryEndRebuildsTheLastRecord) {
    load("a\nb");
    caretAt(3);
    type("c");
    EXPECT_EQ(log.entries, (QStringList{"delete 1", "add 1"}));
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, TimeStringsTypedAtTheEdgesBecomeTimes) {
    load("Hello");
    caretAt(0);
    type("[00:00:01.05]");
    const SubtitleLinePtr line = view.getAllSubtitles()[0];
    EXPECT_FLOAT_EQ(static_cast<float>(line->startTime()), 1.2f); // 5 frames at 25 fps
    EXPECT_EQ(line->text(), "Hello");
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, PastedTextIsNormalised) {
    load("x");
    caretAt(1);
    paste(QString("a\r\nb\rc") + QChar(0x2028) + "d\te" + QChar(0x1b) + QChar(0x2029) + "f");
    EXPECT_EQ(view.toPlainText(), "xa\nb\nc\nde\nf");
    expectRecordsMatchText(view);
    EXPECT_EQ(view.getAllSubtitles().size(), 5);
}

TEST_F(EditPathTest, ReplacingTheWholeTextSwapsEveryRecord) {
    load("a\nb\nc");
    const auto old = view.getAllSubtitles();
    view.replaceWholeText(kTimedLine + "\r\n" + kTimedLine);
    EXPECT_EQ(log.entries, (QStringList{"delete 0", "delete 0", "delete 0", "add 0", "add 1"}));
    EXPECT_EQ(log.lines.mid(0, 3), old);
    EXPECT_EQ(view.textCursor().position(), 0);
    expectRecordsMatchText(view);
    EXPECT_GT(delegate.changes, 0);
}

TEST_F(EditPathTest, UndoAndRedoKeepRecordsInStep) {
    load("first\nsecond");
    caretAt(5);
    type("!");
    QTest::keyClick(&view, Qt::Key_Return);
    type("middle");
    expectRecordsMatchText(view);
    for (int i = 0; i < 3; ++i) {
        view.undo();
        expectRecordsMatchText(view);
    }
    EXPECT_EQ(view.toPlainText(), "first\nsecond");
    for (int i = 0; i < 3; ++i) {
        view.redo();
        expectRecordsMatchText(view);
    }
    EXPECT_EQ(view.toPlainText(), "first!\nmiddle\nsecond");
}

TEST_F(EditPathTest, ShiftReturnBreaksARowInsteadOfTheLine) {
    load("ab");
    caretAt(1);
    QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("a⏎b"));
    QTest::keyClick(&view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("a⏎\nb"));
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, BlockDrawnOnTheWaveformTakesTheNextUntimedLine) {
    load("[00:00:01.00]A[00:00:02.00]\nuntimed text\n[00:00:05.00]C[00:00:06.00]");
    auto block = SubtitleLine::create();
    block->setStartTime(3);
    block->setEndTime(4);
    QYNotificationCenter::sharedInstance().postNotificationName(
        kAddSubtitleLineToTextViewNotification, block);
    EXPECT_EQ(view.toPlainText(), "[00:00:01.00]A[00:00:02.00]\n"
                                  "[00:00:03.00]untimed text[00:00:04.00]\n"
                                  "[00:00:05.00]C[00:00:06.00]");
    expectRecordsMatchText(view);
    EXPECT_EQ(view.textCursor().position(), 28 + 13);
}

TEST_F(EditPathTest, BlockDrawnAfterTheLastLineGetsALineOfItsOwn) {
    load(kTimedLine);
    auto block = SubtitleLine::create();
    block->setStartTime(3);
    block->setEndTime(4);
    view.didAddSubtitleLine(block);
    EXPECT_EQ(view.toPlainText(), kTimedLine + "\n[00:00:03.00][00:00:04.00]");
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, DeletingABlockKeepsTextButDropsEmptyLines) {
    load("[00:00:01.00]Keep me[00:00:02.00]\n[00:00:03.00][00:00:04.00]\nlast");
    const SubtitleLinePtr keep = view.getAllSubtitles()[0];
    QYNotificationCenter::sharedInstance().postNotificationName(
        kDeleteSubtitleLineFromTextViewNotification, keep);
    EXPECT_EQ(view.toPlainText(), "Keep me\n[00:00:03.00][00:00:04.00]\nlast");
    EXPECT_EQ(view.getAllSubtitles()[0], keep);
    EXPECT_FALSE(keep->isStartTimeValid());

    view.didDeleteSubtitleLine(view.getAllSubtitles()[1]);
    EXPECT_EQ(view.toPlainText(), "Keep me\nlast");
    expectRecordsMatchText(view);
}

TEST_F(EditPathTest, InlineWaveformEditReplacesTheTextPart) {
    load(kTimedLine + "\nnext");
    const SubtitleLinePtr line = view.getAllSubtitles()[0];
    QYNotificationCenter::sharedInstance().postNotificationName(
        kUpdateSubtitleTextViewTextNotification, QStringLiteral("two\nrows"),
        subtitleUserInfo(line));
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("[00:00:01.00]two⏎rows[00:00:02.00]\nnext"));
    EXPECT_EQ(view.getAllSubtitles()[0], line);
    EXPECT_EQ(view.textCursor().position(), 13);
}

// Opens the drop handler to the test, which cannot start a real drag.
struct DropTarget : SubtitleTextView {
    using SubtitleTextView::dropEvent;
};

TEST_F(EditPathTest, DroppedFilesGoToTheDelegate) {
    DropTarget target;
    target.setTextViewDelegate(&delegate);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/movie.mov")});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    target.dropEvent(&drop);
    EXPECT_EQ(delegate.dropped, (QList<QUrl>{QUrl::fromLocalFile("/tmp/movie.mov")}));
    EXPECT_EQ(target.toPlainText(), "");
}

} // namespace
