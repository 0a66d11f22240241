// The script editor's checks and display: out-of-order time strings, automatic
// correction, shifting, the highlighted playing line, and moving the caret and the movie
// together.
#include "QYMoviePlayerControl.h"
#include "QYRegex.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "ScriptEditing.h"
#include "ScriptHighlighter.h"
#include "ScriptMarks.h"
#include "SubtitleTextView.h"
#include "SubtitleTextViewDelegate.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace quillery {

namespace {

constexpr int kDefaultFontPointSize = 14;

const QYTimeUtility& timeUtility() {
    return QYTimeUtility::sharedInstance();
}

QString anchored(const QString& pattern) {
    return QStringLiteral("^%1$").arg(pattern);
}

} // namespace

// --- Error checks -----------------------------------------------------------------------

bool SubtitleTextView::checkErrorStartTimeCodeAtSubtitleLine(qsizetype index) const {
    return checkErrorStartTimeCode(getAllSubtitles(), index);
}

bool SubtitleTextView::checkErrorEndTimeCodeAtSubtitleLine(qsizetype index) const {
    return checkErrorEndTimeCode(*getAllSubtitles()[index]);
}

void SubtitleTextView::applyLineState(qsizetype index) {
    SubtitleLine& line = *getAllSubtitles()[index];
    ScriptBlockState& state = blockState(document()->findBlockByNumber(static_cast<int>(index)));
    line.isStartTimeError = line.isStartTimeValid() && checkErrorStartTimeCodeAtSubtitleLine(index);
    line.isEndTimeError = line.isEndTimeValid() && checkErrorEndTimeCodeAtSubtitleLine(index);
    state.startInError = line.isStartTimeError;
    state.endInError = line.isEndTimeError;
    state.textHighlighted = textChangedFromWaveFormTextView_;
}

void SubtitleTextView::rehighlightLine(qsizetype index) {
    const QTextBlock block = document()->findBlockByNumber(static_cast<int>(index));
    if (block.isValid())
        highlighter_->rehighlightBlock(block);
}

void SubtitleTextView::addDisplayAttributeToSubtitleline(qsizetype index) {
    applyLineState(index);
    textChangedFromWaveFormTextView_ = false;
    rehighlightLine(index);
}

void SubtitleTextView::refreshTextViewDisplayAfterKeyboardInput() {
    const QList<SubtitleLinePtr>& lines = getAllSubtitles();
    qsizetype last = -1;
    for (qsizetype k = 0; k < changingSubtitleLineArray_.size(); ++k) {
        const SubtitleLine* line = changingSubtitleLineArray_[k].get();
        qsizetype index = firstChangingIndex_ + k;
        if (index >= lines.size() || lines[index].get() != line)
            index = script_.indexForSubtitleLine(line);
        if (index < 0)
            continue;
        // The highlighter colours the edited blocks right after this; only their state
        // needs setting here.
        applyLineState(index);
        last = std::max(last, index);
    }
    textChangedFromWaveFormTextView_ = false;
    if (last >= 0 && last + 1 < lines.size())
        addDisplayAttributeToSubtitleline(last + 1);
    changingSubtitleLineArray_.clear();
}

void SubtitleTextView::refreshTextViewDisplay() {
    if (document()->isEmpty() || hasMarkTextBefore_)
        return;
    refreshing_ = true;
    errorTimeCodes_.clear();
    errorTimeCodeRanges_.clear();
    currentErrorIndex_ = 0;
    error_ = false;

    // Only blocks whose colours change are coloured again: on a long script that is
    // usually none of them.
    QList<ScriptBlockState> before;
    before.reserve(document()->blockCount());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        ScriptBlockState& state = blockState(block);
        before.append(state);
        state.startInError = state.endInError = state.textHighlighted = false;
    }
    const QString text = toPlainText();
    for (const CheckedTimeString& checked : checkTimeStringOrder(text)) {
        if (!checked.isError)
            continue;
        const QTextBlock block = document()->findBlock(static_cast<int>(checked.range.location));
        ScriptBlockState& state = blockState(block);
        (checked.range.location == block.position() ? state.startInError : state.endInError) = true;
        errorTimeCodes_.append(text.sliced(checked.range.location, checked.range.length));
        errorTimeCodeRanges_.append(checked.range);
        error_ = true;
    }
    int number = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), ++number) {
        if (!(blockState(block) == before.value(number)))
            highlighter_->rehighlightBlock(block);
    }
    refreshing_ = false;
}

