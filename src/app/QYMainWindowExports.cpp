// The main window's export commands: each asks for a destination with a proposed name
// and one allowed type, appends that type's extension when the chosen name lacks it, then
// hands the script to its writer.
#include "AvidSubtitleFile.h"
#include "FileWriting.h"
#include "Localization.h"
#include "QYExporter.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "SubtitleFormat.h"
#include "SubtitleTextView.h"

namespace quillery {

QString QYMainWindowController::chooseExportPath(const QString& proposedName, const QString& type) {
    FileRequest request;
    request.proposedName = proposedName;
    request.allowedTypes = {type};
    const QString path = presenter_->chooseFileToSave(request);
    return path.isEmpty() ? path : pathWithExtension(path, type);
}

void QYMainWindowController::saveSRTFile() {
    const QString path = chooseExportPath(QStringLiteral("output.srt"), QStringLiteral("srt"));
    if (!path.isEmpty())
        QYExporter(*textView_).saveSrtFile(path);
}

void QYMainWindowController::saveSTLFile() {
    const QString path = chooseExportPath(QStringLiteral("output.stl"), QStringLiteral("stl"));
    if (!path.isEmpty())
        QYExporter(*textView_).saveStlFile(path);
}

void QYMainWindowController::saveTextScriptFile() {
    const QString path = chooseExportPath(QStringLiteral("output.txt"), QStringLiteral("txt"));
    if (!path.isEmpty())
        QYExporter(*textView_).saveTextScriptFile(path);
}

void QYMainWindowController::exportAvidFile() {
    const QString path = chooseExportPath(QStringLiteral("AvidOutput.txt"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    AvidSubtitleFile file;
    file.path = path;
    file.writeSubtitleToFile(textView_->getAllSubtitles());
}

void QYMainWindowController::exportWebVTTFile() {
    const QString path = chooseExportPath(QStringLiteral("output.vtt"), QStringLiteral("vtt"));
    if (path.isEmpty())
        return;
    const SubtitleFormat* webVtt = SubtitleFormat::allSubtitleFormats().at(0);
    writeUtf8File(path,
                  webVtt->toText(Subtitle::fromScriptLines(textView_->getAllSubtitles(), false),
                                 localized("WebVTT")),
                  WriteMode::Atomic);
}

void QYMainWindowController::didPressExportSubtitleFileMenuItem(int tag) {
    const SubtitleFormat* format = SubtitleFormat::allSubtitleFormats().at(tag);
    const QString path =
        chooseExportPath(QStringLiteral("output.") + format->extension(), format->extension());
    if (path.isEmpty())
        return;
    writeUtf8File(path,
                  format->toText(Subtitle::fromScriptLines(textView_->getAllSubtitles(), true),
                                 format->name()),
                  WriteMode::Atomic);
}

void QYMainWindowController::didPressExportPlainTextMenuItem() {
    const QString path = chooseExportPath(QStringLiteral("output.txt"), QStringLiteral("txt"));
    if (!path.isEmpty())
        writeUtf8File(path, textView_->toPlainText(), WriteMode::Atomic);
}

} // namespace quillery
