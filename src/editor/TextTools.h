// The rules of the Tools commands that rework script text in bulk: normalising foreign
// time notations, merging line pairs, breaking at punctuation, interleaving or replacing
// texts line by line, and the arithmetic of the Adjust Time Code dialog. Pure functions
// of their input; the main window and the dialogs put the results into the editor.
#pragma once

#include "MediaTime.h"

#include <QString>
#include <optional>

namespace quillery {

// Four two-digit groups with any one of many separators, optionally bracketed, become
// time strings "[HH:MM:SS.FF]"; then every "//" becomes the line-break mark.
QString convertTimeCodeFormat(const QString& text);

// The region's non-empty trimmed lines with the 1st, 3rd, 5th ... line break turned into
// the line-break mark, so lines 1 and 2 make one two-row subtitle, 3 and 4 the next.
QString convertDoubleLine(const QString& region);

// Every clause ended by one of ";,。；，：" on a line of its own; punctuation just before
// a time string is dropped. Each "\n"-separated piece of the text ends with "\n".
QString convertPunctuation(const QString& text);

// Non-empty line counts of the editor's text and of the pasted text.
struct LineCountComparison {
    qsizetype originalCount = 0;
    qsizetype replaceCount = 0;

    bool matches() const { return originalCount == replaceCount; }
};
LineCountComparison compareLineCounts(const QString& originalText, const QString& replaceText);
// The warning naming both counts, or the empty string when they match.
QString lineCountWarning(const LineCountComparison& comparison);

// Each original line followed by its pasted line: o1 "\n" p1 "\n" o2 "\n" p2 ... with no
// line feed at the end. Lines beyond the shorter of the two lists are left out.
QString getConsolidateText(const QString& originalText, const QString& pastedText);
// The pasted text's non-empty trimmed lines joined by "\n".
QString getReplaceText(const QString& pastedText);

// The amount of the Adjust Time Code dialog, field by field.
enum class AdjustTimeField { Hours, Minutes, Seconds, Frames };

struct AdjustTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    int& operator[](AdjustTimeField field);
    int operator[](AdjustTimeField field) const;
    bool operator==(const AdjustTime&) const = default;
};

// A field's text read as a whole number, when it is one and lies in the field's range:
// hours 1 to 10, minutes and seconds 0 to 60, frames 0 to fps.
std::optional<int> readAdjustTimeField(AdjustTimeField field, const QString& text, double fps);
// A full second of frames carries into the seconds, 60 seconds into the minutes and
// 60 minutes into the hours, each keeping what is left over: 1 s 30 frames at 25 fps
// is 2 s 5 frames.
AdjustTime carryAdjustTime(AdjustTime time, double fps);
// "Shift all time codes forward 00:00:02.05" (or backward).
QString adjustTimeResultText(const AdjustTime& time, bool isForward);
// The amount as a whole number of frames, counted in thousandths of a frame.
MediaTime adjustTimeAmount(const AdjustTime& time, double fps);

} // namespace quillery
