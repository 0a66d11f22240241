#include "CompositionProducer.h"

#include "MediaComposition.h"

#include <QMap>
#include <cmath>
#include <map>
#include <mlt++/Mlt.h>
#include <numeric>

namespace quillery {

namespace {

// Used when a timeline does not say how large its pictures are.
constexpr int kDefaultRenderWidth = 1920;
constexpr int kDefaultRenderHeight = 1080;

// Composition times land on the profile's frames: the nearest frame.
int frameAt(const MediaTime& time, double fps) {
    return time.isNumeric() ? static_cast<int>(std::llround(time.seconds() * fps)) : 0;
}

// The engine wants even picture sizes.
int evenSize(double size, int fallback) {
    const int whole = size > 0 ? static_cast<int>(std::ceil(size)) : fallback;
    return whole + whole % 2;
}

// A composition segment in frames of the profile.
struct PlacedClip {
    int start = 0;
    int end = 0;
    const CompositionSegment* segment = nullptr;
    const LayerInstruction* layer = nullptr;
};

// Builds one playlist, opening each source stream once for it: clips of the same file
// on one playlist are cuts of one producer.
class PlaylistBuilder {
public:
    PlaylistBuilder(Mlt::Profile& profile, MediaType type)
        : profile_(profile), type_(type), playlist_(std::make_unique<Mlt::Playlist>(profile)) {}

    void append(const PlacedClip& clip) {
        const int start = std::max(clip.start, position_);
        if (clip.end <= start)
            return;
        if (start > position_)
            playlist_->blank(start - position_ - 1);
        Mlt::Producer& source = producerFor(*clip.segment->source);
        const int in = frameAt(clip.segment->sourceStart, profile_.fps()) + start - clip.start;
        const int out = std::min(in + clip.end - start, source.get_length()) - 1;
        if (out < in) {
            playlist_->blank(clip.end - start - 1);
        } else {
            std::unique_ptr<Mlt::Producer> cut(source.cut(in, out));
            if (clip.layer)
                turn(*cut, clip.layer->transform);
            playlist_->append(*cut);
            if (out - in + 1 < clip.end - start)
                playlist_->blank(clip.end - start - (out - in + 1) - 1);
        }
        position_ = clip.end;
    }

    int position() const { return position_; }
    std::unique_ptr<Mlt::Playlist> take() { return std::move(playlist_); }

private:
    Mlt::Producer& producerFor(const MediaAssetTrack& track) {
        const QString key = track.path + u'#' + QString::number(track.streamIndex);
        std::unique_ptr<Mlt::Producer>& producer = producers_[key];
        if (!producer) {
            // Opened at its first frame, not now: a long timeline starts playing at once.
            const QByteArray resource = "avformat-novalidate:" + track.path.toUtf8();
            producer = std::make_unique<Mlt::Producer>(profile_, resource.constData());
            const int length = std::max(1, frameAt(track.duration, profile_.fps()));
            producer->set("length", length);
            producer->set("out", length - 1);
            // The layer's transform turns the picture; the engine must not turn it again.
            producer->set("autorotate", 0);
            producer->set("video_index", type_ == MediaType::Video ? track.streamIndex : -1);
            producer->set("audio_index", type_ == MediaType::Audio ? track.streamIndex : -1);
        }
        return *producer;
    }

    void turn(Mlt::Producer& clip, const AffineTransform& transform) {
        const double degrees = transform.rotationDegrees();
        if (std::abs(degrees) < 0.5)
            return;
        Mlt::Filter affine(profile_, "affine");
        affine.set("transition.fix_rotate_x", degrees);
        clip.attach(affine);
    }

