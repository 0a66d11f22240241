#include "SubtitleTextView.h"

#include "Localization.h"
#include "NotificationNames.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "QYStringUtility.h"
#include "QYTimeUtility.h"
#include "ScriptHighlighter.h"
#include "ScriptMarks.h"
#include "SubtitleTextViewDelegate.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTimer>

namespace quillery {

namespace {

using ListGuard = std::lock_guard<std::recursive_mutex>;

QYNotificationCenter& notificationCenter() {
    return QYNotificationCenter::sharedInstance();
}

// The waveform's incoming requests, which the editor observes for its whole life.
const QStringList& incomingNotificationNames() {
    static const QStringList names = {
        kAddSubtitleLineToTextViewNotification,
        kDeleteSubtitleLineFromTextViewNotification,
        kUpdateSubtitleTextViewTextNotification,
        QYWaveFormTextViewDidSelectStartTimeCodeNotification,
        QYWaveFormTextViewDidSelectEndTimeCodeNotification,
        QYWaveFormTextViewDidChangeStartTimeCodeNotification,
        QYWaveFormTextViewDidChangeEndTimeCodeNotification,
        kHighlightSubtitleTextNotification,
        kMoviePlayerDidPauseNotification,
    };
    return names;
}

} // namespace

SubtitleTextView::SubtitleTextView(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(true);
    setAcceptDrops(true);
    setMouseTracking(true);
    document()->setDocumentMargin(5);
    // Every character is coloured by the highlighter, so the palette's text colour only
    // shows as the caret's.
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::red);
    colours.setColor(QPalette::Link, QColor(4, 109, 255));
    setPalette(colours);
    restoreTypingFont();
    setPlaceholderText(
        localized("Type or paste the subtitles here, one per line, or drop a subtitle file."));

    // The records must be up to date before the highlighter colours the changed blocks,
    // so the edit path is connected first.
    connect(document(), &QTextDocument::contentsChange, this, &SubtitleTextView::textDidChange);
    highlighter_ = new ScriptHighlighter(
        document(),
        [this](int n) {
            return n < getAllSubtitles().size() ? getAllSubtitles()[n].get() : nullptr;
        },
        [this](int n) { return n == highlightLineNumber_; });

    keyboardRefreshTimer_ = new QTimer(this);
    keyboardRefreshTimer_->setSingleShot(true);
    keyboardRefreshTimer_->setInterval(300);
    connect(keyboardRefreshTimer_, &QTimer::timeout, this,
            &SubtitleTextView::refreshTextViewDisplayAfterKeyboardInput);

    registerNotifications();
    const QList<SubtitleLinePtr> initial = generateSubtitleLines(toPlainText(), {});
    for (qsizetype i = 0; i < initial.size(); ++i)
        insertSubtitleLine(i, initial[i]);
    currentEditingLine_ = getAllSubtitles().front();
}

SubtitleTextView::~SubtitleTextView() {
    disconnect(document(), nullptr, this, nullptr);
    notificationCenter().removeObserver(this);
}

void SubtitleTextView::setFcpxFrameDuration(int32_t numerator, int32_t denominator) {
    script_.setFrameDuration({numerator, denominator});
}

double SubtitleTextView::movieDuration() const {
    return duration_.isNumeric() ? duration_.seconds() : 0.0;
}

int32_t SubtitleTextView::numeratorFromQuilleryTimecode(const QString& timeString) const {
    return script_.numeratorFromQuilleryTimecode(timeString);
}

// --- Text in ----------------------------------------------------------------------------

QString SubtitleTextView::normalised(const QString& text) const {
    return QYStringUtility::sharedInstance().trimTwoNewLineCharacterIntoOne(text);
}

void SubtitleTextView::insertText(const QString& text) {
    insertAtCaret(normalised(text));
}

void SubtitleTextView::insertAtCaret(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

void SubtitleTextView::setString(const QString& text) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(normalised(text));
}

void SubtitleTextView::replaceWholeText(const QString& text) {
    setString(text);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
    refreshTextViewDisplay();
}

