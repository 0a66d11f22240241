// Turns files into text and text into lines. Decoding guesses the character set with
// uchardet and decodes with ICU; when that gives nothing, a second, simpler decoder
// has a go. Every importer and the editor's text tools cut lines here.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace quillery {

// The text of a file's bytes, or nothing when they are binary data. Valid UTF-8 is read
// as UTF-8; other bytes as the character-set detector guesses, or as UTF-16/32 or a
// Windows code page when it has no answer. A byte-order mark is never part of the text.
std::optional<QString> decodeText(const QByteArray& bytes);
// The file's text, or nothing when it cannot be read or decoded (fileAccessProblem in
// ImportMessages.h tells why a file cannot be read).
std::optional<QString> getContentFromURL(const QString& path);

class TextFileReader {
public:
    static TextFileReader& sharedInstance();

    // Chooses by the lower-cased suffix: ".doc" and ".rtf" through the rich-text reader,
    // anything else through getContentFromURL with every CR removed.
    std::optional<QString> readFile(const QString& path) const;
    // Cut at every CR and LF, each piece trimmed of Unicode white space, empty pieces dropped.
    QStringList getLinesFromText(const QString& text) const;
    // The same lines as views into the text, one at a time, for texts too long to copy.
    static void forEachLineOfText(QStringView text, const std::function<void(QStringView)>& visit);
    // getLinesFromText joined with LF; empty when there are no lines.
    QString removeEmptyLinesFromString(const QString& text) const;

private:
    // The plain text of a Word or RTF document.
    static std::optional<QString> readRichTextFile(const QString& path);
};

} // namespace quillery
