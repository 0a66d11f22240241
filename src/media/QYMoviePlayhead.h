// What the waveform reads from the movie player on every draw: where the playhead is,
// whether and which way the movie plays, and whether the view should centre on it.
#pragma once

namespace quillery {

class QYMoviePlayhead {
public:
    virtual ~QYMoviePlayhead() = default;

    virtual double playheadSeconds() const = 0;
    virtual bool isPlaying() const = 0;
    virtual bool isPlayForward() const = 0;
    virtual bool shouldSyncWaveForm() const = 0;
    // The movie's duration in seconds; 0 without one.
    virtual double durationSeconds() const = 0;
};

} // namespace quillery
