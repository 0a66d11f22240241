#include "MediaComposition.h"

#include <cmath>
#include <numbers>

namespace quillery {

namespace {

bool isBefore(const MediaTime& a, const MediaTime& b) {
    return compare(a, b) < 0;
}

const MediaTime& earlier(const MediaTime& a, const MediaTime& b) {
    return isBefore(b, a) ? b : a;
}

bool isPositive(const MediaTime& duration) {
    return duration.isNumeric() && duration.value > 0;
}

// The part of a segment from `from` on (a source segment's source moves along with it).
CompositionSegment tailFrom(const CompositionSegment& segment, const MediaTime& from) {
    CompositionSegment tail = segment;
    const MediaTime cut = subtract(from, segment.target.start);
    tail.target = {from, subtract(segment.target.duration, cut)};
    if (tail.source)
        tail.sourceStart = add(segment.sourceStart, cut);
    return tail;
}

} // namespace

// --- Transforms ------------------------------------------------------------------------------

AffineTransform AffineTransform::rotation(double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::translated(double x, double y) const {
    AffineTransform moved = *this;
    moved.tx = a * x + c * y + tx;
    moved.ty = b * x + d * y + ty;
    return moved;
}

double AffineTransform::rotationDegrees() const {
    return std::atan2(b, a) * 180 / std::numbers::pi;
}

// --- Assets ------------------------------------------------------------------------------------

QList<MediaAssetTrack> MediaAsset::tracksWithMediaType(MediaType type) const {
    QList<MediaAssetTrack> tracks;
    for (const MediaAssetTrack& track : tracks_) {
        if (track.mediaType == type)
            tracks << track;
    }
    return tracks;
}

MediaAssetPtr MediaAssetCache::assetWithPath(const QString& path) {
    MediaAssetPtr& asset = assets_[path];
    if (!asset)
        asset = MediaAsset::assetWithPath(path);
    return asset;
}

// --- Tracks ------------------------------------------------------------------------------------

bool MutableCompositionTrack::insertTimeRange(const MediaTimeRange& range,
                                              const MediaAssetTrack& track, const MediaTime& at) {
    if (!at.isNumeric() || isBefore(at, MediaTime::zero()) || !range.start.isNumeric() ||
        isBefore(range.start, MediaTime::zero()))
        return false;
    MediaTime end = range.end();
    if (track.duration.isNumeric())
        end = earlier(end, track.duration);
    const MediaTime duration = subtract(end, range.start);
    if (!isPositive(duration))
        return false;
    place({{at, duration}, track, range.start});
    return true;
}

void MutableCompositionTrack::insertEmptyTimeRange(const MediaTimeRange& range) {
    if (range.start.isNumeric() && isPositive(range.duration))
        place({range, std::nullopt, MediaTime::zero()});
}

void MutableCompositionTrack::place(CompositionSegment segment) {
    const MediaTime start = segment.target.start;
    const MediaTime end = segment.target.end();
    QList<CompositionSegment> kept;
    for (const CompositionSegment& old : segments_) {
        const MediaTime oldEnd = old.target.end();
        if (!isBefore(start, oldEnd) || !isBefore(old.target.start, end)) {
            kept << old;
            continue;
        }
        if (isBefore(old.target.start, start)) {
            CompositionSegment head = old;
            head.target.duration = subtract(start, old.target.start);
            kept << head;
        }
        if (isBefore(end, oldEnd))
            kept << tailFrom(old, end);
    }
    qsizetype at = 0;
    while (at < kept.size() && isBefore(kept[at].target.start, start))
        ++at;
    kept.insert(at, std::move(segment));
    segments_ = std::move(kept);
}

MediaTime MutableCompositionTrack::duration() const {
    return segments_.isEmpty() ? MediaTime::zero() : segments_.back().target.end();
}

// --- Compositions ------------------------------------------------------------------------------

CompositionTrackPtr MutableComposition::addMutableTrackWithMediaType(MediaType type) {
    tracks_ << std::make_shared<MutableCompositionTrack>(static_cast<int>(tracks_.size()) + 1,
                                                         type);
    return tracks_.back();
}

QList<CompositionTrackPtr> MutableComposition::tracksWithMediaType(MediaType type) const {
    QList<CompositionTrackPtr> tracks;
    for (const CompositionTrackPtr& track : tracks_) {
        if (track->mediaType() == type)
            tracks << track;
    }
    return tracks;
}

MediaTime MutableComposition::duration() const {
    MediaTime longest = MediaTime::zero();
    for (const CompositionTrackPtr& track : tracks_) {
        if (isBefore(longest, track->duration()))
            longest = track->duration();
    }
    return longest;
}

double VideoComposition::frameRate() const {
    return isPositive(frameDuration)
               ? static_cast<double>(frameDuration.timescale) / frameDuration.value
               : 0.0;
}

const LayerInstruction* VideoComposition::layerAt(int trackID, const MediaTime& time) const {
    for (const VideoCompositionInstruction& instruction : instructions) {
        if (isBefore(time, instruction.timeRange.start) ||
            !isBefore(time, instruction.timeRange.end()))
            continue;
        for (const LayerInstruction& layer : instruction.layerInstructions) {
            if (layer.trackID == trackID)
                return &layer;
        }
    }
    return nullptr;
}

void AudioMix::setVolume(int trackID, double volume) {
    for (AudioMixInputParameters& parameters : inputParameters) {
        if (parameters.trackID == trackID) {
            parameters.volume = volume;
            return;
        }
    }
    inputParameters << AudioMixInputParameters{trackID, volume};
}

double AudioMix::volumeOfTrack(int trackID) const {
    for (const AudioMixInputParameters& parameters : inputParameters) {
        if (parameters.trackID == trackID)
            return parameters.volume;
    }
    return 1.0;
}

} // namespace quillery
