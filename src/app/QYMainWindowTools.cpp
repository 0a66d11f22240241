// The main window's Tools menu: bulk text transformations put into the editor as ordinary
// edits, the two sheets that bring in new texts, and the Adjust Time Code dialog.
#include "HelpResources.h"
#include "Localization.h"
#include "QYConsolidateTextWindowController.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYMoviePlayerViewController.h"
#include "QYReplaceTextWindowController.h"
#include "ScriptMarks.h"
#include "SubtitleTextView.h"
#include "TextFileReader.h"
#include "TextTools.h"

namespace quillery {

QYReplaceTextWindowController& QYMainWindowController::replaceTextWindow() {
    if (replaceTextWindow_ == nullptr)
        replaceTextWindow_ = new QYReplaceTextWindowController(this);
    return *replaceTextWindow_;
}

QYConsolidateTextWindowController& QYMainWindowController::consolidateTextWindow() {
    if (consolidateTextWindow_ == nullptr)
        consolidateTextWindow_ = new QYConsolidateTextWindowController(this);
    return *consolidateTextWindow_;
}

QYAdjustTimeCodeWindowController& QYMainWindowController::adjustTimeCodeWindow() {
    if (adjustTimeCodeWindow_ == nullptr) {
        adjustTimeCodeWindow_ = new QYAdjustTimeCodeWindowController(this);
        adjustTimeCodeWindow_->setDelegate(this);
    }
    return *adjustTimeCodeWindow_;
}

void QYMainWindowController::convertTimeCodeFormat() {
    replaceTextInTextView(quillery::convertTimeCodeFormat(textView_->toPlainText()));
}

void QYMainWindowController::convertDoubleLine() {
    const int answer = presenter_->runAlert(
        {localized("Warning"),
         localized("The even lines will be merged into the odd lines, so that every two lines "
                   "become one subtitle of two rows."),
         QString(),
         {localized("Cancel"), localized("Continue")},
         0});
    if (answer != 1)
        return;
    QTextCursor cursor = textView_->textCursor();
    if (!cursor.hasSelection()) {
        replaceTextInTextView(quillery::convertDoubleLine(textView_->toPlainText()));
        return;
    }
    const QString region = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    // A selection of whole lines keeps its final line feed, so the next line stays apart.
    const QString lineEnd = region.endsWith(u'\n') ? QStringLiteral("\n") : QString();
    cursor.insertText(quillery::convertDoubleLine(region) + lineEnd);
}

void QYMainWindowController::cutOddLines() {
    textView_->cut1Lines();
}

void QYMainWindowController::cutEvenLines() {
    textView_->cut2Lines();
}

void QYMainWindowController::insertBreakLine() {
    textView_->insertText(QString(kLineBreakMark));
    textView_->refreshTextViewDisplayAfterKeyboardInput();
}

void QYMainWindowController::replaceText() {
    QYReplaceTextWindowController& sheet = replaceTextWindow();
    sheet.setOriginalText(textView_->toPlainText());
    if (sheet.exec() == 1)
        textView_->pasteTextOnly(sheet.getReplaceText());
}

void QYMainWindowController::replaceTimeCode() {
    textView_->pasteTimeCodeOnly();
}

void QYMainWindowController::didPressRemoveEmptyLineMenuItem() {
    replaceTextInTextView(
        TextFileReader::sharedInstance().removeEmptyLinesFromString(textView_->toPlainText()));
}

void QYMainWindowController::autoCorrectErrorTimecode() {
    textView_->autoCorrectErrorTimecode();
}

void QYMainWindowController::findErrorTimeCode() {
    textView_->findNextErrorTimecode();
}

void QYMainWindowController::convertPuntuation() {
    replaceTextInTextView(convertPunctuation(textView_->toPlainText()));
}

void QYMainWindowController::consolidateText() {
    QYConsolidateTextWindowController& sheet = consolidateTextWindow();
    sheet.setOriginalText(textView_->toPlainText());
    if (sheet.exec() == 1)
        replaceTextInTextView(sheet.getConsolidateText());
}

void QYMainWindowController::insertCurrentTimeCode() {
    // Without a movie there is no current time to insert.
    if (!moviePlayer_->hasMovie())
        return;
    textView_->insertCurrentTimeString();
    textView_->refreshTextViewDisplayAfterKeyboardInput();
}

void QYMainWindowController::didPressAdjustTimeCodeMenuItem() {
    QYAdjustTimeCodeWindowController& dialog = adjustTimeCodeWindow();
    dialog.reset();
    dialog.exec();
}

void QYMainWindowController::adjustTimeCodeWithTime(const MediaTime& time, bool isForward) {
    textView_->adjustTimeStringInSelectionWithTimeIncreament(time, isForward);
    textViewDidChange();
}

void QYMainWindowController::makeTimeCode() {
    openResource(handHelpImagePath());
}

} // namespace quillery
