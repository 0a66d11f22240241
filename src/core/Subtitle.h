// A subtitle file as read or about to be written: its lines in file order plus the
// header and footer text of formats that have them. It lives only while a file passes
// between disk and the script editor; the editor's text is the lasting copy.
#pragma once

#include "SubtitleLine.h"

#include <QList>
#include <QString>

namespace quillery {

class SubtitleFormat;

class Subtitle {
public:
    Subtitle();
    // A list to write through a subtitle format: copies of the editor's lines, so the
    // editor's own records stay as they are, with the line-break marks turned into line
    // feeds when the format writes row breaks of its own.
    static Subtitle fromScriptLines(const QList<SubtitleLinePtr>& lines, bool rowsAsLineFeeds);
    // The copy of one editor line that such a list holds.
    static SubtitleLinePtr lineForWriting(const SubtitleLine& line, bool rowsAsLineFeeds);
    // What that copy gets, done to a line of the caller's own.
    static void prepareForWriting(SubtitleLine& line, bool rowsAsLineFeeds);

    // Frame-based readers fill frame numbers; this turns them into time codes at the
    // given rate. False (nothing done) for lists read by a time-based format.
    bool calculateTimeCodesFromFrameNumbers(double frameRate);
    void renumber(int64_t firstNumber);
    SubtitleLinePtr getSubtitleLineAtIndex(qsizetype index) const;
    // The script text of the whole list: one line per subtitle, rows joined by the
    // line-break mark, no line feed after the last line.
    QString getTextViewDisplayString() const;

    const SubtitleFormat* format = nullptr;
    bool wasLoadedWithFrameNumbers = false;
    QString header; // null when the format has none
    QString footer; // null when the format has none
    QString fileUrl;
    QString filename;
    QList<SubtitleLinePtr> subtitles;
};

} // namespace quillery
