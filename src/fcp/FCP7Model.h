// The tracks of a Final Cut Pro 7 sequence as the preview assembly walks them: the movie
// with its video and audio tracks, each track's clip items with their frame ranges, and
// the media files the items play. Plain records read from one element each.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace quillery {

struct FCPMediaFile {
    QString fileId;
    // A plain file path: the local file URL's prefix removed, percent escapes decoded.
    QString path;
    QString name;
    int32_t timebase = 0;
};

struct FCPClipItem {
    QString itemId;
    QString name;
    int32_t duration = 0;
    int32_t timebase = 0;
    int32_t inFrameInOriginalMedia = 0;
    int32_t outFrameInOriginalMedia = 0;
    // Frames on the sequence's timeline; an edge inside a transition is the transition's.
    int32_t timelineStartFrame = 0;
    int32_t timelineEndFrame = 0;
    bool isImage = false;
    std::shared_ptr<FCPMediaFile> mediaFile;
};

enum class FCPTrackType { Video = 0, Audio = 1 };

struct FCPTrack {
    FCPTrackType type = FCPTrackType::Video;
    bool isEnabled = true;
    QList<FCPClipItem> clipItemArray;
    // The track's own XML, kept so a saved project can rebuild the chosen tracks.
    QString xmlElementString;
};

using FCPTrackPtr = std::shared_ptr<FCPTrack>;

struct FCPMovie {
    // Every video track; only the enabled audio tracks.
    QList<FCPTrackPtr> videoTrackArray;
    QList<FCPTrackPtr> audioTrackArray;
    int32_t movieWidth = 0;
    int32_t movieHeight = 0;
    FCPTrackPtr mainVideoTrack;
    FCPTrackPtr secondaryVideoTrack;
};

using FCPMoviePtr = std::shared_ptr<FCPMovie>;

} // namespace quillery