void SubtitleTextView::replaceRange(TextRange range, const QString& text) {
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(range.location));
    cursor.setPosition(static_cast<int>(range.end()), QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

QString SubtitleTextView::selectedPlainText() const {
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

// --- The edit path ----------------------------------------------------------------------

void SubtitleTextView::textDidChange(int position, int charsRemoved, int charsAdded) {
    const qsizetype newLength = document()->characterCount() - 1;
    // A change of the whole document counts its closing paragraph separator on both
    // sides; that is no character of the script.
    const qsizetype oldLength = newLength - charsAdded + charsRemoved;
    charsRemoved = static_cast<int>(std::min<qsizetype>(charsRemoved, oldLength - position));
    charsAdded = static_cast<int>(std::min<qsizetype>(charsAdded, newLength - position));

    const SubtitleScript::LineSpan span = script_.lineSpanOf(position, position + charsRemoved);
    const bool replacedLineFeed = span.last > span.first;
    const bool insertedLineFeed = document()->findBlock(position).blockNumber() !=
                                  document()->findBlock(position + charsAdded).blockNumber();
    const bool reachesTheEnd = position + charsRemoved >= span.textLength;
    if (adjustingTimeCode_ || !(replacedLineFeed || insertedLineFeed || reachesTheEnd))
        handleSingleTextChange(span.first, position);
    else
        replaceLines(span, position, charsAdded);

    if (!hasMarkTextBefore_)
        refreshTextViewDisplayAfterKeyboardInput();
    if (textViewDelegate_)
        textViewDelegate_->textViewDidChange();
}

void SubtitleTextView::replaceLines(const SubtitleScript::LineSpan& span, int position,
                                    int charsAdded) {
    const QList<SubtitleLinePtr> inserted =
        script_.createSubtitleLinesFromText(wholeLinesAround(position, position + charsAdded));
    ListGuard guard(script_.listLock());
    const qsizetype first = span.first;
    const qsizetype count = std::min(span.last - span.first + 1, getAllSubtitles().size() - first);
    for (qsizetype k = 0; k < count; ++k)
        removeSubtitleLineAt(first);
    for (qsizetype j = 0; j < inserted.size(); ++j)
        insertSubtitleLine(first + j, inserted[j]);
    currentEditingLine_ = inserted.back();
    if (changingSubtitleLineArray_.isEmpty())
        firstChangingIndex_ = first;
    changingSubtitleLineArray_.append(inserted);
}

void SubtitleTextView::handleSingleTextChange(qsizetype index, int position) {
    const SubtitleLinePtr record = getAllSubtitles()[index];
    currentEditingLine_ = record;
    record->assignTimesAndText(*script_.parseText(document()->findBlock(position).text()));
    if (changingSubtitleLineArray_.isEmpty())
        firstChangingIndex_ = index;
    changingSubtitleLineArray_.append(record);
}

QString SubtitleTextView::wholeLinesAround(int from, int to) const {
    QTextBlock block = document()->findBlock(from);
    const QTextBlock last = document()->findBlock(to);
    QString lines = block.text();
    while (block != last && block.isValid()) {
        block = block.next();
        lines += u'\n' + block.text();
    }
    return lines;
}

void SubtitleTextView::removeSubtitleLineAt(qsizetype index) {
    const SubtitleLinePtr line = getAllSubtitles()[index];
    script_.removeSubtitleLineAt(index);
    notificationCenter().postNotificationName(kDeleteSubtitleLineFromWaveFormNotification, line,
                                              indexUserInfo(static_cast<int>(index)));
}

void SubtitleTextView::insertSubtitleLine(qsizetype index, const SubtitleLinePtr& line) {
    script_.insertSubtitleLine(index, line);
    notificationCenter().postNotificationName(kAddSubtitleLineToWaveFormNotification, line,
                                              indexUserInfo(static_cast<int>(index)));
}

// --- Records and positions --------------------------------------------------------------

SubtitleLinePtr SubtitleTextView::lineAtLocation(qsizetype location) const {
    return script_.getSubtitleLineWithRange({location, 0});
}

SubtitleLinePtr SubtitleTextView::lineAtCaret() const {
    return lineAtLocation(textCursor().position());
}

TextRange SubtitleTextView::selectedRange() const {
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void SubtitleTextView::setSelectedRange(TextRange range) {
    QTextCursor cursor(document());
    const int length = document()->characterCount() - 1;
    cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(range.location, 0, length)));
    cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(range.end(), 0, length)),
                       QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void SubtitleTextView::selectTimeCodeOfSubtitleLine(const SubtitleLine* line,
                                                    bool isStartTimeCode) {
    const TextRange range = script_.findTimeCodeRangeOfSubtitleLine(line, isStartTimeCode);
    if (range.found())
        setSelectedRange(range);
}

QList<SubtitleLinePtr> SubtitleTextView::subtitleForStartTime(double a, double b) const {
    return script_.subtitleForStartTime(a, b);
}

SubtitleLinePtr SubtitleTextView::getCurrentSubtitle(const MediaTime& time) const {
    return script_.getCurrentSubtitle(time);
}

SubtitleLinePtr SubtitleTextView::getNextSubtitleLineAtTime(const MediaTime& time) const {
    return script_.getNextSubtitleLineAtTime(time);
}

// --- Requests from the waveform ---------------------------------------------------------

void SubtitleTextView::didAddSubtitleLine(SubtitleLinePtr line) {
    ListGuard guard(script_.listLock());
    const QList<SubtitleLinePtr>& lines = getAllSubtitles();
    qsizetype k = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i]->isValid())
            continue;
        if (line->startTime() >= lines[i]->endTime())
            k = i + 1;
        else if (lines[i]->startTime() >= line->endTime())
            break;
    }
    // Drawing blocks over an untimed script times it line by line: the new block takes
    // the next untimed line's text and that line goes.
    if (k < lines.size() && !lines[k]->isValid()) {
        line->setText(lines[k]->text());
        deleteSubtitleTextFromTextView(lines[k], true);
    }

    QString text = line->getSubtitleLineString() + u'\n';
    qsizetype offset = 0;
    for (qsizetype i = 0; i < k && i < lines.size(); ++i)
        offset += lines[i]->getSubtitleLineStringLength() + 1;
    const qsizetype length = document()->characterCount() - 1;
    if (offset > length) {
        // Past the last line: start a line of its own rather than join the last one.
        offset = length;
        text.prepend(u'\n');
        text.chop(1);
    }
    replaceRange({offset, 0}, text);
    const qsizetype lineStart = text.startsWith(u'\n') ? offset + 1 : offset;
    setSelectedRange({lineStart + line->getStartTimeString().size(), 0});
    scrollRangeToVisible(selectedRange());
}

