// The movie player as the waveform editor drives it: besides the transport, repeat play of
// one subtitle at a chosen rate (while a block is drawn, dragged or edited) and the request
// that the waveform centre on the playhead after a jump from the overview strip. The media
// player implements it; tests use a double whose clock they move by hand.
#pragma once

#include "MediaTime.h"
#include "SubtitleLine.h"

namespace quillery {

class QYWaveFormPlayerControl {
public:
    virtual ~QYWaveFormPlayerControl() = default;

    virtual bool hasMovie() const = 0;
    virtual bool isPlaying() const = 0;
    virtual MediaTime currentTime() const = 0;
    virtual MediaTime duration() const = 0;
    virtual void play() = 0;
    // Stops playback and any repetition of one subtitle.
    virtual void stopRepeatPlaySubtitle(bool repeat) = 0;
    virtual void setCurrentTime(double seconds) = 0;

    // Plays the line from its start, over and over, at the rate.
    virtual void playRepeatSubtitle(const SubtitleLinePtr& line, double rate) = 0;
    // The line being repeated, or null.
    virtual SubtitleLinePtr repeatSubtitle() const = 0;
    virtual double currentPlayRate() const = 0;
    virtual void setShouldSyncWaveForm(bool sync) = 0;
};

} // namespace quillery
