// The waveform editor's geometry and limit rules, free of any window: where a subtitle
// block sits, which edge handle a press takes, how far an edge drag may go (in single
// precision, as the blocks' frames are kept), how wide a drawn block may grow, which blocks
// the visible window keeps, takes off or adds, and where the overview strip puts a stripe
// and its window marker. The widgets apply these; the tests check them alone.
#pragma once

#include <QRectF>
#include <cstddef>
#include <optional>
#include <vector>

namespace quillery {

// Every block is this tall, centred in the waveform view.
inline constexpr double kBlockHeight = 200;
// The edge handles: the leftmost and rightmost pixels of a block, full height.
inline constexpr double kHandleWidth = 10;
// A drawn block must be wider than this to become a subtitle.
inline constexpr double kLeastCreateWidth = 10;
// The overview strip along the bottom of the waveform view.
inline constexpr double kOverviewHeight = 30;

// The top of every block in a view of this height.
double blockTop(double viewHeight);

// A line's block in view coordinates; x and the width in single precision.
QRectF blockFrame(double startTime, double endTime, double pixelsPerSecond, double origin,
                  double viewHeight);

enum class Handle { None, Left, Right };
// The handle under x (block coordinates); on a block narrower than two handles the left
// one wins.
Handle handleAt(double x, double blockWidth);

// How far an edge may go, in seconds and single precision. The earliest start: the previous
// line's start + 10 frames, 0 without one, never below 0. The latest end: the next line's
// end - 10 frames, the movie's duration without one.
float minimumStartTime(std::optional<double> previousStart, double framesPerSecond);
float maximumEndTime(std::optional<double> nextEnd, double movieDuration, double framesPerSecond);

// One edge drag of a block or of the inline editor: the frame and times when it began,
// and where each move puts the edge. The left edge keeps 0.5 s from the right one even
// past its neighbour limit; the right edge yields to its neighbour limit first.
struct EdgeDrag {
    bool dragging = false;
    bool isLeft = false;
    QRectF originalFrame;
    QPointF lastDragLocation;
    double changedStartTime = -1;
    double changedEndTime = -1;

    void begin(bool left, const QRectF& frame, const QPointF& at, double startTime, double endTime);
    // The block's new frame for the pointer at `at`, the dragged time updated; nothing for
    // a move of less than two whole pixels. `limit` is the edge's earliest start (left) or
    // latest end (right).
    std::optional<QRectF> move(const QPointF& at, double pixelsPerSecond, double origin,
                               float limit);
};

// The width of a block drawn from pressX to x: never negative, and ending at the left edge
// of the block that limits it once x reaches that edge.
double dragToCreateWidth(double pressX, double x, std::optional<double> limitLeft);

// A subtitle's time span as the visible window compares them.
struct TimeSpan {
    double start = 0;
    double end = 0;
    bool operator==(const TimeSpan&) const = default;
};

// What laying out the visible window does: which shown blocks go (all but those whose span
// a wanted line has exactly, and the pinned ones), and which wanted lines need a block.
struct VisibleWindowChange {
    std::vector<std::size_t> blocksToRemove;
    std::vector<std::size_t> linesToCreate;
};
VisibleWindowChange visibleWindowChange(const std::vector<TimeSpan>& shown,
                                        const std::vector<bool>& pinned,
                                        const std::vector<TimeSpan>& wanted);
// Where a new block goes in the time-ordered list: after the leading blocks that start
// before its end.
std::size_t blockInsertionIndex(const std::vector<TimeSpan>& shown, double newEnd);

// A stripe of the overview strip, as fractions of its width.
struct Stripe {
    double from = 0;
    double to = 0;
};
Stripe stripeFor(double startTime, double endTime, double pixelsPerSecond, double totalWidth);

// The window marker for the visible window at origin and width, of a waveform totalWidth
// wide, in a strip stripWidth wide: its left edge within the strip, its width at most the
// strip's.
QRectF overviewMarkerFrame(double origin, double viewWidth, double totalWidth, double stripWidth,
                           double stripHeight);
// The marker's left edge when the user puts it at x: centred there, kept inside the strip.
double markerLeftAt(double x, double markerWidth, double stripWidth);

} // namespace quillery