void SubtitleTextView::didDeleteSubtitleLine(SubtitleLinePtr line) {
    ListGuard guard(script_.listLock());
    deleteSubtitleTextFromTextView(line, false);
}

void SubtitleTextView::deleteSubtitleTextFromTextView(SubtitleLinePtr line, bool forced) {
    const qsizetype offset = script_.offsetOfSubtitleLine(line.get());
    if (offset == TextRange::NotFound)
        return;
    currentEditingLine_ = line;
    const bool isLastLine = getAllSubtitles().back() == line;
    if (forced || line->text().trimmed().isEmpty()) {
        const qsizetype length = line->getSubtitleLineStringLength() + (isLastLine ? 0 : 1);
        replaceRange({offset, length}, QString());
    } else {
        const qsizetype textLength = line->text().size();
        const bool hasEnd = line->isEndTimeValid();
        if (line->isStartTimeValid())
            replaceRange({offset, kTimeStringLength}, QString());
        if (hasEnd)
            replaceRange({offset + textLength, kTimeStringLength}, QString());
    }
    line->setStartTime(-1);
    line->setEndTime(-1);
    scrollRangeToVisible({offset, 0});
}

void SubtitleTextView::didSubtitleTextUpdated(const QString& text, SubtitleLinePtr line) {
    const TextRange range = script_.getRangeWithSubtitleLine(line.get());
    if (!range.found())
        return;
    QString marked = text;
    marked.replace(u'\n', kLineBreakMark);
    textChangedFromWaveFormTextView_ = true;
    replaceRange(range, normalised(marked));
    currentEditingLine_ = line;
    setSelectedRange({range.location, 0});
    scrollRangeToVisible(selectedRange());
}

