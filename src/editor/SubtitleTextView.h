// The script editor: a plain-text view whose every line is one subtitle, with one shared
// SubtitleLine record per text line kept in step through every kind of change (typing,
// pasting, undo, whole-text replacement, input methods). Other views follow the record
// list through the notification centre; every timing gesture ends as an edit of the text.
//
// The class is spread over three files by concern: this one's .cpp holds the edit path,
// the record list and the waveform's requests; SubtitleTextViewDisplay.cpp the checks,
// colours, highlight and caret-movie coupling; SubtitleTextViewKeyboard.cpp the keyboard
// modes, nudging and the line commands.
#pragma once

#include "MediaTime.h"
#include "QYExportSource.h"
#include "SubtitleScript.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <memory>

class QTimer;

namespace quillery {

class QYMoviePlayerControl;
class ScriptHighlighter;
class SubtitleTextViewDelegate;
struct Notification;

class SubtitleTextView : public QPlainTextEdit, public QYExportSource {
    Q_OBJECT

public:
    explicit SubtitleTextView(QWidget* parent = nullptr);
    ~SubtitleTextView() override;

    void setTextViewDelegate(SubtitleTextViewDelegate* delegate) { textViewDelegate_ = delegate; }
    void setMoviePlayer(QYMoviePlayerControl* player) { moviePlayer_ = player; }
    // The frame duration of a loaded Final Cut Pro X project; 0/0 when none.
    void setFcpxFrameDuration(int32_t numerator, int32_t denominator);
    // The exporter's view of the editor.
    QString scriptText() const override { return toPlainText(); }
    double movieDuration() const override;
    int32_t fcpxFrameDurationNumerator() const override {
        return script_.frameDuration().numerator;
    }
    int32_t fcpxFrameDurationDenominator() const override {
        return script_.frameDuration().denominator;
    }
    int32_t numeratorFromQuilleryTimecode(const QString& timeString) const override;
    // The video duration of the loaded movie or sequence; invalid when there is none.
    void setDuration(const MediaTime& duration) { duration_ = duration; }

    // --- Text in (all normalised first) ---------------------------------------------
    QString string() const { return toPlainText(); }
    void insertText(const QString& text);
    void setString(const QString& text);
    // The whole text replaced as one edit; caret to the start, whole display refreshed.
    void replaceWholeText(const QString& text);

    // --- Records and positions ------------------------------------------------------
    const QList<SubtitleLinePtr>& getAllSubtitles() const { return script_.getAllSubtitles(); }
    const SubtitleScript& script() const { return script_; }
    SubtitleLinePtr currentEditingLine() const { return currentEditingLine_; }
    SubtitleLinePtr lineAtCaret() const;
    TextRange selectedRange() const;
    void setSelectedRange(TextRange range);
    void selectTimeCodeOfSubtitleLine(const SubtitleLine* line, bool isStartTimeCode);

    // --- Time queries (the player asks 30 times a second) --------------------------
    QList<SubtitleLinePtr> subtitleForStartTime(double a, double b) const;
    SubtitleLinePtr getCurrentSubtitle(const MediaTime& time) const;
    SubtitleLinePtr getNextSubtitleLineAtTime(const MediaTime& time) const;

    // --- Requests from the waveform -------------------------------------------------
    // Lines are taken by value here and below: an edit may drop the record a caller
    // still refers to from the list.
    void didAddSubtitleLine(SubtitleLinePtr line);
    void didDeleteSubtitleLine(SubtitleLinePtr line);
    void deleteSubtitleTextFromTextView(SubtitleLinePtr line, bool forced);
    void didSubtitleTextUpdated(const QString& text, SubtitleLinePtr line);

    // --- Checks and display ---------------------------------------------------------
    void refreshTextViewDisplay();
    void refreshTextViewDisplayAfterKeyboardInput();
    void addDisplayAttributeToSubtitleline(qsizetype index);
    bool checkErrorStartTimeCodeAtSubtitleLine(qsizetype index) const;
    bool checkErrorEndTimeCodeAtSubtitleLine(qsizetype index) const;
    // Refreshes the whole display first.
    bool error();
    const QStringList& errorTimeCodes() const { return errorTimeCodes_; }
    const QList<TextRange>& errorTimeCodeRanges() const { return errorTimeCodeRanges_; }
    void findFirstErrorTimeCode();
    void findNextErrorTimecode();
    void autoCorrectErrorTimecode();
    void adjustTimeStringInSelectionWithTimeIncreament(const MediaTime& amount, bool increase);
    void setHighlightSubtitle(const SubtitleLinePtr& line);
    int highlightLineNumber() const { return highlightLineNumber_; }
    // The selected text when it is exactly one time string, else a null string.
    QString timeStringSelected() const;
    void jumpToTimeString(const QString& timeString);
    void jumpSelectedTimeString(TextRange range);
    void jumpToCurrentEditingLine();
    void setCurrentEditLine();
    void gotoNextLine();
    TextRange selectedNextTimeString() const;
    TextRange selectedLastTimeString() const;
    void scrollRangeToVisible(TextRange range);
    // Saved as the user's typing attributes; the whole display is refreshed.
    void setEditorFont(const QFont& font);

