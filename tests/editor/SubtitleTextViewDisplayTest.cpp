#include "EditorTestSupport.h"
#include "FpsGuard.h"

#include <QTest>
#include <QTextLayout>

using namespace quillery;
using namespace quillery::test;

namespace {

const QColor kHighlight(59, 113, 227);
const QColor kLink(4, 109, 255);

class DisplayTest : public testing::Test {
protected:
    void SetUp() override {
        view.setTextViewDelegate(&delegate);
        view.setMoviePlayer(&player);
        view.resize(800, 400);
        view.show();
    }
    void load(const QString& text) { view.replaceWholeText(text); }
    const SubtitleLinePtr& line(qsizetype i) const { return view.getAllSubtitles()[i]; }

    // The colour the highlighter gave the character at a position of a line.
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

    FpsGuard guard{25};
    FakePlayer player;
    RecordingDelegate delegate;
    SubtitleTextView view;
};

TEST_F(DisplayTest, AnEndBeforeItsStartIsAnError) {
    load("[00:00:05.00]A[00:00:04.00]\nnext");
    EXPECT_TRUE(view.error());
    EXPECT_EQ(view.errorTimeCodes(), QStringList{"[00:00:04.00]"});
    EXPECT_EQ(view.errorTimeCodeRanges(), QList<TextRange>{(TextRange{14, 13})});
    EXPECT_EQ(background(0, 20), QColor(Qt::red));
    EXPECT_EQ(formatAt(0, 2).foreground().color(), kLink);
    EXPECT_FALSE(background(0, 2).isValid());

    view.setSelectedRange({14, 0});
    QTest::keyClicks(&view, "h");
    EXPECT_TRUE(line(0)->isEndTimeError);
    EXPECT_FALSE(line(0)->isStartTimeError);
}

TEST_F(DisplayTest, EqualStartsPassTheWholeCheckButNotTheLineCheck) {
    load("[00:00:01.00]A\n[00:00:01.00]B");
    EXPECT_FALSE(view.error());
    view.setSelectedRange({29, 0});
    QTest::keyClicks(&view, "b");
    EXPECT_TRUE(line(1)->isStartTimeError);
    EXPECT_EQ(background(1, 0), QColor(Qt::red));
}

TEST_F(DisplayTest, FindNextErrorWrapsAndSelectsTheFlaggedString) {
    load("[00:00:05.00]A[00:00:04.00]\n[00:00:06.00]B[00:00:07.00]\n[00:00:02.00]C[00:00:08.00]");
    for (qsizetype i = 0; i < 3; ++i)
        view.addDisplayAttributeToSubtitleline(i);
    view.setSelectedRange({0, 0});
    view.findNextErrorTimecode();
    EXPECT_EQ(view.selectedRange(), (TextRange{14, 13})) << "the end of line 0";
    view.findNextErrorTimecode();
    EXPECT_EQ(view.selectedRange(), (TextRange{56, 13})) << "the start of line 2";
    view.findNextErrorTimecode();
    EXPECT_EQ(view.selectedRange(), (TextRange{14, 13})) << "wrapped round";
}

TEST_F(DisplayTest, AutoCorrectionRewritesTheWholeScript) {
    load("[00:00:01.00]A[00:00:03.05]\n[00:00:03.00]B[00:00:03.10]");
    view.autoCorrectErrorTimecode();
    // 3.2 + 0.5 = 3.7 s; 0.7 x 25 in single precision is just below 17.5, so frame 17.
    EXPECT_EQ(view.toPlainText(), "[00:00:01.00]A[00:00:03.05]\n[00:00:03.05]B[00:00:03.17]\n");
    EXPECT_FALSE(view.error());
}

TEST_F(DisplayTest, ShiftingTheSelection) {
    load("[00:00:01.00]A [00:00:03.00] x[00:00:04.00]\nB");
    view.setSelectedRange({0, 0});
    view.adjustTimeStringInSelectionWithTimeIncreament(MediaTime::make(50000, 25000), false);
    EXPECT_EQ(view.toPlainText(), "[00:00:00.00]A [00:00:01.00] x[00:00:02.00]\nB");
    EXPECT_EQ(view.selectedRange(), (TextRange{0, 45}));
}

TEST_F(DisplayTest, HighlightFollowsThePlayingLine) {
    load("[00:00:01.00]A⏎a[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    view.setSelectedRange({2, 3});
    view.setHighlightSubtitle(view.getCurrentSubtitle(MediaTime::make(3, 2)));
    EXPECT_EQ(view.highlightLineNumber(), 0);
    EXPECT_EQ(background(0, 13), kHighlight);
    EXPECT_EQ(formatAt(0, 14).foreground().color(), QColor(Qt::red)) << "the line-break mark";
    EXPECT_EQ(view.selectedRange(), (TextRange{2, 3}));

    view.setHighlightSubtitle(line(0));
    EXPECT_EQ(view.highlightLineNumber(), 0);

    view.setHighlightSubtitle(view.getCurrentSubtitle(MediaTime::make(7, 2)));
    EXPECT_EQ(view.highlightLineNumber(), 1);
    EXPECT_FALSE(background(0, 13).isValid());
    EXPECT_EQ(formatAt(0, 13).foreground().color(), QColor(Qt::black));
    EXPECT_EQ(background(1, 13), kHighlight);
    view.setHighlightSubtitle(nullptr);
    EXPECT_EQ(view.highlightLineNumber(), 1);
}

TEST_F(DisplayTest, ClickingATimeStringSelectsItAndMovesThePlayer) {
    load("[00:00:01.00]A[00:00:02.00]\n[00:00:03.00]B[00:00:04.00]");
    QTextCursor cursor(view.document());
    cursor.setPosition(48);
    const QPoint point = view.cursorRect(cursor).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(view.selectedRange(), (TextRange{42, 13}));
    EXPECT_EQ(view.currentEditingLine(), line(1));
    ASSERT_FALSE(delegate.selectedTimes.isEmpty());
    EXPECT_DOUBLE_EQ(delegate.selectedTimes.back(), 4.0);
}

TEST_F(DisplayTest, TimeStringSelectedNeedsExactlyOneTimeString) {
    load("[00:00:01.00]A[00:00:02.000]");
    view.setSelectedRange({0, 13});
    EXPECT_EQ(view.timeStringSelected(), "[00:00:01.00]");
    view.setSelectedRange({14, 14});
    EXPECT_EQ(view.timeStringSelected(), "[00:00:02.000]");
    view.setSelectedRange({0, 14});
    EXPECT_TRUE(view.timeStringSelected().isNull());
}

} // namespace
