#include "FpsGuard.h"
#include "QYAdjustTimeCodeWindowController.h"
#include "QYConsolidateTextWindowController.h"
#include "QYReplaceTextWindowController.h"
#include "QYTextView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

constexpr int kConfirmed = 1;
constexpr int kCancelled = -1;

// Typed key by key, Return for every line feed.
void typeInto(QWidget* field, const QString& text) {
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(field, lines[i]);
    }
}

void retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    typeInto(field, text);
}

void showAndActivate(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST(ReplaceTextSheetTest, ButtonFollowsTheLineCounts) {
    QYReplaceTextWindowController sheet;
    EXPECT_EQ(sheet.windowTitle(), "Replace Text");
    EXPECT_EQ(sheet.doneButton()->text(), "Replace");
    EXPECT_EQ(sheet.cancelButton()->text(), "Cancel");
    EXPECT_EQ(sheet.textView()->placeholderText(),
              "Please paste your text here or drag and drop your text file here");

    sheet.setOriginalText("[00:00:01.00]one[00:00:02.00]\n\n[00:00:03.00]two[00:00:04.00]\n");
    EXPECT_FALSE(sheet.doneButton()->isEnabled());
    EXPECT_EQ(sheet.warningLabel()->text(),
              "The line quantity of oringal 2 is not the same as replace text 0");

    typeInto(sheet.textView(), "uno\n dos \ntres");
    EXPECT_FALSE(sheet.doneButton()->isEnabled());
    EXPECT_EQ(sheet.warningLabel()->text(),
              "The line quantity of oringal 2 is not the same as replace text 3");

    sheet.textView()->setPlainText("uno\n dos \n");
    EXPECT_TRUE(sheet.doneButton()->isEnabled());
    EXPECT_TRUE(sheet.warningLabel()->text().isEmpty());
    EXPECT_EQ(sheet.getReplaceText(), "uno\ndos");
}

TEST(ReplaceTextSheetTest, NewRoundEmptiesTheField) {
    QYReplaceTextWindowController sheet;
    sheet.setOriginalText("one");
    sheet.textView()->setPlainText("uno");
    ASSERT_TRUE(sheet.doneButton()->isEnabled());

    sheet.setOriginalText("one\ntwo");
    EXPECT_TRUE(sheet.textView()->toPlainText().isEmpty());
    EXPECT_FALSE(sheet.doneButton()->isEnabled());
}

TEST(ReplaceTextSheetTest, ButtonsEndWithTheirCodes) {
    QYReplaceTextWindowController sheet;
    sheet.setOriginalText("one");
    sheet.textView()->setPlainText("uno");
    showAndActivate(sheet);
    sheet.doneButton()->click();
    EXPECT_EQ(sheet.result(), kConfirmed);
    EXPECT_FALSE(sheet.isVisible());

    showAndActivate(sheet);
    sheet.cancelButton()->click();
    EXPECT_EQ(sheet.result(), kCancelled);
}

TEST(ReplaceTextSheetTest, KeyboardConfirmsOnlyWhenAllowed) {
    QYReplaceTextWindowController sheet;
    sheet.setOriginalText("one\ntwo");
    showAndActivate(sheet);

    typeInto(sheet.textView(), "uno");
    QTest::keyClick(sheet.textView(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(sheet.isVisible()) << "one line against two cannot be confirmed";

    QTest::keyClick(sheet.textView(), Qt::Key_Return);
    EXPECT_TRUE(sheet.isVisible()) << "Return in the field starts a new line";
    typeInto(sheet.textView(), "dos");
    EXPECT_EQ(sheet.textView()->toPlainText(), "uno\ndos");

    QTest::keyClick(sheet.textView(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), kConfirmed);

    showAndActivate(sheet);
    QTest::keyClick(sheet.textView(), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), kCancelled);
}

TEST(ConsolidateTextSheetTest, TwoLinesAgainstThreeAreRefused) {
    QYConsolidateTextWindowController sheet;
    EXPECT_EQ(sheet.windowTitle(), "Consolidate Text");
    EXPECT_EQ(sheet.doneButton()->text(), "Consolidate");

    sheet.setOriginalText("one\ntwo\n");
    typeInto(sheet.textView(), "uno\ndos\ntres");
    EXPECT_FALSE(sheet.doneButton()->isEnabled());
    EXPECT_EQ(sheet.warningLabel()->text(),
              "The line quantity of oringal 2 is not the same as replace text 3");
}

TEST(ConsolidateTextSheetTest, InterleavesTheTranslation) {
    QYConsolidateTextWindowController sheet;
    sheet.setOriginalText("[00:00:01.00]one[00:00:02.00]\ntwo\n");
    typeInto(sheet.textView(), "uno\n\ndos\n");
    ASSERT_TRUE(sheet.doneButton()->isEnabled());
    EXPECT_EQ(sheet.getConsolidateText(), "[00:00:01.00]one[00:00:02.00]\nuno\ntwo\ndos");
}

struct RecordedShift {
    MediaTime time;
    bool isForward = false;
};

class RecordingDelegate : public QYAdjustTimeCodeDelegate {
public:
    void adjustTimeCodeWithTime(const MediaTime& time, bool isForward) override {
        shifts.push_back({time, isForward});
    }
    std::vector<RecordedShift> shifts;
};

class AdjustTimeCodeDialogTest : public testing::Test {
protected:
    AdjustTimeCodeDialogTest() {
        dialog.setDelegate(&delegate);
        dialog.reset();
    }

    QString fields() const {
        return QStringList{dialog.hourTextField()->text(), dialog.minuteTextField()->text(),
                           dialog.secondTextField()->text(), dialog.frameTextField()->text()}
            .join(u' ');
    }

    FpsGuard guard{25};
    RecordingDelegate delegate;
    QYAdjustTimeCodeWindowController dialog;
};

TEST_F(AdjustTimeCodeDialogTest, ResetStartsAtZeroBackwardAtTheCurrentRate) {
    dialog.hourStepper()->stepUp();
    retype(dialog.frameTextField(), "7");
    dialog.radio()->button(QYAdjustTimeCodeWindowController::kForwardRow)->click();

    const FpsGuard ntsc(29.97);
    dialog.reset();
    EXPECT_EQ(fields(), "0 0 0 0");
    for (QSpinBox* stepper : {dialog.hourStepper(), dialog.minuteStepper(), dialog.secondStepper(),
                              dialog.frameStepper()})
        EXPECT_EQ(stepper->value(), 0);
    EXPECT_EQ(dialog.radio()->checkedId(), QYAdjustTimeCodeWindowController::kBackwardRow);
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes backward 00:00:00.00");
    EXPECT_EQ(dialog.fps(), 29.97);
    EXPECT_EQ(dialog.focusWidget(), dialog.frameTextField());
}

TEST_F(AdjustTimeCodeDialogTest, FullSecondOfFramesCarriesAndShiftsWholeFrames) {
    retype(dialog.secondTextField(), "1");
    retype(dialog.frameTextField(), "25");
    EXPECT_EQ(fields(), "0 0 2 0");
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes backward 00:00:02.00");

    dialog.okButton()->click();
    ASSERT_EQ(delegate.shifts.size(), 1u);
    EXPECT_EQ(delegate.shifts[0].time.value, 50000);
    EXPECT_EQ(delegate.shifts[0].time.timescale, 25000);
    EXPECT_FALSE(delegate.shifts[0].isForward);
    EXPECT_EQ(dialog.result(), kConfirmed);
}

TEST_F(AdjustTimeCodeDialogTest, InvalidTypingRevertsToTheStepper) {
    dialog.hourStepper()->stepUp();
    dialog.hourStepper()->stepUp();
    ASSERT_EQ(dialog.hourTextField()->text(), "2");
    retype(dialog.hourTextField(), "0");
    EXPECT_EQ(dialog.hourTextField()->text(), "2") << "hours start at 1";
    EXPECT_EQ(dialog.hourStepper()->value(), 2);

    retype(dialog.minuteTextField(), "7x");
    EXPECT_EQ(dialog.minuteTextField()->text(), "7");
    retype(dialog.frameTextField(), "26");
    EXPECT_EQ(dialog.frameTextField()->text(), "2") << "26 frames is more than 25 fps";
    retype(dialog.secondTextField(), "");
    dialog.secondTextField()->backspace();
    EXPECT_EQ(dialog.secondTextField()->text(), "0");
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes backward 02:07:00.02");
}

TEST_F(AdjustTimeCodeDialogTest, SteppersCarryToo) {
    retype(dialog.minuteTextField(), "59");
    retype(dialog.secondTextField(), "59");
    retype(dialog.frameTextField(), "24");
    dialog.frameStepper()->stepUp();
    EXPECT_EQ(fields(), "1 0 0 0");
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes backward 01:00:00.00");
}

TEST_F(AdjustTimeCodeDialogTest, ReturnConfirmsForward) {
    showAndActivate(dialog);
    dialog.radio()->button(QYAdjustTimeCodeWindowController::kForwardRow)->click();
    retype(dialog.frameTextField(), "5");
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes forward 00:00:00.05");

    QTest::keyClick(dialog.frameTextField(), Qt::Key_Return);
    ASSERT_EQ(delegate.shifts.size(), 1u);
    EXPECT_EQ(delegate.shifts[0].time.value, 5000);
    EXPECT_TRUE(delegate.shifts[0].isForward);
    EXPECT_EQ(dialog.result(), kConfirmed);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AdjustTimeCodeDialogTest, EscapeAndCancelShiftNothing) {
    retype(dialog.secondTextField(), "3");
    showAndActivate(dialog);
    QTest::keyClick(dialog.secondTextField(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), kCancelled);
    EXPECT_FALSE(dialog.isVisible());

    showAndActivate(dialog);
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), kCancelled);
    EXPECT_TRUE(delegate.shifts.empty());
}

TEST_F(AdjustTimeCodeDialogTest, TabWalksTheFieldsThenTheDirection) {
    showAndActivate(dialog);
    dialog.hourTextField()->setFocus();
    for (QWidget* next : std::initializer_list<QWidget*>{
             dialog.minuteTextField(), dialog.secondTextField(), dialog.frameTextField(),
             dialog.radio()->button(QYAdjustTimeCodeWindowController::kBackwardRow)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

class TextViewDropTest : public testing::Test {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void drop(const QStringList& paths) {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint at = view.viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &dropped);
    }

    QTemporaryDir dir;
    QYTextView view;
};

TEST_F(TextViewDropTest, DroppedFileTextReplacesTheFieldAndCanBeUndone) {
    view.setPlainText("typed");
    drop({writeFile("a.txt", "first\r\nfile\r\n")});
    EXPECT_EQ(view.toPlainText(), "first\nfile\n");

    view.undo();
    EXPECT_EQ(view.toPlainText(), "typed");
}

TEST_F(TextViewDropTest, LastDroppedFileWins) {
    drop({writeFile("a.txt", "first"), writeFile("b.txt", "second")});
    EXPECT_EQ(view.toPlainText(), "second");
}

} // namespace
