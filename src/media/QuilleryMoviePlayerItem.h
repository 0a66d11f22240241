// The unit handed to the movie player: a main movie and, for an assembled preview, an
// optional second movie laid over it in given time ranges.
#pragma once

#include "MediaComposition.h"
#include "MediaProbe.h"

#include <QList>
#include <QSizeF>
#include <memory>

namespace quillery {

// One playable movie: a file and what its container holds, or an assembled preview.
struct MoviePlayerItem {
    // Empty for an assembled preview.
    QString path;
    MediaProbe probe;
    std::shared_ptr<const PreviewComposition> composition;

    static std::shared_ptr<const MoviePlayerItem> fromFile(const QString& path);
    // The probe describes the assembled movie: its length, its frame size and rate (the
    // render size and the inverse of the frame duration, also without picture) and, when it
    // has sound, one audio track: the waveform reads a preview's audio tracks as one.
    static std::shared_ptr<const MoviePlayerItem>
    fromComposition(std::shared_ptr<const PreviewComposition> composition);
    double duration() const { return probe.duration; }
};
using MoviePlayerItemPtr = std::shared_ptr<const MoviePlayerItem>;

struct QuilleryMoviePlayerItem {
    MoviePlayerItemPtr mainMovie;
    QSizeF mainMovieDisplaySize;
    MoviePlayerItemPtr secondaryMovie;
    QSizeF secondaryMovieDisplaySize;
    QList<MediaTimeRange> secondaryMovieDiplayTime;

    // True when the time lies in one of the ranges, both ends included.
    bool displaySecondaryMovieInTime(const MediaTime& time) const;
};

} // namespace quillery
