// The script editor's keyboard: the three timing modes while the movie plays, the
// transport and waveform keys, time-string selection and nudging, and the line commands
// (delete time strings, cut odd or even lines, paste texts or time strings only).
#include "NotificationNames.h"
#include "QYMoviePlayerControl.h"
#include "QYNotificationCenter.h"
#include "QYRegex.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "ScriptEditing.h"
#include "ScriptMarks.h"
#include "SubtitleTextView.h"
#include "SubtitleTextViewDelegate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quillery {

namespace {

// The minimum length of a subtitle timed by keyboard.
constexpr double kMinimumDuration = 0.5;
// How far a nudged or dragged time string keeps from its neighbours.
constexpr int kNeighbourGapFrames = 10;

const QYTimeUtility& timeUtility() {
    return QYTimeUtility::sharedInstance();
}
const QYSetting& settings() {
    return QYSetting::shareInstance();
}

Qt::KeyboardModifiers significantModifiers(const QKeyEvent* event) {
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool isPlainKey(const QKeyEvent* event, int key) {
    return event->key() == key && significantModifiers(event) == Qt::NoModifier;
}

bool isKeyWith(const QKeyEvent* event, int key, Qt::KeyboardModifiers modifiers) {
    return event->key() == key && significantModifiers(event) == modifiers;
}

// Transport letters work with Shift held too, but not with a menu modifier.
bool isTransportLetter(const QKeyEvent* event, int key) {
    return event->key() == key &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isArrowKey(const QKeyEvent* event) {
    const int key = event->key();
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

QString keyString(const QKeyEvent* event) {
    return shortCutString(static_cast<Qt::Key>(event->key()), significantModifiers(event));
}

bool matches(const QKeyEvent* event, const QString& shortCut) {
    return !shortCut.isEmpty() && keyString(event) == shortCut;
}

} // namespace

// --- Key events -------------------------------------------------------------------------

void SubtitleTextView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_J && key != Qt::Key_K && key != Qt::Key_L)
        typeAfterInputK_ = true;
    adjustingTimeCode_ = false;
    if (handleKeyEvent(event))
        return;

    const bool arrow = isArrowKey(event);
    if (isMoviePlaying() && !arrow)
        return; // only the arrows reach the text while the movie runs
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Shift+Return breaks a row inside the subtitle; Return always ends the line
        // (never a soft line break, which the script has no place for).
        const bool rowBreak = significantModifiers(event) == Qt::ShiftModifier;
        insertAtCaret(rowBreak ? QString(kLineBreakMark) : QStringLiteral("\n"));
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
    if (arrow) {
        setCurrentEditLine();
        jumpToCurrentEditingLine();
    }
}

void SubtitleTextView::keyReleaseEvent(QKeyEvent* event) {
    adjustingTimeCode_ = false;
    const bool running = moviePlayer_ && moviePlayer_->hasMovie() && isMoviePlaying();
    if (running && !event->isAutoRepeat() && matches(event, settings().mode2ShourtCut)) {
        keyboardMode2Release();
        return;
    }
    if (!event->isAutoRepeat() && matches(event, settings().mode3ShourtCut))
        mode3Recording_ = false;
    QPlainTextEdit::keyReleaseEvent(event);
}

bool SubtitleTextView::handleKeyEvent(QKeyEvent* event) {
    return handleMovieControlShortCut(event) || handleWaveFormControlShortCut(event) ||
           handleTimeCodeSelectionShortCut(event) || handleTimeCodeDeletionShortCut(event) ||
           handleTimeCodeAdjustmentShortCut(event) || handleInsertTimeCodeShortCut(event) ||
           handleModeShortCut(event);
}

bool SubtitleTextView::handleMovieControlShortCut(QKeyEvent* event) {
    const bool playing = isMoviePlaying();
    QYMoviePlayerControl* player = moviePlayer_;
    if (matches(event, settings().backwardVideoShortCut) ||
        isKeyWith(event, Qt::Key_Tab, Qt::MetaModifier)) {
        if (player)
            player->rewind();
        return true;
    }
    if (matches(event, settings().forwardVideoShortCut) || event->key() == Qt::Key_Backtab ||
        isKeyWith(event, Qt::Key_Tab, Qt::ShiftModifier)) {
        if (player)
            player->fastForward();
        return true;
    }
    if (isPlainKey(event, Qt::Key_Tab) || matches(event, settings().playVideoShortCut)) {
        if (player)
            playing ? player->stopRepeatPlaySubtitle(false) : player->play();
        return true;
    }
    const bool k = isTransportLetter(event, Qt::Key_K);
    const bool l = isTransportLetter(event, Qt::Key_L);
    const bool j = isTransportLetter(event, Qt::Key_J);
    if (!(j || k || l) || !player || (!playing && typeAfterInputK_))
        return false; // typed as letters
    typeAfterInputK_ = false;
    if (k) {
        playing ? player->stopRepeatPlaySubtitle(false) : player->play();
        return true;
    }
    l ? player->speedForward() : player->speedBackward();
    if (!playing)
        player->play();
    return true;
}

bool SubtitleTextView::handleWaveFormControlShortCut(QKeyEvent* event) {
    if (!textViewDelegate_)
        return false;
    if (isKeyWith(event, Qt::Key_Minus, Qt::ControlModifier))
        textViewDelegate_->decreaseWaveFormSlider();
    else if (isKeyWith(event, Qt::Key_Equal, Qt::ControlModifier))
        textViewDelegate_->increaseWaveFormSlider();
    else if (isKeyWith(event, Qt::Key_Minus, Qt::AltModifier))
        textViewDelegate_->decreaseWaveFormYAxisZoomRate();
    else if (isKeyWith(event, Qt::Key_Equal, Qt::AltModifier))
        textViewDelegate_->increaseWaveFormYAxisZoomRate();
    else
        return false;
    return true;
}

void SubtitleTextView::selectAndJumpTo(TextRange range) {
    if (!range.found())
        return;
    setSelectedRange(range);
    jumpSelectedTimeString(range);
    ensureCursorVisible();
}

bool SubtitleTextView::handleTimeCodeSelectionShortCut(QKeyEvent* event) {
    if (isKeyWith(event, Qt::Key_Right, Qt::AltModifier)) {
        selectAndJumpTo(selectedNextTimeString());
        return true;
    }
    if (isKeyWith(event, Qt::Key_Left, Qt::AltModifier)) {
        selectAndJumpTo(selectedLastTimeString());
        return true;
    }
    const bool selected = timeStringSelected().size() == kTimeStringLength;
    if (selected && (isPlainKey(event, Qt::Key_Down) || isPlainKey(event, Qt::Key_Up))) {
        // Skipping one time string keeps a start on starts and an end on ends.
        const TextRange skipped =
            isPlainKey(event, Qt::Key_Down) ? selectedNextTimeString() : selectedLastTimeString();
        if (skipped.found()) {
            const TextRange original = selectedRange();
            setSelectedRange(skipped);
            const TextRange target = isPlainKey(event, Qt::Key_Down) ? selectedNextTimeString()
                                                                     : selectedLastTimeString();
            setSelectedRange(original);
            selectAndJumpTo(target);
        }
        return true;
    }
    const bool isReturn = isPlainKey(event, Qt::Key_Return) || isPlainKey(event, Qt::Key_Enter);
    if (isReturn && selected && !isMoviePlaying()) {
        setSelectedRange({selectedRange().end(), 0});
        return true;
    }
    return false;
}

bool SubtitleTextView::handleTimeCodeDeletionShortCut(QKeyEvent* event) {
    if (!matches(event, settings().deleteTimecodeShortCut))
        return false;
    deleteTimeStringsInSelection();
    return true;
}

bool SubtitleTextView::handleTimeCodeAdjustmentShortCut(QKeyEvent* event) {
    const QString selected = timeStringSelected();
    const bool left = isPlainKey(event, Qt::Key_Left);
    if (selected.size() != kTimeStringLength || !(left || isPlainKey(event, Qt::Key_Right)))
        return false;
    setCurrentEditLine();
    const TextRange range = selectedRange();
    const MediaTime time = timeUtility().cmTimeFromTimeString(selected);
    const int step = settings().timecodeAdjustmentPerArrowKey;
    const MediaTime moved = left ? timeUtility().decreasedCMTime(time, step)
                                 : timeUtility().increasedCMTime(time, step);
    left ? handleStartTimeCodeAdjustment(range, moved) : handleEndTimeCodeAdjustment(range, moved);
    setSelectedRange(range);
    if (moviePlayer_)
        moviePlayer_->setCurrentTime(QYTimeUtility::roundedTimeInteval(moved.seconds()));
    jumpSelectedTimeString(range);
    setSelectedRange(range);
    adjustingTimeCode_ = true;
    return true;
}

bool SubtitleTextView::handleInsertTimeCodeShortCut(QKeyEvent* event) {
    if (!isPlainKey(event, Qt::Key_F6) && !isKeyWith(event, Qt::Key_Comma, Qt::ControlModifier))
        return false;
    insertCurrentTimeString();
    return true;
}

bool SubtitleTextView::handleModeShortCut(QKeyEvent* event) {
    if (!moviePlayer_ || !moviePlayer_->hasMovie() || !isMoviePlaying())
        return false;
    if (matches(event, settings().mode1ShourtCut)) {
        keyboardMode1();
        return true;
    }
    if (matches(event, settings().mode2ShourtCut) && !mode2Recording_) {
        keyboardMode2Press();
        return true;
    }
    if (matches(event, settings().mode3ShourtCut) && !mode3Recording_) {
        mode3Recording_ = true;
        keyboardMode3();
        return true;
    }
    return false;
}

// --- Keyboard modes ---------------------------------------------------------------------

MediaTime SubtitleTextView::movieTime() const {
    if (!moviePlayer_ || !moviePlayer_->hasMovie())
        return MediaTime::zero();
    return moviePlayer_->currentTime();
}

bool SubtitleTextView::isMoviePlaying() const {
    return moviePlayer_ && moviePlayer_->isPlaying();
}

SubtitleLinePtr SubtitleTextView::findSubtitleWithTime(const MediaTime& time) const {
    const qsizetype index = findSubtitleIndexWithTime(getAllSubtitles(), time.seconds());
    return index >= 0 ? getAllSubtitles()[index] : nullptr;
}

void SubtitleTextView::keyboardMode1() {
    SubtitleLinePtr line = findSubtitleWithTime(movieTime());
    currentEditingLine_ = line ? line : lineAtCaret();
    if (!currentEditingLine_)
        return;
    if (!currentEditingLine_->isStartTimeValid())
        insertStartTimeCodeInSubtitleLine(currentEditingLine_);
    else if (!currentEditingLine_->isEndTimeValid())
        insertEndTimeCodeInSubtitleLine(currentEditingLine_);
}

void SubtitleTextView::keyboardMode2Press() {
    mode2Recording_ = true;
    setCurrentEditLine();
    if (currentEditingLine_->isStartTimeValid()) {
        gotoNextLine();
        if (currentEditingLine_->isStartTimeValid())
            return;
    }
    insertStartTimeCodeInSubtitleLine(currentEditingLine_);
}

void SubtitleTextView::keyboardMode2Release() {
    if (mode2Recording_ && currentEditingLine_ && currentEditingLine_->isStartTimeValid())
        insertEndTimeCodeInSubtitleLine(currentEditingLine_);
    mode2Recording_ = false;
}

void SubtitleTextView::keyboardMode3() {
    if (!isMoviePlaying())
        return;
    setCurrentEditLine();
    if (!currentEditingLine_)
        return;
    if (currentEditingLine_->isStartTimeValid()) {
        insertEndTimeCodeInSubtitleLine(currentEditingLine_);
        if (currentEditingLine_->isStartTimeValid())
            return;
    }
    insertStartTimeCodeInSubtitleLine(currentEditingLine_);
}

void SubtitleTextView::movieDidPause() {
    if (!isEndCodePaired_ && currentEditingLine_)
        insertEndTimeCodeInSubtitleLine(currentEditingLine_);
}

// --- Inserting times --------------------------------------------------------------------

void SubtitleTextView::insertTimeString(const QString& timeString) {
    insertAtCaret(timeString);
}

void SubtitleTextView::insertCurrentTimeString() {
    const QString timeString = timeUtility().timeStringFromCMTime(movieTime());
    // Away from a line's edges a time string would only be text; it goes in as such.
    insertTimeString(timeString);
}

bool SubtitleTextView::allowInsertStartTime(const MediaTime& time) const {
    return quillery::allowInsertStartTime(getAllSubtitles(), time.seconds());
}

void SubtitleTextView::insertStartTimeCode(const MediaTime& time) {
    if (!allowInsertStartTime(time))
        return;
    insertTimeString(timeUtility().timeStringFromCMTime(time));
    QYNotificationCenter::sharedInstance().postNotificationName(kHasInsertStartTimeCodeNotification,
                                                                currentEditingLine_);
    isEndCodePaired_ = false;
}

void SubtitleTextView::insertEndTimeCode(const MediaTime& time) {
    insertTimeString(timeUtility().timeStringFromCMTime(time));
    QYNotificationCenter::sharedInstance().postNotificationName(kHasInsertEndTimeCodeNotification);
    isEndCodePaired_ = true;
}

void SubtitleTextView::insertStartTimeCodeInSubtitleLine(SubtitleLinePtr line) {
    if (line->isStartTimeValid())
        return;
    setSelectedRange({script_.findStartRangeOfSubtitleLine(line.get()), 0});
    insertStartTimeCode(movieTime());
}

void SubtitleTextView::insertEndTimeCodeInSubtitleLine(SubtitleLinePtr line) {
    bool stopRepetition = false;
    if (!line->isEndTimeValid()) {
        setSelectedRange({script_.findEndRangeOfSubtitleLine(line.get()), 0});
        double t = movieTime().seconds();
        if (line->isStartTimeValid() && t < line->startTime() + kMinimumDuration) {
            t = line->startTime() + kMinimumDuration;
            stopRepetition = true;
        }
        // A subtitle never runs into the next one.
        const SubtitleLinePtr next = script_.nextSubtitleLineForLine(line.get());
        if (next && next->isStartTimeValid() &&
            next->startTime() < QYTimeUtility::roundedTimeInteval(t))
            t = next->startTime();
        insertEndTimeCode(timeUtility().getCMTimeWithTimeInteval(t));
    }
    if (textCursor().position() == document()->characterCount() - 1)
        insertAtCaret(QStringLiteral("\n"));
    gotoNextLine();
    if (stopRepetition && moviePlayer_)
        moviePlayer_->stopRepeatPlaySubtitle(false);
}

bool SubtitleTextView::isStartTimeCodeInRange(TextRange range) const {
    return TimeStringPositions(toPlainText()).isStartTimeCodeInRange(range);
}

bool SubtitleTextView::isEndTimeCodeInRange(TextRange range) const {
    return TimeStringPositions(toPlainText()).isEndTimeCodeInRange(range);
}

// --- Nudging and dragging time strings --------------------------------------------------

void SubtitleTextView::handleStartTimeCodeAdjustment(TextRange range, MediaTime time) {
    const QString text = toPlainText();
    const TimeStringPositions positions(text);
    const auto timeAt = [&](TextRange r) {
        return timeUtility().cmTimeFromTimeString(text.sliced(r.location, r.length));
    };
    const TextRange previousStart = nearestTimeString(text, positions, range, false, true);
    const MediaTime lowerBound =
        previousStart.found()
            ? add(timeAt(previousStart), timeUtility().getCMTimeWithFrame(kNeighbourGapFrames))
            : MediaTime::zero();
    if (compare(time, lowerBound) < 0)
        time = lowerBound;
    const QString timeString = timeUtility().timeStringFromCMTime(time);
    if (positions.isStartTimeCodeInRange(range)) {
        // The previous subtitle is shortened to end where this one now starts.
        const TextRange previousEnd = nearestTimeString(text, positions, range, false, false);
        if (previousEnd.found() && compare(timeAt(previousEnd), time) > 0)
            replaceRange(previousEnd, timeString);
    }
    replaceRange(range, timeString);
}

void SubtitleTextView::handleEndTimeCodeAdjustment(TextRange range, MediaTime time) {
    const QString text = toPlainText();
    const TimeStringPositions positions(text);
    const auto timeAt = [&](TextRange r) {
        return timeUtility().cmTimeFromTimeString(text.sliced(r.location, r.length));
    };
    const TextRange nextEnd = nearestTimeString(text, positions, range, true, false);
    std::optional<MediaTime> upperBound;
    if (nextEnd.found())
        upperBound =
            subtract(timeAt(nextEnd), timeUtility().getCMTimeWithFrame(kNeighbourGapFrames));
    else if (moviePlayer_ && moviePlayer_->hasMovie())
        upperBound = moviePlayer_->duration();
    if (upperBound && compare(time, *upperBound) > 0)
        time = *upperBound;
    const QString timeString = timeUtility().timeStringFromCMTime(time);
    if (positions.isEndTimeCodeInRange(range)) {
        // The next subtitle starts later rather than overlap this one.
        const TextRange nextStart = nearestTimeString(text, positions, range, true, true);
        if (nextStart.found() && compare(timeAt(nextStart), time) < 0)
            replaceRange(nextStart, timeString);
    }
    replaceRange(range, timeString);
}

// --- Line commands ----------------------------------------------------------------------

void SubtitleTextView::deleteTimeStringsInSelection() {
    if (!textCursor().hasSelection()) {
        const QString text = toPlainText();
        const qsizetype caret = textCursor().position();
        const qsizetype start = findLastBreak(caret, text);
        setSelectedRange({start, findNextBreak(caret, text) - start});
    }
    const TextRange region = selectedRange();
    const QString cleaned = removeTimeStrings(selectedPlainText());
    replaceRange(region, cleaned);
    refreshTextViewDisplay();
    setSelectedRange({region.location, cleaned.size()});
}

void SubtitleTextView::cut1Lines() {
    cutText(true);
}

void SubtitleTextView::cut2Lines() {
    cutText(false);
}

void SubtitleTextView::cutText(bool cutOddLines) {
    const QString text = toPlainText();
    const TextRange region =
        textCursor().hasSelection() ? selectedRange() : TextRange{0, text.size()};
    const CutLines cut = cutLines(text.sliced(region.location, region.length), cutOddLines);
    QGuiApplication::clipboard()->setText(cut.cut);
    setString(text.left(region.location) + cut.kept + text.sliced(region.end()));
    setSelectedRange({region.location, cut.kept.size()});
}

void SubtitleTextView::pasteTextOnly(const QString& text) {
    if (!textCursor().hasSelection())
        selectAll();
    const TextRange region = selectedRange();
    replaceRange(region, pasteTextsOnly(selectedPlainText(), text));
    refreshTextViewDisplay();
    setSelectedRange({0, 0});
}

void SubtitleTextView::pasteTimeCodeOnly() {
    const QString pasted = QGuiApplication::clipboard()->text();
    const TextRange region = selectedRange();
    replaceRange(region, pasteTimeCodesOnly(selectedPlainText(), pasted));
}

} // namespace quillery
