#include "QuilleryMoviePlayerItem.h"

namespace quillery {

MoviePlayerItemPtr MoviePlayerItem::fromFile(const QString& path) {
    auto item = std::make_shared<MoviePlayerItem>();
    item->path = path;
    item->probe = MediaProbe::probe(path);
    return item;
}

MoviePlayerItemPtr
MoviePlayerItem::fromComposition(std::shared_ptr<const PreviewComposition> composition) {
    auto item = std::make_shared<MoviePlayerItem>();
    MediaProbe& probe = item->probe;
    probe.opened = true;
    probe.playable = true;
    probe.duration = composition->composition.duration().seconds();
    probe.hasVideo = !composition->composition.tracksWithMediaType(MediaType::Video).isEmpty();
    probe.audioTrackCount =
        composition->composition.tracksWithMediaType(MediaType::Audio).isEmpty() ? 0 : 1;
    probe.frameRate = composition->videoComposition.frameRate();
    probe.frameSize = composition->videoComposition.renderSize.toSize();
    item->composition = std::move(composition);
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
