#include "QuilleryMoviePlayerItem.h"

namespace quillery {

MoviePlayerItemPtr MoviePlayerItem::fromFile(const QString& path) {
    auto item = std::make_shared<MoviePlayerItem>();
    item->path = path;
    item->probe = MediaProbe::probe(path);
    return item;
}

bool QuilleryMoviePlayerItem::displaySecondaryMovieInTime(const MediaTime& time) const {
    for (const MediaTimeRange& range : secondaryMovieDiplayTime) {
        if (compare(time, range.start) >= 0 && compare(time, add(range.start, range.duration)) <= 0)
            return true;
    }
    return false;
}

} // namespace quillery
