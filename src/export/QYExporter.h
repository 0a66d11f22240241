// The exporter: parses the script text once more by its own, looser rules (any text
// between two time strings is a subtitle) and prints that list as SubRip, STL and text
// script files. The Final Cut Pro X and Smoke writers take the same list from here.
#pragma once

#include "QYExportSource.h"
#include "SubtitleLine.h"

#include <QList>
#include <QString>
#include <cstdint>

namespace quillery {

class QYExporter {
public:
    explicit QYExporter(const QYExportSource& textView);

    // The subtitles of the script text in text order, unsorted and unchecked.
    QList<SubtitleLinePtr> generateSubtitleLines() const;

    // Hours are never wrapped at 24, and frames never carry into the seconds.
    static QString srtTimeStringFromTimeInterval(double seconds);
    static QString stlTimeStringFromTimeInterval(double seconds);
    static QString textScriptTimeStringFromTimeInterval(double seconds);

    QString getSRTFileContent() const;
    QString getSTLFileContent() const;
    QString getTextScriptFileContent() const;

    // UTF-8 without a byte-order mark, written in place; false when the write failed.
    bool saveSrtFile(const QString& path) const;
    bool saveStlFile(const QString& path) const;
    bool saveTextScriptFile(const QString& path) const;

    // The Final Cut Pro 7 sequence timing, set together before that writer runs.
    bool mbIsDropFrame = false;
    int32_t miTimebase = 0;

private:
    SubtitleLinePtr subtitleBetween(const QString& startString, const QString& endString,
                                    const QString& text) const;
    SubtitleLinePtr subtitleToMovieEnd(const QString& startString, double duration,
                                       const QString& text) const;

    const QYExportSource& textView_;
};

// The path of an export destination: ".extension" appended unless the path already ends
// with it (case-sensitive), so "movie" and "movie.srt" both give "movie.srt".
QString pathWithExtension(const QString& path, const QString& extension);

} // namespace quillery
