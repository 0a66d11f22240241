// "Export Soft-Subtitled Video": a copy of the loaded movie with the script's subtitles as
// a track the viewer can switch on, written by the media layer's remuxer while a progress
// dialog shows how far it got and offers to cancel.
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
    const QString subRip = subRipAtFrameRate(*textView_, fps);
    if (subRip.isEmpty()) {
        showWarningMessage(localized("The script has no timed subtitle to add to the movie."));
        return;
    }

    const QString extension = proposedExtension(movieFilePath_);
    FileRequest request;
    request.directory = QFileInfo(movieFilePath_).absolutePath();
    request.proposedName =
        QFileInfo(movieFilePath_).completeBaseName() + localized(" subtitled") + u'.' + extension;
    request.allowedTypes = softSubtitleExtensions();
    QString path = presenter_->chooseFileToSave(request);
    if (path.isEmpty())
        return;
    if (!softSubtitleExtensions().contains(QFileInfo(path).suffix().toLower()))
        path = pathWithExtension(path, extension);

    QProgressDialog progress(localized("Writing \"%1\"...").arg(QFileInfo(path).fileName()),
                             localized("Cancel"), 0, kProgressSteps, this);
    progress.setWindowTitle(localized("Export Soft-Subtitled Video"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    // Escape and the window's close button cancel the export as the Cancel button does.
    connect(&progress, &QDialog::rejected, &progress, &QProgressDialog::cancel);
    const SoftSubtitleJob job{movieFilePath_, path, subRip.toUtf8(),
                              subtitleLanguageCode(QLocale::system())};
    const SoftSubtitleResult result = writeSoftSubtitledMovie(job, [&progress](double done) {
        progress.setValue(static_cast<int>(done * kProgressSteps));
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    if (result.status == SoftSubtitleResult::Status::Failed)
        showErrorMessage(*presenter_, result.error);
}

} // namespace quillery
