// The editor's records follow every kind of edit of its text, and the waveform is told.
#include "EditorTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kTimedLine = "[00:00:01.00]Hello[00:00:02.00]";

// Logs the editor's add and delete notifications as "add 0", "delete 1", ... and follows
// them with a record list of its own, as the waveform does.
class EditPathTest : public EditorTest {
protected:
    EditPathTest() {
        mirror = view.getAllSubtitles();
        for (const QString& name : {kAddSubtitleLineToWaveFormNotification,
                                    kDeleteSubtitleLineFromWaveFormNotification}) {
            QYNotificationCenter::sharedInstance().addObserver(this, name, [this](const auto& n) {
                const bool added = n.name == kAddSubtitleLineToWaveFormNotification;
                posted << QString("%1 %2").arg(added ? "add" : "delete").arg(n.index());
                deleted << (added ? nullptr : n.subtitleLine());
                if (added)
                    mirror.insert(n.index(), n.subtitleLine());
                else
                    mirror.removeAt(n.index());
            });
        }
    }
    ~EditPathTest() override { QYNotificationCenter::sharedInstance().removeObserver(this); }

    void load(const QString& text) {
        view.replaceWholeText(text);
        posted.clear();
        deleted.clear();
    }
    void type(const QString& text) { QTest::keyClicks(&view, text); }
    // Every text line has its record, each reads as its line, and the waveform has them all.
    void expectInStep() {
        const QStringList lines = text().split(u'\n');
        const QList<SubtitleLinePtr>& records = view.getAllSubtitles();
        ASSERT_EQ(records.size(), lines.size()) << text().toStdString();
        for (qsizetype i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i]->getSubtitleLineString(), lines[i]) << "line " << i;
        EXPECT_EQ(mirror, records);
    }
    SubtitleLinePtr block(double start, double end) {
        auto block = SubtitleLine::create();
        block->setStartTime(start);
        block->setEndTime(end);
        return block;
    }

    QStringList posted;
    QList<SubtitleLinePtr> deleted;
    QList<SubtitleLinePtr> mirror;
};

// A record is replaced only where a line feed is typed or removed, or at the very end.
TEST_F(EditPathTest, EditsReplaceOnlyTheRecordsOfTheLinesTheyBreakOrJoin) {
    const struct {
        const char* name;
        QString script;
        qsizetype caret;
        const char* typed; // \r is Return, \b Backspace
        QString result;
        const char* posted;
        qsizetype editing; // the line of the caret afterwards
    } rows[] = {
        {"typing inside a line", kTimedLine + "\nnext", 15, "y",
         "[00:00:01.00]Heyllo[00:00:02.00]\nnext", "", 0},
        {"deleting inside a line", kTimedLine, 15, "\b", "[00:00:01.00]Hllo[00:00:02.00]", "", 0},
        {"typing at the very end", "a\nb", 3, "c", "a\nbc", "delete 1, add 1", 1},
        {"return after a timed line", kTimedLine, kTimedLine.size(), "\r", kTimedLine + "\n",
         "delete 0, add 0, add 1", 1},
        {"return in the middle", "one\ntwo three\nfour", 7, "\r", "one\ntwo\n three\nfour",
         "delete 1, add 1, add 2", 2},
        {"joining two lines", "one\ntwo\n three\nfour", 8, "\b", "one\ntwo three\nfour",
         "delete 1, delete 1, add 1", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load(row.script);
        const QList<SubtitleLinePtr> before = view.getAllSubtitles();
        select(row.caret);
        type(row.typed);
        EXPECT_EQ(text(), row.result);
        EXPECT_EQ(posted.join(", "), row.posted);
        for (const SubtitleLinePtr& record : before)
            EXPECT_EQ(view.getAllSubtitles().contains(record), !deleted.contains(record));
        EXPECT_EQ(view.currentEditingLine(), line(row.editing));
        expectInStep();
    }
}

TEST_F(EditPathTest, PastedTextIsNormalised) {
    load("x");
    select(1);
    auto* data = new QMimeData;
    data->setText(QString("a\r\nb\rc") + QChar(0x2028) + "d\te" + QChar(0x1b) + QChar(0x2029) +
                  "f");
    QApplication::clipboard()->setMimeData(data);
    view.paste();
    EXPECT_EQ(text(), "xa\nb\nc\nde\nf");
    expectInStep();
}

TEST_F(EditPathTest, UndoAndRedoKeepRecordsInStep) {
    load("first\nsecond");
    select(5);
    type("!");
    key(Qt::Key_Return);
    type("middle");
    for (int i = 0; i < 3; ++i) {
        view.undo();
        expectInStep();
    }
    EXPECT_EQ(text(), "first\nsecond");
    for (int i = 0; i < 3; ++i) {
        view.redo();
        expectInStep();
    }
    EXPECT_EQ(text(), "first!\nmiddle\nsecond");
}

TEST_F(EditPathTest, ShiftReturnBreaksARowInsteadOfTheLine) {
    load("ab");
    select(1);
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(text(), QString::fromUtf8("a⏎b"));
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(text(), QString::fromUtf8("a⏎\nb"));
    expectInStep();
}

// Blocks drawn over untimed lines and blocks deleted: WaveFormViewTest, through the mouse.
TEST_F(EditPathTest, ABlockDrawnAfterTheLastLineStartsALineOfItsOwn) {
    load(kTimedLine);
    view.didAddSubtitleLine(block(7, 8));
    EXPECT_EQ(text(), kTimedLine + "\n[00:00:07.00][00:00:08.00]");
    EXPECT_EQ(view.textCursor().position(), 32 + 13) << "after the new line's start";
    expectInStep();
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
