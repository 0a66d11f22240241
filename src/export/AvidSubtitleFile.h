// The Avid caption list: the script editor's own subtitle list (not the exporter's
// re-parse) printed between the caption plugin's begin and end markers, with time
// strings turned into colon-separated timecodes and the texts left as they are.
#pragma once

#include "SubtitleLine.h"

#include <QList>
#include <QString>

namespace quillery {

class AvidSubtitleFile {
public:
    QString convertSubtitleToAvidText(const QList<SubtitleLinePtr>& subtitles) const;
    // The same text in pieces, for a list too long to hold at once: the head, each line
    // appended in turn, then the tail.
    static QString avidTextHead();
    void appendAvidLine(QString& text, const SubtitleLine& line) const;
    static QString avidTextTail();
    // [00:01:02.12] becomes 00:01:02:12; an empty time string stays empty.
    QString convertToAvidTimeFormat(const QString& timeString) const;
    // Written atomically as UTF-8; a failure is logged, never shown, and returns false.
    bool writeSubtitleToFile(const QList<SubtitleLinePtr>& subtitles) const;

    QString path;
};

} // namespace quillery
