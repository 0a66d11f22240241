#include "WaveformEditing.h"

#include <algorithm>
#include <cmath>

namespace quillery {

namespace {

// A subtitle keeps this long while one of its edges is dragged.
constexpr float kLeastDragDuration = 0.5f;
// How many frames a dragged edge keeps from its neighbour's far edge.
constexpr float kNeighbourGapFrames = 10;
// Moves of fewer whole pixels leave the edge where it is, so a click on a handle keeps
// the times.
constexpr int kLeastDragPixels = 2;

} // namespace

double blockTop(double viewHeight) {
    return std::trunc((viewHeight - kBlockHeight) / 2);
}

QRectF blockFrame(double startTime, double endTime, double pixelsPerSecond, double origin,
                  double viewHeight) {
    const auto rate = static_cast<float>(pixelsPerSecond);
    const float x = rate * static_cast<float>(startTime) - static_cast<float>(origin);
    const float width = rate * static_cast<float>(endTime - startTime);
    return QRectF(x, blockTop(viewHeight), width, kBlockHeight);
}

Handle handleAt(double x, double blockWidth) {
    if (x >= 0 && x <= kHandleWidth)
        return Handle::Left;
    if (x >= blockWidth - kHandleWidth && x <= blockWidth)
        return Handle::Right;
    return Handle::None;
}

float minimumStartTime(std::optional<double> previousStart, double framesPerSecond) {
    if (!previousStart || *previousStart < 0)
        return 0;
    const float limit = static_cast<float>(*previousStart) +
                        kNeighbourGapFrames / static_cast<float>(framesPerSecond);
    return std::max(0.0f, limit);
}

float maximumEndTime(std::optional<double> nextEnd, double movieDuration, double framesPerSecond) {
    if (!nextEnd || *nextEnd < 0)
        return static_cast<float>(movieDuration);
    return static_cast<float>(*nextEnd) - kNeighbourGapFrames / static_cast<float>(framesPerSecond);
}

void EdgeDrag::begin(bool left, const QRectF& frame, const QPointF& at, double startTime,
                     double endTime) {
    dragging = true;
    isLeft = left;
    originalFrame = frame;
    lastDragLocation = at;
    changedStartTime = startTime;
    changedEndTime = endTime;
}

std::optional<QRectF> EdgeDrag::move(const QPointF& at, double pixelsPerSecond, double origin,
                                     float limit) {
    const float dx = static_cast<float>(at.x()) - static_cast<float>(lastDragLocation.x());
    if (std::abs(std::trunc(dx)) < kLeastDragPixels)
        return std::nullopt;
    const auto rate = static_cast<float>(pixelsPerSecond);
    const auto o = static_cast<float>(origin);
    const auto left = static_cast<float>(originalFrame.left());
    const auto right = static_cast<float>(originalFrame.right());
    QRectF frame = originalFrame;
    if (isLeft) {
        float x = left + dx;
        x = std::max(x, rate * limit - o);
        x = std::min(x, right - rate * kLeastDragDuration);
        frame.setLeft(x);
        changedStartTime = (x + o) / rate;
    } else {
        float x = right + dx;
        x = std::max(x, left + rate * kLeastDragDuration);
        x = std::min(x, rate * limit - o);
        frame.setRight(x);
        changedEndTime = (x + o) / rate;
    }
    return frame;
}

double dragToCreateWidth(double pressX, double x, std::optional<double> limitLeft) {
    if (limitLeft && x >= *limitLeft)
        return *limitLeft - pressX;
    return std::max(0.0, x - pressX);
}

VisibleWindowChange visibleWindowChange(const std::vector<TimeSpan>& shown,
                                        const std::vector<bool>& pinned,
                                        const std::vector<TimeSpan>& wanted) {
    std::vector<bool> covered(wanted.size(), false);
    VisibleWindowChange change;
    for (std::size_t b = 0; b < shown.size(); ++b) {
        bool kept = false;
        for (std::size_t w = 0; w < wanted.size() && !kept; ++w) {
            if (!covered[w] && wanted[w] == shown[b])
                covered[w] = kept = true;
        }
        if (!kept && !pinned[b])
            change.blocksToRemove.push_back(b);
    }
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        if (!covered[w])
            change.linesToCreate.push_back(w);
    }
    return change;
}

std::size_t blockInsertionIndex(const std::vector<TimeSpan>& shown, double newEnd) {
    std::size_t index = 0;
    while (index < shown.size() && shown[index].start < newEnd)
        ++index;
    return index;
}

Stripe stripeFor(double startTime, double endTime, double pixelsPerSecond, double totalWidth) {
    return {startTime * pixelsPerSecond / totalWidth,
            (startTime + (endTime - startTime)) * pixelsPerSecond / totalWidth};
}

QRectF overviewMarkerFrame(double origin, double viewWidth, double totalWidth, double stripWidth,
                           double stripHeight) {
    const double x = std::clamp(origin / totalWidth * stripWidth, 0.0, stripWidth);
    const double width = std::min(viewWidth / totalWidth * stripWidth, stripWidth);
    return QRectF(x, 0, width, stripHeight);
}

double markerLeftAt(double x, double markerWidth, double stripWidth) {
    const double left = std::max(0.0, x - markerWidth / 2);
    return left + markerWidth > stripWidth ? stripWidth - markerWidth : left;
}

} // namespace quillery
