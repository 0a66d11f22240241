// The waveform's number rules, free of any window: the mapping between seconds, stored
// values and pixels, and where the visible window goes as the playhead moves. The layer,
// the view and (later) the subtitle blocks all place things through these.
#pragma once

#include <cstdint>

namespace quillery {

struct WaveformMapping {
    double zoomRate = 0.5; // pixels per stored value, in (0, 1]
    double valuesPerSecond = 300;
    uint32_t totalValues = 0; // of the first store

    double getSampleRate() const { return zoomRate * valuesPerSecond; } // pixels per second
    double getTotalLength() const { return zoomRate * totalValues; }    // pixels
    double pixelForTime(double seconds) const { return seconds * getSampleRate(); }
    // The time under view x when the window starts at origin.
    double timeForViewX(double viewX, double origin) const {
        return (viewX + origin) / getSampleRate();
    }
    // The stored value drawn in waveform pixel column i.
    uint32_t valueIndexForColumn(int64_t column) const {
        return static_cast<uint32_t>(static_cast<double>(column) / zoomRate);
    }
};

struct PlayheadFollowing {
    double playheadX;  // the playhead's waveform pixel
    double width;      // of the visible window
    double totalWidth; // of the whole waveform
    double origin;     // the window's current start
    bool centre;       // put the playhead in the middle
    bool playForward;  // the direction of the last ticks
};

// The window's new start, or the current one when it stays: inside the first and last
// half screens the window rests against the ends; elsewhere it centres on request, and
// otherwise pages when the playhead leaves it (to a fifth of the width going forward,
// to four fifths going back).
double followPlayheadOrigin(const PlayheadFollowing& f);

// The window's start after a resize that keeps its centre; never below 0.
double originAfterResize(double origin, double oldWidth, double newWidth);

// The window's start after a scroll of `delta` pixels (positive moves towards the start),
// kept within [0, movie width - view width].
double originAfterScroll(double origin, double delta, double movieWidth, double viewWidth);

} // namespace quillery