// --- Notifications ----------------------------------------------------------------------

void SubtitleTextView::registerNotifications() {
    for (const QString& name : incomingNotificationNames()) {
        notificationCenter().addObserver(this, name,
                                         [this](const Notification& n) { handleNotification(n); });
    }
}

void SubtitleTextView::handleNotification(const Notification& n) {
    if (n.name == kAddSubtitleLineToTextViewNotification && n.subtitleLine())
        didAddSubtitleLine(n.subtitleLine());
    else if (n.name == kDeleteSubtitleLineFromTextViewNotification && n.subtitleLine())
        didDeleteSubtitleLine(n.subtitleLine());
    else if (n.name == kUpdateSubtitleTextViewTextNotification && n.subtitle())
        didSubtitleTextUpdated(n.text(), n.subtitle());
    else if (n.name == QYWaveFormTextViewDidSelectStartTimeCodeNotification && n.subtitleLine()) {
        selectTimeCodeOfSubtitleLine(n.subtitleLine().get(), true);
        currentEditingLine_ = n.subtitleLine();
    } else if (n.name == QYWaveFormTextViewDidSelectEndTimeCodeNotification && n.subtitleLine()) {
        selectTimeCodeOfSubtitleLine(n.subtitleLine().get(), false);
        currentEditingLine_ = n.subtitleLine();
    } else if (n.name == QYWaveFormTextViewDidChangeStartTimeCodeNotification && n.seconds()) {
        adjustTimeCodeForWaveForm(*n.seconds(), true);
    } else if (n.name == QYWaveFormTextViewDidChangeEndTimeCodeNotification && n.seconds()) {
        adjustTimeCodeForWaveForm(*n.seconds(), false);
    } else if (n.name == kHighlightSubtitleTextNotification && n.subtitleLine())
        setHighlightSubtitle(n.subtitleLine());
    else if (n.name == kMoviePlayerDidPauseNotification)
        movieDidPause();
}

void SubtitleTextView::adjustTimeCodeForWaveForm(double seconds, bool isStartTimeCode) {
    // A dragged edge only swaps time strings: the records stay the same objects, which the
    // waveform's blocks are holding, even for the last line, whose end reaches the end of
    // the text and would otherwise be read again as a new record.
    const bool wasAdjusting = adjustingTimeCode_;
    adjustingTimeCode_ = true;
    const TextRange selection = selectedRange();
    const MediaTime time = QYTimeUtility::sharedInstance().getCMTimeWithTimeInteval(seconds);
    if (isStartTimeCode)
        handleStartTimeCodeAdjustment(selection, time);
    else
        handleEndTimeCodeAdjustment(selection, time);
    setSelectedRange(selection);
    adjustingTimeCode_ = wasAdjusting;
}

// --- Widget events that belong to the edit path ----------------------------------------

void SubtitleTextView::inputMethodEvent(QInputMethodEvent* event) {
    QPlainTextEdit::inputMethodEvent(event);
    const bool composing = !event->preeditString().isEmpty();
    if (hasMarkTextBefore_ && !composing) {
        hasMarkTextBefore_ = false;
        refreshTextViewDisplayAfterKeyboardInput();
        return;
    }
    hasMarkTextBefore_ = composing;
}

void SubtitleTextView::focusOutEvent(QFocusEvent* event) {
    if (textViewDelegate_ && !textViewDelegate_->shouldResignFirstResponder()) {
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        return;
    }
    QPlainTextEdit::focusOutEvent(event);
}

bool SubtitleTextView::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void SubtitleTextView::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    insertText(text);
    scheduleKeyboardRefresh();
}

void SubtitleTextView::scheduleKeyboardRefresh() {
    keyboardRefreshTimer_->start();
}

void SubtitleTextView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragEnterEvent(event);
}

void SubtitleTextView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragMoveEvent(event);
}

void SubtitleTextView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    if (textViewDelegate_)
        textViewDelegate_->didDragFileIntoTextView(event->mimeData()->urls());
}

} // namespace quillery
