// What the editor shows: flagged time strings, the playing line, the selection.
#include "EditorTestSupport.h"

#include <QTextBlock>
#include <QTextLayout>

using namespace quillery;
using namespace quillery::test;

namespace {

const QColor kHighlight(59, 113, 227);
const QColor kLink(4, 109, 255);

class DisplayTest : public EditorTest {
protected:
    // The format the highlighter gave the character at a position of a line.
    QTextCharFormat formatAt(int lineNumber, int position) const {
        const QTextBlock block = view.document()->findBlockByNumber(lineNumber);
        QTextCharFormat found;
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (position >= range.start && position < range.start + range.length)
                found = range.format;
        }
        return found;
    }
    QColor background(int lineNumber, int position) const {
        const QTextCharFormat format = formatAt(lineNumber, position);
        return format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color()
                                                                : QColor();
    }
};

TEST_F(DisplayTest, AnEndBeforeItsStartIsAnError) {
    load("[00:00:05.00]A[00:00:04.00]\nnext");
    EXPECT_TRUE(view.error());
    EXPECT_EQ(view.errorTimeCodeRanges(), QList<TextRange>{(TextRange{14, 13})});
    EXPECT_EQ(background(0, 20), QColor(Qt::red));
    EXPECT_EQ(formatAt(0, 2).foreground().color(), kLink);
    EXPECT_FALSE(background(0, 2).isValid());

    select(14);
    QTest::keyClicks(&view, "h");
    EXPECT_TRUE(line(0)->isEndTimeError);
    EXPECT_FALSE(line(0)->isStartTimeError);
}

TEST_F(DisplayTest, EqualStartsPassTheWholeCheckButNotTheLineCheck) {
    load("[00:00:01.00]A\n[00:00:01.00]B");
    EXPECT_FALSE(view.error());
    select(29);
    QTest::keyClicks(&view, "b");
    EXPECT_TRUE(line(1)->isStartTimeError);
    EXPECT_EQ(background(1, 0), QColor(Qt::red));
}

TEST_F(DisplayTest, FindNextErrorWrapsAndSelectsTheFlaggedString) {
    load("[00:00:05.00]A[00:00:04.00]\n[00:00:06.00]B[00:00:07.00]\n[00:00:02.00]C[00:00:08.00]");
    for (qsizetype i = 0; i < 3; ++i)
        view.addDisplayAttributeToSubtitleline(i);
    for (const TextRange expected : {TextRange{14, 13}, TextRange{56, 13}, TextRange{14, 13}}) {
        view.findNextErrorTimecode();
        EXPECT_EQ(view.selectedRange(), expected);
    }
}

TEST_F(DisplayTest, HighlightFollowsThePlayingLine) {
    load("[00:00:01.00]A⏎a[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    select(2, 3);
    view.setHighlightSubtitle(view.getCurrentSubtitle(MediaTime::make(3, 2)));
    EXPECT_EQ(background(0, 13), kHighlight);
    EXPECT_EQ(formatAt(0, 14).foreground().color(), QColor(Qt::red)) << "the line-break mark";
    EXPECT_EQ(view.selectedRange(), (TextRange{2, 3}));

    view.setHighlightSubtitle(view.getCurrentSubtitle(MediaTime::make(7, 2)));
    EXPECT_FALSE(background(0, 13).isValid());
    EXPECT_EQ(formatAt(0, 13).foreground().color(), QColor(Qt::black));
    view.setHighlightSubtitle(nullptr); // between lines: the last one stays lit
    EXPECT_EQ(background(1, 13), kHighlight);
}

TEST_F(DisplayTest, ClickingATimeStringSelectsItAndMovesThePlayer) {
    load("[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    QTextCursor cursor(view.document());
    cursor.setPosition(48);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      view.cursorRect(cursor).center());
    EXPECT_EQ(view.selectedRange(), (TextRange{42, 13}));
    EXPECT_EQ(view.currentEditingLine(), line(1));
    EXPECT_EQ(delegate.selectedTimes, QList<double>{4.0});
}

} // namespace
