// Assembling a movie from ranges of other movies, in our own terms: source files opened as
// assets with their tracks, a composition of tracks into which ranges of source tracks are
// placed at given times, a video composition that says which track shows in each stretch
// of time and how it is turned, and an audio mix with one volume per audio track. The
// preview of a Final Cut Pro timeline is built from these; the playback engine and the
// waveform read them. No engine type appears here.
#pragma once

#include "MediaTime.h"

#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <memory>
#include <optional>

namespace quillery {

struct MediaTimeRange {
    MediaTime start;
    MediaTime duration;

    MediaTime end() const { return add(start, duration); }
};

enum class MediaType { Video, Audio };

// A 2-D affine map, (x, y) -> (a x + c y + tx, b x + d y + ty), as movie files store the
// orientation their pictures are meant to be shown in.
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform rotation(double radians);
    // This map followed by a move of the origin by (x, y) in this map's own frame.
    AffineTransform translated(double x, double y) const;
    // The angle the map turns the picture by, in degrees: 0, 90, 180, -90 for the usual ones.
    double rotationDegrees() const;
    bool isUpsideDown() const { return a == -1 && b == 0 && c == 0 && d == -1; }
};

// One track of a source file as it can be placed into a composition.
struct MediaAssetTrack {
    QString path;
    MediaType mediaType = MediaType::Video;
    // The stream's position among all streams of the file.
    int streamIndex = -1;
    QSizeF naturalSize;
    AffineTransform preferredTransform;
    MediaTime duration;
};

// A source file opened for assembly: whether it exists and the tracks it holds.
class MediaAsset {
public:
    // Opens the file's container and reads its tracks; a missing or unreadable file gives
    // an asset without tracks.
    static std::shared_ptr<const MediaAsset> assetWithPath(const QString& path);

    QString path() const { return path_; }
    bool exists() const { return exists_; }
    QList<MediaAssetTrack> tracksWithMediaType(MediaType type) const;

private:
    QString path_;
    bool exists_ = false;
    QList<MediaAssetTrack> tracks_;
};
using MediaAssetPtr = std::shared_ptr<const MediaAsset>;

// The assets of one assembly, each file opened once however many clips use it.
class MediaAssetCache {
public:
    MediaAssetPtr assetWithPath(const QString& path);

private:
    QHash<QString, MediaAssetPtr> assets_;
};

// A stretch of a composition track: a range of a source track, or nothing (empty).
struct CompositionSegment {
    MediaTimeRange target;
    std::optional<MediaAssetTrack> source;
    MediaTime sourceStart;
};

class MutableCompositionTrack {
public:
    MutableCompositionTrack(int trackID, MediaType type) : trackID_(trackID), type_(type) {}

    int trackID() const { return trackID_; }
    MediaType mediaType() const { return type_; }
    // Places the source range at `at`; whatever the track held there gives way. A range that
    // runs past the end of the source is shortened to it. False, and the track unchanged, when
    // the source holds nothing of the range or `at` is before the start.
    bool insertTimeRange(const MediaTimeRange& range, const MediaAssetTrack& track,
                         const MediaTime& at);
    // Nothing plays in the range; whatever the track held there gives way.
    void insertEmptyTimeRange(const MediaTimeRange& range);
    // In time order, without overlaps.
    const QList<CompositionSegment>& segments() const { return segments_; }
    // The end of the last segment, empty ones included.
    MediaTime duration() const;

private:
    void place(CompositionSegment segment);

    int trackID_;
    MediaType type_;
    QList<CompositionSegment> segments_;
};
using CompositionTrackPtr = std::shared_ptr<MutableCompositionTrack>;

class MutableComposition {
public:
    QSizeF naturalSize;

    CompositionTrackPtr addMutableTrackWithMediaType(MediaType type);
    const QList<CompositionTrackPtr>& tracks() const { return tracks_; }
    QList<CompositionTrackPtr> tracksWithMediaType(MediaType type) const;
    // The end of the longest track.
    MediaTime duration() const;

private:
    QList<CompositionTrackPtr> tracks_;
};

// One layer of a video instruction: the track shown and its transform from time zero on.
struct LayerInstruction {
    int trackID = 0;
    AffineTransform transform;
};

struct VideoCompositionInstruction {
    MediaTimeRange timeRange;
    QList<LayerInstruction> layerInstructions;
};

struct VideoComposition {
    // One frame's duration: its inverse is the frame rate the player and the time strings use.
    MediaTime frameDuration;
    QSizeF renderSize;
    QList<VideoCompositionInstruction> instructions;

    double frameRate() const;
    // The layer that shows the track at a time: the first instruction covering the time
    // (its start included, its end not) that has a layer for the track.
    const LayerInstruction* layerAt(int trackID, const MediaTime& time) const;
};

struct AudioMixInputParameters {
    int trackID = 0;
    // From time zero on; 1 plays the track as recorded.
    double volume = 1.0;
};

struct AudioMix {
    QList<AudioMixInputParameters> inputParameters;

    // Sets the track's volume from time zero, replacing a volume set before.
    void setVolume(int trackID, double volume);
    // 1 for a track the mix does not name.
    double volumeOfTrack(int trackID) const;
};

// What a player item is made from when it plays an assembled movie.
struct PreviewComposition {
    MutableComposition composition;
    VideoComposition videoComposition;
    AudioMix audioMix;
};

} // namespace quillery
