// Turns files into text and text into lines. Decoding guesses the character set with
// uchardet and decodes with ICU; when that gives nothing, a second, simpler decoder
// has a go. Every importer and the editor's text tools cut lines here.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillery {

// The file's text, or nothing when it cannot be read or decoded. A byte-order mark is
// never part of the text.
std::optional<QString> getContentFromURL(const QString& path);

class TextFileReader {
public:
    static TextFileReader& sharedInstance();

    // Chooses by the lower-cased suffix: ".doc" and ".rtf" through the rich-text reader,
    // anything else through getContentFromURL with every CR removed.
    std::optional<QString> readFile(const QString& path) const;
    // Cut at every CR and LF, each piece trimmed of Unicode white space, empty pieces dropped.
    QStringList getLinesFromText(const QString& text) const;
    // getLinesFromText joined with LF; empty when there are no lines.
    QString removeEmptyLinesFromString(const QString& text) const;

private:
    // The plain text of a Word or RTF document.
    static std::optional<QString> readRichTextFile(const QString& path);
};

} // namespace quillery
