// The main window's preview of an imported Final Cut Pro timeline: the window is its own
// preview assembler. It has the media layer assemble the timeline's media files, plays the
// result like a loaded movie (the waveform reads its sound) and tells the user which media
// files were not found.
#include "FCPPreviewAssembly.h"
#include "Localization.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYMoviePlayerViewController.h"

#include <QTimer>

namespace quillery {

namespace {

// A Final Cut Pro X preview is handed to the player this long after it was assembled.
constexpr int kFCPXPreviewDelayMs = 500;

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

} // namespace quillery
