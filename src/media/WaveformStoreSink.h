// What the audio extractor and the movie player ask of the waveform layer they feed and
// drive, so that the media layer need not know the waveform's drawing classes.
#pragma once

#include "WaveformStoreFile.h"

namespace quillery {

class WaveformStoreSink {
public:
    virtual ~WaveformStoreSink() = default;

    // A store to draw from now on; it may still be filling.
    virtual void addDataStore(WaveformStorePtr store) = 0;
    // Draw again soon (the store has grown, or the playhead moved).
    virtual void setNeedsDisplay() = 0;
    // Centre the playhead at the next draw.
    virtual void resetPointer() = 0;
};

} // namespace quillery
