// The records a Final Cut Pro X timeline is read into for the preview assembly: the
// resources a clip refers to (formats, assets, effects) and the clips and gaps of each
// lane. Each record comes from one XML element; an attribute the element lacks leaves its
// field empty or zero.
#pragma once

#include "MediaTime.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace quillery {

struct FCPXFormat {
    QString refId;
    QString name;
    MediaTime frameDuration;
    int32_t width = 0;
    int32_t height = 0;
};

struct FCPXAsset {
    QString refId;
    QString name;
    // A plain file path: percent escapes decoded, "file:///" reduced to "/".
    QString src;
    // The time code of the media's first frame: clips count their start in it.
    MediaTime start;
    std::shared_ptr<FCPXFormat> referenceFormat;
};

struct FCPXEffect {
    QString refId;
    QString name;
    QString uid;
};

// The resources by identifier, for the elements whose "ref" or "format" names one.
struct FCPXReferenceDictionary {
    QHash<QString, std::shared_ptr<FCPXFormat>> formats;
    QHash<QString, std::shared_ptr<FCPXAsset>> assets;
    QHash<QString, std::shared_ptr<FCPXEffect>> effects;

    bool isEmpty() const { return formats.isEmpty() && assets.isEmpty() && effects.isEmpty(); }
};

struct FCPXAudio {
    QString name;
    MediaTime duration;
    MediaTime offset;
    QString lane;
    QString srcChannel;
    QString role;
    std::shared_ptr<FCPXAsset> referenceAsset;
};

struct FCPXVideo {
    QString name;
    MediaTime duration;
    MediaTime start;
    MediaTime offset;
    std::shared_ptr<FCPXAsset> referenceAsset;
    QList<FCPXAudio> audioArray;
};

struct FCPXConformRate {
    bool scaleEnabled = false;
    int32_t srcFrameRate = 0;
};

// Anything placed on a lane of the timeline.
struct FCPXLaneItem {
    virtual ~FCPXLaneItem() = default;

    QString name;
    MediaTime duration;
    MediaTime start;
    MediaTime offset;
    int32_t laneNumber = 0;
    bool isEnabled = true;
};

// A spine element that is not a clip: a gap, a title, an asset clip... The assembly
// leaves its time empty.
struct FCPXGap : FCPXLaneItem {};

struct FCPXClip : FCPXLaneItem {
    QString tcFormat;
    // The "adjust-volume" amount in dB; 12 when the clip has no such adjustment.
    int32_t adjustVolumn = 12;
    std::optional<FCPXConformRate> conformRate;
    std::shared_ptr<FCPXFormat> referenceFormat;
    std::optional<FCPXVideo> video;
    QList<FCPXAudio> audioArray;
    QList<std::shared_ptr<FCPXClip>> subClipArray;
};

struct FCPXLane {
    int32_t laneNumber = 0;
    QList<std::shared_ptr<FCPXLaneItem>> laneItemArray;
};

} // namespace quillery
