// The script editor's rules that need no window: where a time string counts as a start
// or an end, which time strings are out of order, automatic correction, shifting, and
// the line-oriented cut and paste commands. Each is a function of the text or the record
// list it is given; the editor widget applies the results as ordinary edits.
#pragma once

#include "MediaTime.h"
#include "SubtitleLine.h"
#include "TextRange.h"

#include <QList>
#include <QString>

namespace quillery {

// Start and end position tests. They look at the whole script text trimmed of white
// space and line feeds at both ends, which is worked out once per text.
class TimeStringPositions {
public:
    explicit TimeStringPositions(const QString& wholeText);
    // The range starts the text or follows a line feed.
    bool isStartTimeCodeInRange(TextRange range) const;
    // The range reaches the end of the text or, away from position 0, a line feed follows.
    bool isEndTimeCodeInRange(TextRange range) const;

private:
    QString trimmed_;
};

// The nearest 13-character time string after (forward) or before a range that stands at a
// line start (wantStart) or a line end; not found when there is none.
TextRange nearestTimeString(const QString& wholeText, const TimeStringPositions& positions,
                            TextRange from, bool forward, bool wantStart);

// A time string of the whole-text check, in text order.
struct CheckedTimeString {
    TextRange range;
    bool isError = false;
};
// Every 13-character time string at a line start or end, in error when it is earlier
// than the one before it in the text.
QList<CheckedTimeString> checkTimeStringOrder(const QString& wholeText);

// The line's start is before the end (or not after the start) of the nearest timed line
// above it.
bool checkErrorStartTimeCode(const QList<SubtitleLinePtr>& lines, qsizetype index);
// The line has a start and its end is not after it.
bool checkErrorEndTimeCode(const SubtitleLine& line);

// The script text with each start moved to the previous line's end where they overlap and
// each subtitle lasting at least half a second; ends with a line feed.
QString autoCorrectedScript(const QList<SubtitleLinePtr>& lines);

// Every time string in the text (any length, anywhere) moved by the amount; times that
// would fall before zero become zero.
QString shiftTimeStrings(const QString& text, const MediaTime& amount, bool increase);
// The text with every time string removed.
QString removeTimeStrings(const QString& text);

// Odd (1st, 3rd, ...) or even lines cut out of a region's non-empty lines.
struct CutLines {
    QString kept; // each kept line followed by a line feed
    QString cut;  // each cut line followed by a line feed
};
CutLines cutLines(const QString& region, bool cutOddLines);

// Timed lines of the region get the new texts in order, keeping their time strings;
// timed lines beyond the new texts keep their own text.
QString pasteTextsOnly(const QString& region, const QString& newTexts);
// The pasted time strings, two by two, framed around the region's texts.
QString pasteTimeCodesOnly(const QString& region, const QString& pastedText);

// The line after the last finished line before the time, stopping at the first line
// still waiting for its start; NotFound past the end.
qsizetype findSubtitleIndexWithTime(const QList<SubtitleLinePtr>& lines, double seconds);
// False when the time lies inside a timed line (more than 0.02 s before its end).
bool allowInsertStartTime(const QList<SubtitleLinePtr>& lines, double seconds);

} // namespace quillery
