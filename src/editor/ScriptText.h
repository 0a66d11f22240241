// Reading the script text: one subtitle per line, an optional 13-character time string
// at the start and at the end of each line, "⏎" between rows of one subtitle. These are
// pure functions of their input; the script editor, the exporter and the command-line
// tool all read script text through them.
#pragma once

#include "QYTimeUtility.h"
#include "SubtitleLine.h"
#include "TextRange.h"

#include <QList>
#include <QString>
#include <functional>

namespace quillery {

// Finds time strings; only a 13-character match at the very start or end of a line
// is taken as a time, longer fractions stay text.
inline const QString kTimeStringPattern =
    QStringLiteral(R"(\[[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{2,3}\])");

// The frame duration of a loaded Final Cut Pro X project (1001/30000 for 29.97 fps);
// 0/0 when none is loaded.
struct FrameDuration {
    int32_t numerator = 0;
    int32_t denominator = 0;
};

// A time string as a count of Final Cut Pro X ticks. NTSC frame durations count the
// string as drop-frame timecode. -1 when the seconds part is malformed or the count does
// not fit in 32 bits.
int32_t numeratorFromQuilleryTimecode(const QString& timeString, FrameDuration frameDuration);
int32_t numeratorFromTimeStringFields(const TimeStringFields& fields, FrameDuration frameDuration);

// One line of script text (without its line feed) as a new record.
SubtitleLinePtr parseText(const QString& line, FrameDuration frameDuration);
// Every "\n"-separated piece parsed in order; the empty text gives one empty line.
QList<SubtitleLinePtr> createSubtitleLinesFromText(const QString& text,
                                                   FrameDuration frameDuration);
// As above for a whole editor text, trimmed of CR, TAB and space at both ends first.
QList<SubtitleLinePtr> generateSubtitleLines(const QString& wholeText, FrameDuration frameDuration);
// The same records handed over one at a time, for texts too long to hold them all.
void forEachSubtitleLine(const QString& wholeText, FrameDuration frameDuration,
                         const std::function<void(const SubtitleLinePtr&)>& visit);

// Start of the text line holding location: one past the last CR or LF before it, or 0.
qsizetype findLastBreak(qsizetype location, const QString& text);
// End of that line: the next CR or LF at or after location, or the text length.
qsizetype findNextBreak(qsizetype location, const QString& text);
// All whole lines the range touches, without the final line feed.
QString getInsertLineInText(const QString& text, TextRange range);

} // namespace quillery
