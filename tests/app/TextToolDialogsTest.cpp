#include "FpsGuard.h"
#include "QYAdjustTimeCodeWindowController.h"
#include "QYReplaceTextWindowController.h"
#include "QYTextView.h"
#include "TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>
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

// Shows the dialog, lets `close` end it and gives back the code it ended with.
int codeAfter(QDialog& dialog, const std::function<void()>& close) {
    showAndActivate(dialog);
    close();
    EXPECT_FALSE(dialog.isVisible());
    return dialog.result();
}

TEST(ReplaceTextSheetTest, ButtonFollowsTheLineCountsAndEveryWayOutHasItsCode) {
    QYReplaceTextWindowController sheet;
    sheet.setOriginalText("[00:00:01.00]one[00:00:02.00]\n\n[00:00:03.00]two[00:00:04.00]\n");
    EXPECT_FALSE(sheet.doneButton()->isEnabled());
    sheet.textView()->setPlainText("uno\n dos \n");
    EXPECT_TRUE(sheet.doneButton()->isEnabled());
    EXPECT_EQ(sheet.getReplaceText(), "uno\ndos");

    // A new round starts from an empty field.
    sheet.setOriginalText("one\ntwo");
    showAndActivate(sheet);
    typeInto(sheet.textView(), "uno");
    QTest::keyClick(sheet.textView(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(sheet.isVisible()) << "one line against two cannot be confirmed";
    typeInto(sheet.textView(), "\ndos");
    EXPECT_EQ(sheet.textView()->toPlainText(), "uno\ndos") << "Return starts a new line";

    QWidget* field = sheet.textView();
    EXPECT_EQ(
        codeAfter(sheet, [field] { QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier); }),
        kConfirmed);
    EXPECT_EQ(codeAfter(sheet, [&sheet] { sheet.doneButton()->click(); }), kConfirmed);
    EXPECT_EQ(codeAfter(sheet, [&sheet] { sheet.cancelButton()->click(); }), kCancelled);
}

// The fixture stands in for the script that receives the shift.
class AdjustTimeCodeDialogTest : public testing::Test, public QYAdjustTimeCodeDelegate {
protected:
    AdjustTimeCodeDialogTest() { dialog.setDelegate(this); }

    void adjustTimeCodeWithTime(const MediaTime& time, bool isForward) override {
        const QString direction = isForward ? "forward" : "backward";
        shifts.append(QString("%1/%2 %3").arg(time.value).arg(time.timescale).arg(direction));
    }

    QString fields() const {
        return QStringList{dialog.hourTextField()->text(), dialog.minuteTextField()->text(),
                           dialog.secondTextField()->text(), dialog.frameTextField()->text()}
            .join(u' ');
    }

    FpsGuard guard{25};
    QStringList shifts; // "value/timescale direction"
    QYAdjustTimeCodeWindowController dialog;
};

TEST_F(AdjustTimeCodeDialogTest, SteppingCarriesOnlyOkAndReturnShiftAndResetStartsAfresh) {
    retype(dialog.secondTextField(), "1");
    retype(dialog.frameTextField(), "24");
    dialog.frameStepper()->stepUp();
    EXPECT_EQ(fields(), "0 0 2 0");
    dialog.radio()->button(QYAdjustTimeCodeWindowController::kForwardRow)->click();
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes forward 00:00:02.00");

    QLineEdit* field = dialog.frameTextField();
    EXPECT_EQ(codeAfter(dialog, [field] { QTest::keyClick(field, Qt::Key_Return); }), kConfirmed);
    EXPECT_EQ(codeAfter(dialog, [this] { dialog.cancelButton()->click(); }), kCancelled);
    EXPECT_EQ(shifts, QStringList{"50000/25000 forward"});

    const FpsGuard ntsc(29.97);
    dialog.reset();
    EXPECT_EQ(fields(), "0 0 0 0");
    EXPECT_EQ(dialog.radio()->checkedId(), QYAdjustTimeCodeWindowController::kBackwardRow);
    EXPECT_EQ(dialog.fps(), 29.97);
}

TEST_F(AdjustTimeCodeDialogTest, InvalidTypingRevertsToTheStepper) {
    retype(dialog.hourTextField(), "2");
    retype(dialog.hourTextField(), "0");
    EXPECT_EQ(dialog.hourTextField()->text(), "2") << "hours start at 1";

    retype(dialog.minuteTextField(), "7x");
    EXPECT_EQ(dialog.minuteTextField()->text(), "7");
    retype(dialog.frameTextField(), "26");
    EXPECT_EQ(dialog.frameTextField()->text(), "2") << "26 frames is more than 25 fps";
    retype(dialog.secondTextField(), "");
    dialog.secondTextField()->backspace();
    EXPECT_EQ(dialog.secondTextField()->text(), "0");
    EXPECT_EQ(dialog.resultLabel()->text(), "Shift all time codes backward 02:07:00.02");
}

// Drops files with these contents on the middle of the view, all in one drag.
void dropFiles(QYTextView& view, const QList<QByteArray>& contents) {
    QTemporaryDir dir;
    QList<QUrl> urls;
    for (const QByteArray& bytes : contents)
        urls << QUrl::fromLocalFile(
            test::writeFile(dir.filePath(QString("%1.txt").arg(urls.size())), bytes));
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = view.viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &dropped);
}

TEST(TextViewDropTest, DroppedFileReplacesTheTextUndoablyAndTheLastFileWins) {
    QYTextView view;
    view.setPlainText("typed");
    dropFiles(view, {"first\r\nfile\r\n"});
    EXPECT_EQ(view.toPlainText(), "first\nfile\n");
    view.undo();
    EXPECT_EQ(view.toPlainText(), "typed");

    dropFiles(view, {"first", "second"});
    EXPECT_EQ(view.toPlainText(), "second");
}

} // namespace
