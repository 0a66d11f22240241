// One imported SubRip file and its conversion into script text: each cue becomes one
// script line framed by frame-based time strings, its rows joined by the line-break mark.
// Cues are found by their number line and time line; blank lines mean nothing.
#pragma once

#include <QString>
#include <QStringList>

namespace quillery {

class SRTFile {
public:
    explicit SRTFile(const QString& path);

    // Decodes the file into text with every CR turned into LF; null when decoding fails.
    QString loadFile(const QString& path);

    // True when the pattern of a time line matches the space-free line exactly once.
    static bool isTimecodeString(const QString& spaceFreeLine);
    // Script lines from trimmed, non-empty SubRip lines, in file order.
    static QStringList generateSRTLines(const QStringList& lines, float fps);
    // The script text of a whole SubRip text; empty when nothing converts.
    static QString convertToText(const QString& text, float fps);

    QString path;
    QString text;
};

} // namespace quillery
