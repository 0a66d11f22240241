#include "RichTextReader.h"

#include "Localization.h"
#include "QYLog.h"
#include "QYRegex.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quillery {

namespace {

constexpr int kReaderTimeoutMs = 60000;
const QString kReaderProgram = QStringLiteral("catdoc");

// Word 97 and later documents are OLE2 compound files; RTF announces itself. Anything
// else would come back from the reader as its raw bytes.
bool looksLikeRichText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8);
    return head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || head.startsWith("{\\rtf");
}

RichTextResult failure(const QString& why) {
    QY_DBG("The error is : %s", qUtf8Printable(why));
    return {std::nullopt, why};
}

} // namespace

RichTextResult readRichTextDocument(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return failure(localized("The file %1 can not be read.").arg(file.fileName()));
    if (!looksLikeRichText(path))
        return failure(
            localized("The file %1 is not a Word or RTF document.").arg(file.fileName()));
    const QString program = QStandardPaths::findExecutable(kReaderProgram);
    if (program.isEmpty())
        return failure(localized("Word and RTF documents are read with catdoc, which is not "
                                 "installed. Please install the catdoc package."));

    QProcess reader;
    // -d utf-8: the text as UTF-8; -w: no line wrapping, so each paragraph stays one line.
    reader.start(program, {QStringLiteral("-d"), QStringLiteral("utf-8"), QStringLiteral("-w"),
                           file.absoluteFilePath()});
    if (!reader.waitForFinished(kReaderTimeoutMs) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        reader.kill();
        return failure(localized("The document %1 could not be read.").arg(file.fileName()));
    }
    QString text = QString::fromUtf8(reader.readAllStandardOutput());
    if (path.endsWith(QStringLiteral(".doc"), Qt::CaseInsensitive))
        QYRegex::replaceOccurrencesOfRegex(text, QStringLiteral("HYPERLINK \"[^\"]*\""), QString());
    return {text, QString()};
}

} // namespace quillery