bool SubtitleTextView::error() {
    refreshTextViewDisplay();
    return error_;
}

void SubtitleTextView::findFirstErrorTimeCode() {
    if (!error_ || errorTimeCodeRanges_.isEmpty())
        return;
    currentErrorIndex_ = 0;
    // Selected and brought into view, so the user sees where the first error is.
    setSelectedRange(errorTimeCodeRanges_.front());
    ensureCursorVisible();
}

void SubtitleTextView::findNextErrorTimecode() {
    setCurrentEditLine();
    const QList<SubtitleLinePtr>& lines = getAllSubtitles();
    qsizetype start = currentErrorSubtitleLine_
                          ? script_.indexForSubtitleLine(currentErrorSubtitleLine_.get()) + 1
                          : 0;
    if (start <= 0 || start >= lines.size())
        start = 0;
    for (qsizetype visited = 0; visited < lines.size(); ++visited) {
        const SubtitleLinePtr& line = lines[(start + visited) % lines.size()];
        if (!line->isStartTimeError && !line->isEndTimeError)
            continue;
        selectTimeCodeOfSubtitleLine(line.get(), line->isStartTimeError);
        currentErrorSubtitleLine_ = line;
        centerCursor();
        return;
    }
}

void SubtitleTextView::autoCorrectErrorTimecode() {
    replaceWholeText(autoCorrectedScript(getAllSubtitles()));
}

void SubtitleTextView::adjustTimeStringInSelectionWithTimeIncreament(const MediaTime& amount,
                                                                     bool increase) {
    if (!textCursor().hasSelection())
        selectAll();
    const TextRange region = selectedRange();
    const QString shifted = shiftTimeStrings(selectedPlainText(), amount, increase);
    replaceRange(region, shifted);
    refreshTextViewDisplay();
    setSelectedRange({region.location, shifted.size()});
}

// --- The highlighted line ---------------------------------------------------------------

void SubtitleTextView::setHighlightSubtitle(const SubtitleLinePtr& line) {
    if (!line)
        return;
    const qsizetype index = script_.indexForSubtitleLine(line.get());
    if (index < 0 || index == highlightLineNumber_)
        return;
    const int previous = highlightLineNumber_;
    highlightLineNumber_ = static_cast<int>(index);
    if (previous >= 0 && previous < getAllSubtitles().size())
        setContentHighlight(script_.getRangeWithSubtitleLine(getAllSubtitles()[previous].get()),
                            false);
    const TextRange range = script_.getRangeWithSubtitleLine(line.get());
    setContentHighlight(range, true);
    scrollRangeToVisible({range.location, 0});
}

void SubtitleTextView::setContentHighlight(TextRange range, bool highlight) {
    if (!range.found())
        return;
    const QTextBlock block = document()->findBlock(static_cast<int>(range.location));
    if (!highlight)
        blockState(block).textHighlighted = false;
    highlighter_->rehighlightBlock(block);
}

// --- Time strings under the caret -------------------------------------------------------

QString SubtitleTextView::timeStringSelected() const {
    const QString selected = textCursor().selectedText();
    if (selected.isEmpty() || !QYRegex::isMatchedByRegex(selected, anchored(kTimeStringPattern)))
        return QString();
    return selected;
}

TextRange SubtitleTextView::selectedNextTimeString() const {
    const QString text = toPlainText();
    const qsizetype from = selectedRange().end();
    return QYRegex::rangeOfRegex(text, kTimeStringPattern, {from, text.size() - from});
}

TextRange SubtitleTextView::selectedLastTimeString() const {
    const QString text = toPlainText();
    const qsizetype before = selectedRange().location;
    TextRange last;
    for (const RegexMatch& match : QYRegex::allMatches(text, kTimeStringPattern)) {
        if (match.range.end() > before)
            break;
        last = match.range;
    }
    return last.found() ? last : TextRange{TextRange::NotFound, 0};
}

TextRange SubtitleTextView::timeStringAt(qsizetype location) const {
    const SubtitleLinePtr line = lineAtLocation(location);
    if (!line)
        return {};
    for (bool isStart : {true, false}) {
        const TextRange range = script_.findTimeCodeRangeOfSubtitleLine(line.get(), isStart);
        if (range.length > 0 && location >= range.location && location < range.end())
            return range;
    }
    return {};
}

