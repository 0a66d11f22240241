// Where the waveform's samples come from: decoded audio handed out as interleaved 32-bit
// float buffers with their rate and channel count. A movie file's track is one source
// (FFmpegAudioSource); an assembled preview's mixed audio can be another.
#pragma once

#include "WaveformAudioDataStore.h"

#include <QString>
#include <memory>
#include <vector>

namespace quillery {

struct PreviewComposition;

struct AudioBuffer {
    std::vector<float> samples; // interleaved; the first frames x channels are the buffer's
    std::size_t frames = 0;
};

class AudioSampleSource {
public:
    virtual ~AudioSampleSource() = default;

    // The stream's rate and channel count; a rate of 0 when the track cannot be read.
    virtual AudioStreamDescription description() const = 0;
    // The duration the store is sized from, in seconds (the movie's, not the track's).
    virtual double duration() const = 0;
    // The next decoded buffer, reusing `buffer`'s memory; false at the end of the stream
    // or on a read error (the store keeps what it has).
    virtual bool readNextBuffer(AudioBuffer& buffer) = 0;
};

// Reads audio track `trackNumber` (counted among the file's audio streams) of a media
// file. A file that cannot be opened, or has no such track, yields an empty source.
std::unique_ptr<AudioSampleSource> openMovieAudioSource(const QString& path, int trackNumber);
// Reads the audio stream at `streamIndex` (among all the file's streams) from startSeconds
// on, converted to the rate and channel count given.
std::unique_ptr<AudioSampleSource> openAudioStreamSource(const QString& path, int streamIndex,
                                                         double startSeconds, int sampleRate,
                                                         int channels);
// An assembled preview's audio tracks summed at unit gain and clipped to full scale: one
// stereo 48 kHz source as long as the preview.
std::unique_ptr<AudioSampleSource> openCompositionAudioSource(const PreviewComposition& preview);

} // namespace quillery
