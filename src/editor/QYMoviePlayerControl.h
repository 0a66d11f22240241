// The movie player as the script editor drives it: transport, speed and position. The
// media player implements it; tests use a double whose clock they move by hand.
#pragma once

#include "MediaTime.h"

namespace quillery {

class QYMoviePlayerControl {
public:
    virtual ~QYMoviePlayerControl() = default;

    // A movie (or preview composition) is loaded; without one the movie time is zero.
    virtual bool hasMovie() const = 0;
    virtual bool isPlaying() const = 0;
    virtual bool isRepeatingSubtitle() const = 0;
    virtual MediaTime currentTime() const = 0;
    virtual MediaTime duration() const = 0;

    virtual void play() = 0;
    // Stops playback and any repetition of one subtitle.
    virtual void stopRepeatPlaySubtitle(bool repeat) = 0;
    virtual void rewind() = 0;
    virtual void fastForward() = 0;
    virtual void speedForward() = 0;
    virtual void speedBackward() = 0;
    virtual void setCurrentTime(double seconds) = 0;
};

} // namespace quillery
