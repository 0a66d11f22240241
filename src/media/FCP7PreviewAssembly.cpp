// The Final Cut Pro 7 side of the preview assembly (see FCPPreviewAssembly.h), and the
// rules both sides share.
#include "FCPPreviewAssembly.h"
#include "QYLog.h"

#include <cmath>
#include <numbers>

namespace quillery {

namespace {

// Every audio track of a Final Cut Pro 7 preview gets the volume of this level.
constexpr double kFCP7AudioLevel = -96;

MediaTime framesOver(int32_t frames, int32_t timebase) {
    return MediaTime::make(frames, timebase);
}

MediaTime later(const MediaTime& a, const MediaTime& b) {
    return compare(b, a) > 0 ? b : a;
}

} // namespace

double convertAdjustVolumn(double level) {
    return std::min(1.0, (level + 96) / 100);
}

AffineTransform layerTransformOfTrack(const MediaAssetTrack& track) {
    if (!track.preferredTransform.isUpsideDown())
        return track.preferredTransform;
    return AffineTransform::rotation(std::numbers::pi)
        .translated(-track.naturalSize.width(), -track.naturalSize.height());
}

VideoCompositionInstruction insertEmptyRange(const MediaTimeRange& range,
                                             MutableCompositionTrack& track) {
    track.insertEmptyTimeRange(range);
    QY_DBG("Insert empty range start : %lld, %d", static_cast<long long>(range.start.value),
           range.start.timescale);
    QY_DBG("Insert empty range duration : %lld, %d", static_cast<long long>(range.duration.value),
           range.duration.timescale);
    return {range, {{track.trackID(), AffineTransform{}}}};
}

std::optional<QuilleryMoviePlayerItem>
QYFCP7PreviewAssembly::getPlayerItemFromFCPMovie(const FCPMovie& movie) {
    if (!movie.mainVideoTrack && !movie.secondaryVideoTrack)
        return std::nullopt;
    const QSizeF size(static_cast<float>(movie.movieWidth), static_cast<float>(movie.movieHeight));
    QuilleryMoviePlayerItem item;
    item.mainMovie = MoviePlayerItem::fromComposition(
        makeComposition(movie, movie.mainVideoTrack, movie.audioTrackArray));
    item.mainMovieDisplaySize = size;
    if (const FCPTrackPtr secondary = movie.secondaryVideoTrack) {
        item.secondaryMovie =
            MoviePlayerItem::fromComposition(makeComposition(movie, secondary, {}));
        item.secondaryMovieDisplaySize = size;
        for (const FCPClipItem& clip : secondary->clipItemArray) {
            item.secondaryMovieDiplayTime << MediaTimeRange{
                framesOver(clip.timelineStartFrame, clip.timebase),
                framesOver(clip.outFrameInOriginalMedia - clip.inFrameInOriginalMedia,
                           clip.timebase)};
        }
    }
    return item;
}

QuilleryMoviePlayerItem
QYFCP7PreviewAssembly::getOnlyAudioPlayerItemFromFCPMovie(const FCPMovie& movie) {
    QuilleryMoviePlayerItem item;
    item.mainMovie =
        MoviePlayerItem::fromComposition(makeComposition(movie, nullptr, movie.audioTrackArray));
    item.mainMovieDisplaySize = QSizeF(movie.movieWidth, movie.movieHeight);
    return item;
}

std::shared_ptr<const PreviewComposition>
QYFCP7PreviewAssembly::makeComposition(const FCPMovie& movie, const FCPTrackPtr& videoTrack,
                                       const QList<FCPTrackPtr>& audioTracks) {
    auto preview = std::make_shared<PreviewComposition>();
    const QSizeF size(static_cast<float>(movie.movieWidth), static_cast<float>(movie.movieHeight));
    preview->composition.naturalSize = size;
    buildVideoComposition(preview->videoComposition, preview->audioMix, preview->composition,
                          videoTrack, audioTracks);
    // Whole thousandths of a frame per second: 29.97 stays 29.97.
    preview->videoComposition.frameDuration =
        MediaTime::make(1000, static_cast<int32_t>(std::lround(frameRate_ * 1000)));
    preview->videoComposition.renderSize = size;
    return preview;
}

void QYFCP7PreviewAssembly::buildVideoComposition(VideoComposition& videoComposition,
                                                  AudioMix& audioMix,
                                                  MutableComposition& composition,
                                                  const FCPTrackPtr& videoTrack,
                                                  const QList<FCPTrackPtr>& audioTracks) {
    QList<VideoCompositionInstruction> instructions;
    CompositionTrackPtr compositionVideoTrack;
    MediaTime videoEnd = MediaTime::zero();
    if (videoTrack) {
        compositionVideoTrack = composition.addMutableTrackWithMediaType(MediaType::Video);
        for (const FCPClipItem& item : videoTrack->clipItemArray)
            videoEnd = addItem(item, *compositionVideoTrack, instructions, videoEnd);
    }
    for (const FCPTrackPtr& audioTrack : audioTracks) {
        for (const FCPClipItem& item : audioTrack->clipItemArray) {
            const MediaAssetPtr asset = assetOfClip(item);
            if (!asset)
                continue;
            const MediaTimeRange source{
                framesOver(item.inFrameInOriginalMedia, item.timebase),
                framesOver(item.outFrameInOriginalMedia - item.inFrameInOriginalMedia,
                           item.timebase)};
            for (const MediaAssetTrack& sound : asset->tracksWithMediaType(MediaType::Audio)) {
                const CompositionTrackPtr track =
                    composition.addMutableTrackWithMediaType(MediaType::Audio);
                track->insertTimeRange(source, sound,
                                       framesOver(item.timelineStartFrame, item.timebase));
                audioMix.setVolume(track->trackID(), convertAdjustVolumn(kFCP7AudioLevel));
            }
        }
    }
    if (compositionVideoTrack && compare(videoEnd, composition.duration()) < 0) {
        instructions << insertEmptyRange({videoEnd, subtract(composition.duration(), videoEnd)},
                                         *compositionVideoTrack);
    }
    QY_DBG("The audio track array is : %lld tracks",
           static_cast<long long>(composition.tracksWithMediaType(MediaType::Audio).size()));
    QY_DBG("The track mix array is : %lld volumes",
           static_cast<long long>(audioMix.inputParameters.size()));
    videoComposition.instructions = instructions;
}

MediaTime QYFCP7PreviewAssembly::addItem(const FCPClipItem& item, MutableCompositionTrack& track,
                                         QList<VideoCompositionInstruction>& instructions,
                                         const MediaTime& previousEndTime) {
    const MediaTime start = framesOver(item.timelineStartFrame, item.timebase);
    const MediaTime sourceIn = framesOver(item.inFrameInOriginalMedia, item.timebase);
    const MediaTime duration =
        framesOver(item.outFrameInOriginalMedia - item.inFrameInOriginalMedia, item.timebase);
    if (compare(start, previousEndTime) > 0)
        instructions << insertEmptyRange({previousEndTime, subtract(start, previousEndTime)},
                                         track);

    const MediaAssetPtr asset = item.isImage ? nullptr : assetOfClip(item);
    const QList<MediaAssetTrack> pictures =
        asset ? asset->tracksWithMediaType(MediaType::Video) : QList<MediaAssetTrack>();
    if (pictures.isEmpty()) {
        instructions << insertEmptyRange({start, duration}, track);
    } else if (track.insertTimeRange({sourceIn, duration}, pictures.front(), start)) {
        instructions << VideoCompositionInstruction{
            {start, duration}, {{track.trackID(), layerTransformOfTrack(pictures.front())}}};
    }
    return later(previousEndTime, add(start, duration));
}

// The clip's file opened, or nothing when the clip names none; a file that does not exist
// is noted for the message after the assembly.
MediaAssetPtr QYFCP7PreviewAssembly::assetOfClip(const FCPClipItem& item) {
    if (!item.mediaFile || item.mediaFile->path.isEmpty())
        return nullptr;
    const MediaAssetPtr asset = assets_.assetWithPath(item.mediaFile->path);
    if (!asset->exists() && !missing_.contains(asset->path()))
        missing_ << asset->path();
    return asset;
}

} // namespace quillery
