// The main window's preview of an imported Final Cut Pro timeline: the window is its own
// preview assembler. It has the media layer assemble the timeline's media files, plays the
// result like a loaded movie (the waveform reads its sound), tells the user which media
// files were not found, and writes the preview out with the subtitles as a soft track.
#include "FCPPreviewAssembly.h"
#include "FolderUtility.h"
#include "Localization.h"
#include "PreviewRenderer.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYMoviePlayerViewController.h"
#include "SoftSubtitleMuxer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

namespace quillery {

namespace {

// A Final Cut Pro X preview is handed to the player this long after it was assembled.
constexpr int kFCPXPreviewDelayMs = 500;
// The share of a soft-subtitled preview's export that encoding the preview takes; copying
// it with the subtitle track is the rest.
constexpr double kEncodingShare = 0.9;

QString missingMediaMessage(const QStringList& files) {
    return localized("These media files of the timeline cannot be found. The preview shows "
                     "black and plays nothing where their clips are:\n\n%1")
        .arg(files.join(u'\n'));
}

} // namespace

void QYMainWindowController::assembleFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio) {
    QYFCP7PreviewAssembly assembly(QYFCP7XMLParser::shareInstance().frameDuration());
    const std::optional<QuilleryMoviePlayerItem> item =
        onlyAudio ? assembly.getOnlyAudioPlayerItemFromFCPMovie(*movie)
                  : assembly.getPlayerItemFromFCPMovie(*movie);
    if (item)
        playPreview(*item, assembly.missingMediaFiles());
}

void QYMainWindowController::assembleFCPXProject(const QString& xmlText, bool onlyAudio) {
    QYFCPXPreviewAssembly assembly;
    assembly.getCompositionFromFCPXXML(
        xmlText, onlyAudio, [this, &assembly](const QString& error, MoviePlayerItemPtr movie) {
            const QStringList missing = assembly.missingMediaFiles();
            QTimer::singleShot(kFCPXPreviewDelayMs, this, [this, error, movie, missing] {
                if (!error.isEmpty()) {
                    showErrorMessage(*presenter_, error);
                    return;
                }
                if (!movie)
                    return;
                QuilleryMoviePlayerItem item;
                item.mainMovie = movie;
                item.mainMovieDisplaySize = movie->probe.frameSize;
                playPreview(item, missing);
            });
        });
}

void QYMainWindowController::playPreview(const QuilleryMoviePlayerItem& item,
                                         const QStringList& missingFiles) {
    // The preview is no movie file: a saved project keeps the timeline to assemble again.
    movieFilePath_.clear();
    cleanMovie();
    moviePlayer_->setQuilleryMoviePlayerItem(item);
    if (moviePlayer_->currentPlayItem())
        updateUIAfterLoadMovie(moviePlayer_->quilleryMoviePlayerItem());
    if (!missingFiles.isEmpty())
        showWarningMessage(missingMediaMessage(missingFiles));
}

MoviePlayerItemPtr QYMainWindowController::playingPreview() const {
    const MoviePlayerItemPtr movie = moviePlayer_->currentPlayItem();
    return movie && movie->composition ? movie : nullptr;
}

// A preview has no file whose pictures and sound could be copied: it is encoded anew into a
// temporary movie first, which the remuxer then copies with the subtitle track.
void QYMainWindowController::exportSoftSubtitledPreview(const MoviePlayerItemPtr& preview) {
    const QString subRip = softSubtitleCues(preview->probe.frameRate);
    if (subRip.isEmpty())
        return;
    // The encoded pictures are H.264, which WebM cannot hold.
    QStringList extensions = softSubtitleExtensions();
    extensions.removeAll(QStringLiteral("webm"));
    const QString path =
        chooseSoftSubtitledVideoPath(FolderUtility::sharedInstance().userMovieDirectory(),
                                     localized("Preview"), QStringLiteral("mp4"), extensions);
    if (path.isEmpty())
        return;
    const QString label =
        localized("Encoding the preview's pictures and sound anew and writing \"%1\"...")
            .arg(QFileInfo(path).fileName());
    runWithExportProgress(label, [&](const std::function<bool(double)>& progress) {
        const QTemporaryDir folder;
        const QString encoded = folder.filePath(QStringLiteral("preview.mkv"));
        const PreviewRenderResult rendering =
            renderPreview(*preview, encoded,
                          [&progress](double done) { return progress(done * kEncodingShare); });
        if (rendering.status != PreviewRenderResult::Status::Written)
            return rendering.error;
        const SoftSubtitleJob job{encoded, path, subRip.toUtf8(),
                                  subtitleLanguageCode(QLocale::system())};
        const SoftSubtitleResult copy = writeSoftSubtitledMovie(job, [&progress](double done) {
            return progress(kEncodingShare + done * (1 - kEncodingShare));
        });
        return copy.status == SoftSubtitleResult::Status::Failed ? copy.error : QString();
    });
}

} // namespace quillery