    // --- Time-string entry and line commands ---------------------------------------
    void insertTimeString(const QString& timeString);
    void insertCurrentTimeString();
    bool allowInsertStartTime(const MediaTime& time) const;
    void insertStartTimeCode(const MediaTime& time);
    void insertEndTimeCode(const MediaTime& time);
    void insertStartTimeCodeInSubtitleLine(SubtitleLinePtr line);
    void insertEndTimeCodeInSubtitleLine(SubtitleLinePtr line);
    SubtitleLinePtr findSubtitleWithTime(const MediaTime& time) const;
    bool isStartTimeCodeInRange(TextRange range) const;
    bool isEndTimeCodeInRange(TextRange range) const;
    void handleStartTimeCodeAdjustment(TextRange range, MediaTime time);
    void handleEndTimeCodeAdjustment(TextRange range, MediaTime time);
    void deleteTimeStringsInSelection();
    void cut1Lines();
    void cut2Lines();
    void pasteTextOnly(const QString& text);
    void pasteTimeCodeOnly();
    bool isEndCodePaired() const { return isEndCodePaired_; }
    bool adjustingTimeCode() const { return adjustingTimeCode_; }
    // The main window clears it before rebuilding the waveform.
    void setAdjustingTimeCode(bool adjusting) { adjustingTimeCode_ = adjusting; }

    // The editor's own shortcuts; true when the key was one of them and was handled. The
    // main window offers every key stroke here first.
    bool handleKeyEvent(QKeyEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Edit path.
    void textDidChange(int position, int charsRemoved, int charsAdded);
    void replaceLines(const SubtitleScript::LineSpan& span, int position, int charsAdded);
    void handleSingleTextChange(qsizetype index, int position);
    QString wholeLinesAround(int from, int to) const;
    void removeSubtitleLineAt(qsizetype index);
    void insertSubtitleLine(qsizetype index, const SubtitleLinePtr& line);
    void replaceRange(TextRange range, const QString& text);
    // Replaces the selection and leaves the caret after the new text.
    void insertAtCaret(const QString& text);
    QString selectedPlainText() const;
    QString normalised(const QString& text) const;

    // Notifications.
    void registerNotifications();
    void handleNotification(const Notification& notification);
    void adjustTimeCodeForWaveForm(double seconds, bool isStartTimeCode);

    // Display.
    void applyLineState(qsizetype index);
    void rehighlightLine(qsizetype index);
    void setContentHighlight(TextRange range, bool highlight);
    void restoreTypingFont();
    SubtitleLinePtr lineAtLocation(qsizetype location) const;
    TextRange timeStringAt(qsizetype location) const;

    // Keyboard.
    bool handleMovieControlShortCut(QKeyEvent* event);
    bool handleWaveFormControlShortCut(QKeyEvent* event);
    bool handleTimeCodeSelectionShortCut(QKeyEvent* event);
    bool handleTimeCodeDeletionShortCut(QKeyEvent* event);
    bool handleTimeCodeAdjustmentShortCut(QKeyEvent* event);
    bool handleInsertTimeCodeShortCut(QKeyEvent* event);
    bool handleModeShortCut(QKeyEvent* event);
    void keyboardMode1();
    void keyboardMode2Press();
    void keyboardMode2Release();
    void keyboardMode3();
    void cutText(bool cutOddLines);
    void movieDidPause();
    void selectAndJumpTo(TextRange range);
    MediaTime movieTime() const;
    bool isMoviePlaying() const;
    void scheduleKeyboardRefresh();

    SubtitleScript script_;
    ScriptHighlighter* highlighter_ = nullptr;
    SubtitleTextViewDelegate* textViewDelegate_ = nullptr;
    QYMoviePlayerControl* moviePlayer_ = nullptr;
    QTimer* keyboardRefreshTimer_ = nullptr;
    MediaTime duration_;

    SubtitleLinePtr currentEditingLine_;
    QList<SubtitleLinePtr> changingSubtitleLineArray_;
    qsizetype firstChangingIndex_ = 0;
    SubtitleLinePtr currentErrorSubtitleLine_;
    QStringList errorTimeCodes_;
    QList<TextRange> errorTimeCodeRanges_;
    int32_t currentErrorIndex_ = 0;
    bool error_ = false;
    bool refreshing_ = false;
    bool hasMarkTextBefore_ = false;
    bool adjustingTimeCode_ = false;
    bool textChangedFromWaveFormTextView_ = false;
    int highlightLineNumber_ = -1;
    bool isEndCodePaired_ = true;
    bool typeAfterInputK_ = true;
    bool mode2Recording_ = false;
    bool mode3Recording_ = false;
};

} // namespace quillery
