// What a movie file holds, read from its container without decoding it: duration, the
// video stream's frame rate and size, the number of audio tracks, and whether every
// stream we would use can be decoded here. The media engine's own header stays inside
// src/media; callers see only this record.
#pragma once

#include <QSize>
#include <QString>

namespace quillery {

struct MediaProbe {
    bool opened = false; // the container could be read at all
    double duration = 0; // seconds; 0 when unknown
    bool hasVideo = false;
    int audioTrackCount = 0;
    bool playable = false; // every video and audio stream has a decoder
    bool hasProtectedContent = false;
    double frameRate = 0; // of the first video stream; 0 without video
    QSize frameSize;
    QString error; // why it could not be opened or played

    static MediaProbe probe(const QString& path);
};

} // namespace quillery
