// The main window's imports: routing dropped and chosen files by extension, SubRip,
// plain text, Word and RTF, and subtitle formats.
#include "ImportMessages.h"
#include "Localization.h"
#include "QYLog.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYMoviePlayerViewController.h"
#include "QYProjectSession.h"
#include "QYTimeUtility.h"
#include "QYWaveFormView.h"
#include "RichTextReader.h"
#include "SRTFile.h"
#include "SubtitleFormat.h"
#include "SubtitleTextView.h"
#include "TextFileReader.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace quillery {

namespace {

// Follow-ups that the original flow runs a moment after an import, once the editor has
// settled.
constexpr int kAfterSubRipImportMs = 500;
constexpr int kOpenRequestDelayMs = 1000;

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

} // namespace

QString QYMainWindowController::chooseFileToImport(const QStringList& types) {
    FileRequest request;
    request.allowedTypes = types;
    return presenter_->chooseFileToOpen(request);
}

void QYMainWindowController::didDragFileIntoView(const QString& path) {
    const QString extension = extensionOf(path);
    if (movieExtensions_.contains(extension))
        openMovie(path);
    else if (extension == "srt")
        loadSRTFileFromURL(path);
    else if (extension == "txt")
        dragTextFile(path);
    else if (extension == "doc")
        dragDocFile(path);
    else if (extension == "rtf")
        dragRtfFile(path);
    else if (extension == "xml")
        dragXmlFile(path);
    else if (extension == "fcpxml")
        dragFCPXFile(path);
    else if (extension == kProjectFileExtension)
        session_->openQuilleryDocAtFile(path);
    else
        openSubtitleFile(path);
}

bool QYMainWindowController::acceptsOpenRequest(const QString& path) {
    return extensionOf(path) == kProjectFileExtension;
}

// A path from the command line is relative to the folder the editor was started in; the
// recent projects must still find it when the editor starts somewhere else.
void QYMainWindowController::openFileOnRequest(const QString& path) {
    if (!acceptsOpenRequest(path))
        return;
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    QTimer::singleShot(kOpenRequestDelayMs, this,
                       [this, absolutePath] { session_->openQuilleryDocAtFile(absolutePath); });
}

// --- Subtitle formats ------------------------------------------------------------------------

void QYMainWindowController::didPressImportSubtitleFileMenuItem(int tag) {
    const QString path =
        chooseFileToImport({SubtitleFormat::allSubtitleFormats().at(tag)->extension()});
    if (!path.isEmpty())
        openSubtitleFile(path);
}

void QYMainWindowController::openSubtitleFile(const QString& path) {
    Subtitle subtitle;
    const SubtitleFormat* format = loadSubtitle(subtitle, path);
    QY_DBG("The format name is : %s", qUtf8Printable(format ? format->name() : QString()));
    replaceTextInTextView(subtitle.getTextViewDisplayString());
}

// --- SubRip -------------------------------------------------------------------------------

void QYMainWindowController::loadSRTFile() {
    if (!checkContent() || !checkXML())
        return;
    const QString path = chooseFileToImport({QStringLiteral("srt"), QStringLiteral("title")});
    if (!path.isEmpty())
        loadSRTFileFromURL(path);
}

bool QYMainWindowController::warnIfUnreadable(const QString& path) {
    const QString problem = fileAccessProblem(path);
    if (problem.isEmpty())
        return false;
    showWarningMessage(cannotReadFileMessage(fileNameOf(path), problem));
    return true;
}

void QYMainWindowController::loadSRTFileFromURL(const QString& path) {
    if (warnIfUnreadable(path))
        return;
    const SRTFile file(path);
    if (file.text.isEmpty()) {
        showWarningMessage(srtReadFailureMessage(fileNameOf(path)));
        return;
    }
    const auto fps = static_cast<float>(QYTimeUtility::sharedInstance().getFPS());
    const QString script = SRTFile::convertToText(file.text, fps);
    if (script.isEmpty()) {
        showWarningMessage(srtTranslateFailureMessage(fileNameOf(path)));
        return;
    }
    replaceTextInTextView(script);
    QTimer::singleShot(kAfterSubRipImportMs, this, [this] { afterSubRipImport(); });
}

void QYMainWindowController::afterSubRipImport() {
    if (moviePlayer_->currentPlayItem())
        waveFormView_->setSubtitleLines(textView_->getAllSubtitles());
    if (movieFilePath_.isEmpty())
        showWarningMessage(localized("No movie imported. It's OK to continue. You should choose "
                                     "an appropriate frame from the Toolbar dropdown menu."));
    if (textView_->error()) {
        showWarningMessage(localized(
            "We found there are error time code in your srt file. You can find them by click the "
            "'Find Error TC' button on ToolBar, and you can correct them by click on menu "
            "'Tools-Auto Correct Error Timecode'."));
        textView_->findFirstErrorTimeCode();
    }
}

// --- Plain text, Word and RTF ---------------------------------------------------------------

void QYMainWindowController::loadTextFile() {
    if (!checkContent() || !checkXML())
        return;
    const QString path = chooseFileToImport({QStringLiteral("txt"), QStringLiteral("doc"),
                                             QStringLiteral("rtf"), QStringLiteral("title")});
    const QString lowered = path.toLower();
    if (lowered.endsWith(".txt"))
        dragTextFile(path);
    else if (lowered.endsWith(".doc"))
        dragDocFile(path);
    else if (lowered.endsWith(".rtf"))
        dragRtfFile(path);
}

void QYMainWindowController::dragTextFile(const QString& path) {
    if (warnIfUnreadable(path))
        return;
    const std::optional<QString> text = getContentFromURL(path);
    if (!text) {
        // Nothing to put in its place: the editor keeps what it has.
        showWarningMessage(localized("Can not read the text file : %1.").arg(fileNameOf(path)));
        return;
    }
    replaceTextInTextView(*text);
}

void QYMainWindowController::dragDocFile(const QString& path) {
    const RichTextResult document = readRichTextDocument(path);
    if (!document.text) {
        showErrorMessage(*presenter_, document.error);
        return;
    }
    replaceTextInTextView(*document.text);
}

void QYMainWindowController::dragRtfFile(const QString& path) {
    dragDocFile(path);
}

} // namespace quillery
