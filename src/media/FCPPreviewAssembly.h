// The preview movie assembled from a Final Cut Pro timeline's own media files, so the user
// can time subtitles without exporting a movie from Final Cut Pro first.
//
// Final Cut Pro 7: the chosen main video track becomes the main movie, with every audio
// track of the sequence under it; a chosen secondary track becomes a second movie that the
// player lays over the first where that track has clips. Clips whose file is missing, is a
// still image or has no picture leave their time black. Every audio track gets the volume of
// a -96 dB level, which is 0: the preview of a Final Cut Pro 7 sequence plays silent.
//
// Final Cut Pro X: the clips of the main storyline give the picture; the sound of every lane
// plays at the volume its clips' "adjust-volume" gives. A missing picture file stops the
// assembly with a message naming it.
//
// The timeline models come from the Final Cut Pro readers; what is built is our own
// composition (MediaComposition.h), which the playback engine and the waveform read.
#pragma once

#include "FCP7Model.h"
#include "FCPXModel.h"
#include "MediaComposition.h"
#include "QuilleryMoviePlayerItem.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace quillery {

// A Final Cut Pro volume level in dB as a linear volume: (L + 96) / 100, at most 1.
double convertAdjustVolumn(double level);
// The transform a clip's layer gets: the picture's own orientation, with the upside-down
// one replaced by a half turn about the picture's far corner, which shows it upright.
AffineTransform layerTransformOfTrack(const MediaAssetTrack& track);
// Leaves the range of the track empty (black) and gives the instruction that covers it.
VideoCompositionInstruction insertEmptyRange(const MediaTimeRange& range,
                                             MutableCompositionTrack& track);

class QYFCP7PreviewAssembly {
public:
    // The sequence's real frame rate (29.97 for an NTSC timebase of 30): the preview's
    // frame duration, from which the player takes the rate of the time strings.
    explicit QYFCP7PreviewAssembly(double frameRate) : frameRate_(frameRate) {}

    // Nothing when the movie has neither a main nor a secondary video track.
    std::optional<QuilleryMoviePlayerItem> getPlayerItemFromFCPMovie(const FCPMovie& movie);
    // The audio tracks alone, under a black picture.
    QuilleryMoviePlayerItem getOnlyAudioPlayerItemFromFCPMovie(const FCPMovie& movie);

    void buildVideoComposition(VideoComposition& videoComposition, AudioMix& audioMix,
                               MutableComposition& composition, const FCPTrackPtr& videoTrack,
                               const QList<FCPTrackPtr>& audioTracks);
    // Places one clip item of the video track; returns the later of previousEndTime and the
    // clip's end.
    MediaTime addItem(const FCPClipItem& item, MutableCompositionTrack& track,
                      QList<VideoCompositionInstruction>& instructions,
                      const MediaTime& previousEndTime);

    // The files the clips name that do not exist, each once, in the order met.
    const QStringList& missingMediaFiles() const { return missing_; }

private:
    std::shared_ptr<const PreviewComposition>
    makeComposition(const FCPMovie& movie, const FCPTrackPtr& videoTrack,
                    const QList<FCPTrackPtr>& audioTracks);
    MediaAssetPtr assetOfClip(const FCPClipItem& item);

    double frameRate_;
    MediaAssetCache assets_;
    QStringList missing_;
};

class QYFCPXPreviewAssembly {
public:
    // error: the message for the user when the assembly stopped; item: the preview.
    using Completion = std::function<void(const QString& error, MoviePlayerItemPtr item)>;

    // Reads the project's resources and lanes and assembles them. A project without assets
    // assembles nothing and never calls `complete`; one without a picture of some size
    // calls it with no item (and the error of a missing file, if that was the cause).
    void getCompositionFromFCPXXML(const QString& xmlText, bool onlyAudio,
                                   const Completion& complete);

    // The largest width and height of the pictures the lanes' clips show; 0 x 0 with the
    // error when one of their files does not exist.
    QSizeF getCompositionVideoSize(QString* error);
    void buildVideoComposition(VideoComposition& videoComposition, AudioMix& audioMix,
                               MutableComposition& composition, bool onlyBuildAudio);

    // The sound files of clips without a picture that do not exist, each once.
    const QStringList& missingMediaFiles() const { return missing_; }

private:
    QList<FCPXLane> lanes_;
    MediaAssetCache assets_;
    QStringList missing_;
};

} // namespace quillery
