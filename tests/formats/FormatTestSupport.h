// Record lists for the subtitle formats to write, and what they read, in one line a cue.
#pragma once

#include "Subtitle.h"

#include <QStringList>

namespace quillery::test {

// A cue with its times in milliseconds.
inline SubtitleLinePtr cue(double startMs, double endMs, const QString& text) {
    SubtitleLinePtr line = SubtitleLine::create();
    line->setStartTimeCode(TimeCode(startMs));
    line->setEndTimeCode(TimeCode(endMs));
    line->setText(text);
    return line;
}

inline Subtitle subtitleOf(const QList<SubtitleLinePtr>& cues) {
    Subtitle subtitle;
    subtitle.subtitles = cues;
    return subtitle;
}

// Each cue as "start end text", the times in whole milliseconds.
inline QStringList cuesOf(const Subtitle& subtitle) {
    QStringList cues;
    for (const SubtitleLinePtr& line : subtitle.subtitles)
        cues << QStringLiteral("%1 %2 %3")
                    .arg(QString::number(qint64(line->startTimeCode().totalMilliseconds())),
                         QString::number(qint64(line->endTimeCode().totalMilliseconds())),
                         line->text());
    return cues;
}

inline QStringList texts(const Subtitle& subtitle) {
    QStringList texts;
    for (const SubtitleLinePtr& line : subtitle.subtitles)
        texts << line->text();
    return texts;
}

} // namespace quillery::test
