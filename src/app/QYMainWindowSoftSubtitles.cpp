// "Export Soft-Subtitled Video": a copy of the loaded movie with the script's subtitles as
// a track the viewer can switch on, written by the media layer's remuxer while a progress
// dialog shows how far it got and offers to cancel. (A preview assembled from a timeline
// takes its own road there: QYMainWindowPreview.cpp.)
#include "Localization.h"
#include "QYExporter.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYTimeUtility.h"
#include "SoftSubtitleMuxer.h"
#include "SubtitleTextView.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace quillery {

namespace {

constexpr int kProgressSteps = 1000;

// The cues exactly as the SubRip export writes them, with the script's time strings
// read at the movie's own frame rate.
QString subRipAtFrameRate(const QYExportSource& script, double fps) {
    const FrameRateScope scope(fps);
    return QYExporter(script).getSRTFileContent();
}

// The movie's own extension when the export can write it, else Matroska, which takes
// nearly every codec.
QString proposedExtension(const QString& moviePath) {
    const QString extension = QFileInfo(moviePath).suffix().toLower();
    return softSubtitleExtensions().contains(extension) ? extension : QStringLiteral("mkv");
}

} // namespace

void QYMainWindowController::exportSoftSubtitledVideo() {
    if (movieFilePath_.isEmpty()) {
        if (const auto preview = playingPreview()) {
            exportSoftSubtitledPreview(preview);
            return;
        }
        showWarningMessage(
            localized("Please import a movie first: the subtitles are added to a copy of it."));
        return;
    }
    const QString movieName = QFileInfo(movieFilePath_).fileName();
    const double fps = movieFrameRate(movieFilePath_);
    if (fps <= 0) {
        showErrorMessage(*presenter_, localized("The movie \"%1\" has no picture that can be "
                                                "read.")
                                          .arg(movieName));
        return;
    }
    const QString subRip = softSubtitleCues(fps);
    if (subRip.isEmpty())
        return;
    const QString path = chooseSoftSubtitledVideoPath(
        QFileInfo(movieFilePath_).absolutePath(), QFileInfo(movieFilePath_).completeBaseName(),
        proposedExtension(movieFilePath_), softSubtitleExtensions());
    if (path.isEmpty())
        return;
    const SoftSubtitleJob job{movieFilePath_, path, subRip.toUtf8(),
                              subtitleLanguageCode(QLocale::system())};
    const QString label = localized("Writing \"%1\"...").arg(QFileInfo(path).fileName());
    runWithExportProgress(label, [&job](const std::function<bool(double)>& progress) {
        const SoftSubtitleResult result = writeSoftSubtitledMovie(job, progress);
        return result.status == SoftSubtitleResult::Status::Failed ? result.error : QString();
    });
}

QString QYMainWindowController::softSubtitleCues(double fps) {
    const QString subRip = subRipAtFrameRate(*textView_, fps);
    if (subRip.isEmpty())
        showWarningMessage(localized("The script has no timed subtitle to add to the movie."));
    return subRip;
}

QString QYMainWindowController::chooseSoftSubtitledVideoPath(const QString& folder,
                                                             const QString& name,
                                                             const QString& extension,
                                                             const QStringList& extensions) {
    FileRequest request;
    request.directory = folder;
    request.proposedName = name + localized(" subtitled") + u'.' + extension;
    request.allowedTypes = extensions;
    const QString path = presenter_->chooseFileToSave(request);
    if (path.isEmpty() || extensions.contains(QFileInfo(path).suffix().toLower()))
        return path;
    return pathWithExtension(path, extension);
}

void QYMainWindowController::runWithExportProgress(const QString& label, const ExportWork& work) {
    QProgressDialog progress(label, localized("Cancel"), 0, kProgressSteps, this);
    progress.setWindowTitle(localized("Export Soft-Subtitled Video"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    // Escape and the window's close button cancel the export as the Cancel button does.
    connect(&progress, &QDialog::rejected, &progress, &QProgressDialog::cancel);
    const QString error = work([&progress](double done) {
        progress.setValue(static_cast<int>(done * kProgressSteps));
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    if (!error.isEmpty())
        showErrorMessage(*presenter_, error);
}

} // namespace quillery
