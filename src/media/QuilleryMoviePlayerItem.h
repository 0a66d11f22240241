// The unit handed to the movie player: a main movie and, for an assembled preview, an
// optional second movie laid over it in given time ranges.
#pragma once

#include "MediaProbe.h"
#include "MediaTime.h"

#include <QList>
#include <QSizeF>
#include <memory>

namespace quillery {

struct MediaTimeRange {
    MediaTime start;
    MediaTime duration;
};

// One playable movie: the file (or, later, an assembled preview's description) and what
// its container holds.
struct MoviePlayerItem {
    QString path;
    MediaProbe probe;

    static std::shared_ptr<const MoviePlayerItem> fromFile(const QString& path);
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