// --- Caret and movie together -----------------------------------------------------------

void SubtitleTextView::setCurrentEditLine() {
    if (const SubtitleLinePtr line = lineAtCaret())
        currentEditingLine_ = line;
}

void SubtitleTextView::jumpToCurrentEditingLine() {
    if (!currentEditingLine_)
        return;
    double t = currentEditingLine_->startTime();
    if (selectedRange() ==
        script_.findTimeCodeRangeOfSubtitleLine(currentEditingLine_.get(), false))
        t = currentEditingLine_->endTime();
    if (t < 0 || !textViewDelegate_)
        return;
    const bool wasPlaying = isMoviePlaying();
    textViewDelegate_->didSelectedTimeCode(timeUtility().getCMTimeWithTimeInteval(t));
    if (wasPlaying)
        moviePlayer_->play();
}

void SubtitleTextView::jumpToTimeString(const QString& timeString) {
    if (!textViewDelegate_)
        return;
    textViewDelegate_->didSelectedTimeCode(
        timeString.isEmpty() ? MediaTime::zero() : timeUtility().cmTimeFromTimeString(timeString));
}

void SubtitleTextView::jumpSelectedTimeString(TextRange range) {
    const QString text = toPlainText();
    if (range.found() && range.end() <= text.size())
        jumpToTimeString(text.sliced(range.location, range.length));
}

void SubtitleTextView::gotoNextLine() {
    const QString text = toPlainText();
    qsizetype position = textCursor().position();
    const qsizetype lineEnd = findNextBreak(position, text);
    if (lineEnd >= text.size()) {
        position = text.size();
    } else {
        position = lineEnd + 1;
        while (position < text.size() - 1 && (text[position] == u'\n' || text[position] == u'\r'))
            ++position;
    }
    setSelectedRange({position, 0});
    setCurrentEditLine();
}

void SubtitleTextView::scrollRangeToVisible(TextRange range) {
    if (range.length != 0 || refreshing_ || !range.found())
        return;
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(
        std::clamp<qsizetype>(range.location, 0, document()->characterCount() - 1)));
    const QRect target = cursorRect(cursor);
    if (!viewport()->rect().contains(target))
        verticalScrollBar()->setValue(verticalScrollBar()->value() + target.top() -
                                      viewport()->height() / 2);
}

void SubtitleTextView::setEditorFont(const QFont& font) {
    setFont(font);
    QYSetting::shareInstance().setObject(kTypingAttrKey, font.toString());
    QYSetting::shareInstance().synchronize();
    refreshTextViewDisplay();
}

void SubtitleTextView::restoreTypingFont() {
    const QString saved =
        QYSetting::shareInstance().getStringFromUserDefaultForKey(kTypingAttrKey, QString());
    QFont font;
    if (saved.isEmpty() || !font.fromString(saved)) {
        // Until the user picks a font, a size that reads comfortably for long sessions.
        font = QFont(QStringLiteral("Helvetica"), kDefaultFontPointSize);
    }
    setFont(font);
}

// --- The mouse ---------------------------------------------------------------------------

void SubtitleTextView::mousePressEvent(QMouseEvent* event) {
    const qsizetype location = cursorForPosition(event->position().toPoint()).position();
    const TextRange clickedTimeString =
        event->button() == Qt::LeftButton ? timeStringAt(location) : TextRange{};
    if (clickedTimeString.found()) {
        setSelectedRange(clickedTimeString);
        setCurrentEditLine();
    } else {
        QPlainTextEdit::mousePressEvent(event);
    }
    typeAfterInputK_ = true;
    if (moviePlayer_ && moviePlayer_->isRepeatingSubtitle())
        moviePlayer_->stopRepeatPlaySubtitle(false);
    const QString selected = textCursor().selectedText();
    const bool bracketed = selected.size() == kTimeStringLength && selected.startsWith(u'[') &&
                           selected.endsWith(u']');
    if (bracketed || selected.isEmpty()) {
        setCurrentEditLine();
        jumpToCurrentEditingLine();
    }
}

void SubtitleTextView::mouseMoveEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseMoveEvent(event);
    const qsizetype location = cursorForPosition(event->position().toPoint()).position();
    viewport()->setCursor(timeStringAt(location).found() ? Qt::PointingHandCursor
                                                         : Qt::IBeamCursor);
}

} // namespace quillery
