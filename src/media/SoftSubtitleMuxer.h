// "Export Soft-Subtitled Video": a copy of a movie with the subtitles added as a track
// the viewer can switch on and off. Picture and sound are copied packet by packet, never
// re-encoded; the subtitle track is made from a SubRip text, so it holds exactly the
// cues of the SubRip export. The file's extension chooses the container and the track's
// format: "mp4", "m4v" and "mov" get a mov_text track, "mkv" a SubRip track and "webm" a
// WebVTT track (WebM being the Matroska profile whose only subtitle format is WebVTT).
// The copy is written under a temporary name next to the target and renamed at the end,
// so a failed or cancelled export leaves nothing behind.
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

namespace quillery {

struct SoftSubtitleJob {
    QString moviePath;
    QString outputPath;
    // A SubRip file's text: numbered cues with "HH:MM:SS,mmm --> HH:MM:SS,mmm" times.
    QByteArray subRipText;
    // The ISO 639-2 code the track is tagged with.
    QString language;
};

struct SoftSubtitleResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    // What went wrong, as a sentence for the user, when the export failed.
    QString error;
};

// Gets the fraction done, from 0 to 1; returning false cancels the export.
using SoftSubtitleProgress = std::function<bool(double fraction)>;

// The extensions an export can be written with, the first being the usual one.
QStringList softSubtitleExtensions();

// The frame rate of the movie's first video stream; 0 when it has none or cannot be read.
double movieFrameRate(const QString& moviePath);

// The ISO 639-2 (bibliographic) code of the locale's language; "und" when it has none.
QString subtitleLanguageCode(const QLocale& locale);

SoftSubtitleResult writeSoftSubtitledMovie(const SoftSubtitleJob& job,
                                           const SoftSubtitleProgress& progress);

} // namespace quillery
