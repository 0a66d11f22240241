#include "AvidSubtitleFile.h"

#include "FileWriting.h"
#include "QYLog.h"

#include <QDebug>

namespace quillery {

QString AvidSubtitleFile::convertSubtitleToAvidText(const QList<SubtitleLinePtr>& subtitles) const {
    QString text = avidTextHead();
    for (const SubtitleLinePtr& line : subtitles)
        appendAvidLine(text, *line);
    return text + avidTextTail();
}

QString AvidSubtitleFile::avidTextHead() {
    return QStringLiteral(
        "@ This file written with the Avid Caption plugin, version 1\n\n<begin subtitles>\n\n");
}

void AvidSubtitleFile::appendAvidLine(QString& text, const SubtitleLine& line) const {
    text += convertToAvidTimeFormat(line.getStartTimeString()) + u' ' +
            convertToAvidTimeFormat(line.getEndTimeString()) + u'\n' + line.text() +
            QStringLiteral("\n\n");
}

QString AvidSubtitleFile::avidTextTail() {
    return QStringLiteral("\n\n<end subtitles>");
}

QString AvidSubtitleFile::convertToAvidTimeFormat(const QString& timeString) const {
    QString converted = timeString;
    converted.replace(u'.', u':');
    converted.remove(u'[');
    converted.remove(u']');
    return converted;
}

bool AvidSubtitleFile::writeSubtitleToFile(const QList<SubtitleLinePtr>& subtitles) const {
    if (writeUtf8File(path, convertSubtitleToAvidText(subtitles), WriteMode::Atomic))
        return true;
    QY_DBG("The error is : %s", qUtf8Printable(QStringLiteral("could not write ") + path));
    return false;
}

} // namespace quillery