    Mlt::Profile& profile_;
    MediaType type_;
    std::unique_ptr<Mlt::Playlist> playlist_;
    std::map<QString, std::unique_ptr<Mlt::Producer>> producers_;
    int position_ = 0;
};

QList<PlacedClip> placedClips(const MutableCompositionTrack& track, const VideoComposition& video,
                              double fps) {
    QList<PlacedClip> clips;
    for (const CompositionSegment& segment : track.segments()) {
        if (!segment.source)
            continue;
        PlacedClip clip{frameAt(segment.target.start, fps), frameAt(segment.target.end(), fps),
                        &segment, nullptr};
        if (track.mediaType() == MediaType::Video) {
            // A picture no instruction shows stays out of the preview.
            clip.layer = video.layerAt(track.trackID(), segment.target.start);
            if (clip.layer == nullptr)
                continue;
        }
        if (clip.end > clip.start)
            clips << clip;
    }
    return clips;
}

// The audio tracks' clips by volume, each volume's clips spread over as few playlists as
// do not overlap. Silent tracks are left out: they add nothing to the mix.
QMap<double, QList<PlaylistBuilder*>>
packAudio(Mlt::Profile& profile, const PreviewComposition& preview,
          std::vector<std::unique_ptr<PlaylistBuilder>>& builders) {
    QMap<double, QList<PlacedClip>> clipsByVolume;
    for (const CompositionTrackPtr& track :
         preview.composition.tracksWithMediaType(MediaType::Audio)) {
        const double volume = preview.audioMix.volumeOfTrack(track->trackID());
        if (volume > 0)
            clipsByVolume[volume] << placedClips(*track, preview.videoComposition, profile.fps());
    }
    QMap<double, QList<PlaylistBuilder*>> playlists;
    for (auto entry = clipsByVolume.begin(); entry != clipsByVolume.end(); ++entry) {
        QList<PlacedClip>& clips = entry.value();
        std::stable_sort(clips.begin(), clips.end(), [](const PlacedClip& a, const PlacedClip& b) {
            return a.start < b.start;
        });
        QList<PlaylistBuilder*>& lanes = playlists[entry.key()];
        for (const PlacedClip& clip : clips) {
            auto free = std::find_if(lanes.begin(), lanes.end(), [&clip](PlaylistBuilder* lane) {
                return lane->position() <= clip.start;
            });
            if (free == lanes.end()) {
                builders.push_back(std::make_unique<PlaylistBuilder>(profile, MediaType::Audio));
                lanes << builders.back().get();
                free = lanes.end() - 1;
            }
            (*free)->append(clip);
        }
    }
    return playlists;
}

} // namespace

void setProfileForComposition(Mlt::Profile& profile, const PreviewComposition& preview) {
    const MediaTime frame = preview.videoComposition.frameDuration;
    const int64_t divisor = frame.isNumeric() && frame.value > 0
                                ? std::gcd<int64_t, int64_t>(frame.value, frame.timescale)
                                : 0;
    if (divisor > 0)
        profile.set_frame_rate(static_cast<int>(frame.timescale / divisor),
                               static_cast<int>(frame.value / divisor));
    else
        profile.set_frame_rate(30, 1);
    const QSizeF size = preview.videoComposition.renderSize;
    const int width = evenSize(size.width(), kDefaultRenderWidth);
    const int height = evenSize(size.height(), kDefaultRenderHeight);
    const int aspect = std::gcd(width, height);
    profile.set_width(width);
    profile.set_height(height);
    profile.set_sample_aspect(1, 1);
    profile.set_display_aspect(width / aspect, height / aspect);
    profile.set_progressive(1);
    profile.set_explicit(1);
}

std::unique_ptr<Mlt::Producer> makeCompositionProducer(Mlt::Profile& profile,
                                                       const PreviewComposition& preview) {
    auto tractor = std::make_unique<Mlt::Tractor>(profile);
    const int length = std::max(1, frameAt(preview.composition.duration(), profile.fps()));
    Mlt::Producer black(profile, "color:black");
    black.set("length", length);
    black.set_in_and_out(0, length - 1);
    tractor->set_track(black, 0);

    std::vector<std::unique_ptr<PlaylistBuilder>> builders;
    const QMap<double, QList<PlaylistBuilder*>> audio = packAudio(profile, preview, builders);
    int index = 1;
    for (auto entry = audio.begin(); entry != audio.end(); ++entry) {
        for (PlaylistBuilder* builder : entry.value()) {
            std::unique_ptr<Mlt::Playlist> playlist = builder->take();
            if (entry.key() != 1.0) {
                Mlt::Filter volume(profile, "volume");
                volume.set("gain", entry.key());
                playlist->attach(volume);
            }
            tractor->set_track(*playlist, index);
            Mlt::Transition mix(profile, "mix");
            mix.set("sum", 1);
            mix.set("always_active", 1);
            tractor->plant_transition(mix, 0, index);
            ++index;
        }
    }
    for (const CompositionTrackPtr& track :
         preview.composition.tracksWithMediaType(MediaType::Video)) {
        PlaylistBuilder builder(profile, MediaType::Video);
        for (const PlacedClip& clip : placedClips(*track, preview.videoComposition, profile.fps()))
            builder.append(clip);
        tractor->set_track(*builder.take(), index++);
    }
    return tractor;
}

} // namespace quillery
