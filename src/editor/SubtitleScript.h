// The script editor's record list without the widget: one shared SubtitleLine per text
// line, in text order, and the position and time queries every other view asks of it.
// Positions follow from the records alone (each line's string has exactly the length of
// its text line), so no separate index of line offsets is kept. The list is guarded by
// a recursive lock because the player's time queries may arrive mid-edit.
#pragma once

#include "MediaTime.h"
#include "ScriptText.h"

#include <mutex>

namespace quillery {

class SubtitleScript {
public:
    FrameDuration frameDuration() const { return frameDuration_; }
    void setFrameDuration(FrameDuration duration) { frameDuration_ = duration; }

    SubtitleLinePtr parseText(const QString& line) const;
    QList<SubtitleLinePtr> createSubtitleLinesFromText(const QString& text) const;
    int32_t numeratorFromQuilleryTimecode(const QString& timeString) const;

    const QList<SubtitleLinePtr>& getAllSubtitles() const { return subtitles_; }
    void setSubtitles(QList<SubtitleLinePtr> subtitles);
    void insertSubtitleLine(qsizetype index, SubtitleLinePtr line);
    void removeSubtitleLineAt(qsizetype index);

    qsizetype indexForSubtitleLine(const SubtitleLine* line) const;
    SubtitleLinePtr previousSubtitleLineForLine(const SubtitleLine* line) const;
    SubtitleLinePtr nextSubtitleLineForLine(const SubtitleLine* line) const;

    // Indexes of the lines holding two locations of the script text (a location past the
    // end counts as the last line), and the script text's length, from one walk.
    struct LineSpan {
        qsizetype first = 0;
        qsizetype last = 0;
        qsizetype textLength = 0;
    };
    LineSpan lineSpanOf(qsizetype from, qsizetype to) const;

    // The line whose text line (with its line feed) holds the location; null past the end.
    SubtitleLinePtr getSubtitleLineWithRange(TextRange range) const;
    // Offset of the line's first character in the script text; NotFound if not listed.
    qsizetype offsetOfSubtitleLine(const SubtitleLine* line) const;
    // The line's text part, between its time strings.
    TextRange getRangeWithSubtitleLine(const SubtitleLine* line) const;
    // The start or end time string; length 0 when that time is not set.
    TextRange findTimeCodeRangeOfSubtitleLine(const SubtitleLine* line, bool isStartTimeCode) const;
    qsizetype findStartRangeOfSubtitleLine(const SubtitleLine* line) const;
    qsizetype findEndRangeOfSubtitleLine(const SubtitleLine* line) const;

    // Valid lines with start < b and end >= a, scanning until a start passes b.
    QList<SubtitleLinePtr> subtitleForStartTime(double a, double b) const;
    // The first line whose time range holds the time (open-ended lines included).
    SubtitleLinePtr getCurrentSubtitle(const MediaTime& time) const;
    // The first line that has no end or ends after the time.
    SubtitleLinePtr getNextSubtitleLineAtTime(const MediaTime& time) const;

    std::recursive_mutex& listLock() const { return lock_; }

private:
    FrameDuration frameDuration_;
    QList<SubtitleLinePtr> subtitles_;
    mutable std::recursive_mutex lock_;
};

} // namespace quillery
