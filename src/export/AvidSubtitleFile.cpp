#include "AvidSubtitleFile.h"

#include "FileWriting.h"
#include "QYLog.h"

#include <QDebug>

namespace quillery {

QString AvidSubtitleFile::convertSubtitleToAvidText(const QList<SubtitleLinePtr>& subtitles) const {
    QString text = QStringLiteral(
        "@ This file written with the Avid Caption plugin, version 1\n\n<begin subtitles>\n\n");
    for (const SubtitleLinePtr& line : subtitles) {
        text += convertToAvidTimeFormat(line->getStartTimeString()) + u' ' +
                convertToAvidTimeFormat(line->getEndTimeString()) + u'\n' + line->text() +
                QStringLiteral("\n\n");
    }
    text += QStringLiteral("\n\n<end subtitles>");
    return text;
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
