#include "WaveformLayer.h"

#include "QYMoviePlayhead.h"
#include "QYSetting.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace quillery {

namespace {

constexpr double kDefaultZoomRate = 0.5;
const QColor kBeforePlayhead(145, 145, 145);
const QColor kPlayhead(255, 0, 0);
const QColor kChannelAfterPlayhead(32, 104, 212);

} // namespace

WaveformLayer::WaveformLayer(QYSetting& settings) : settings_(settings) {
    const double stored = settings.waveFormZoomRate;
    zoomRate_ = stored > 0 && stored <= 1 ? stored : kDefaultZoomRate;
}

void WaveformLayer::addDataStore(WaveformStorePtr store) {
    stores_.push_back(std::move(store));
    drawRect_ = QRectF(drawRect_.x(), 0, drawRect_.width(), drawRect_.height());
    setNeedsDisplay();
}

void WaveformLayer::setNeedsDisplay() {
    if (delegate_)
        delegate_->waveFormLayerNeedsDisplay();
}

WaveformMapping WaveformLayer::mapping() const {
    WaveformMapping result;
    result.zoomRate = zoomRate_;
    if (!stores_.empty()) {
        result.valuesPerSecond = stores_.front()->mTargetASBD().sampleRate;
        result.totalValues = stores_.front()->mTotalLength();
    }
    return result;
}

double WaveformLayer::getCurrentViewStartTime() const {
    return drawRect_.x() / getSampleRate();
}

double WaveformLayer::getCurrentViewEndTime() const {
    return (drawRect_.x() + drawRect_.width()) / getSampleRate();
}

void WaveformLayer::setDisplayStyle(int style) {
    displayStyle_ = style;
    setNeedsDisplay();
}

void WaveformLayer::setZoomRate(double zoomRate) {
    if (zoomRate == zoomRate_)
        return;
    zoomRate_ = zoomRate;
    needToResetPointer_ = true;
    settings_.waveFormZoomRate = static_cast<float>(zoomRate);
    settings_.save();
}

void WaveformLayer::setYAxisZoomRate(double rate) {
    yAxisZoomRate_ = rate;
}

void WaveformLayer::setNewOriginX(double origin) {
    const double clamped = std::max(0.0, origin);
    drawRect_.moveLeft(clamped);
    if (delegate_)
        delegate_->setNewOriginX(clamped);
}

void WaveformLayer::setCurrentTime(double seconds, bool showPointerInMiddle) {
    if (stores_.empty())
        return;
    pointerTime_ = seconds;
    const WaveformMapping map = mapping();
    const PlayheadFollowing following{
        map.pixelForTime(seconds), drawRect_.width(),
        map.getTotalLength(),      drawRect_.x(),
        showPointerInMiddle,       player_ == nullptr || player_->isPlayForward()};
    const double origin = followPlayheadOrigin(following);
    if (origin != drawRect_.x())
        setNewOriginX(origin);
}

void WaveformLayer::followPlayer() {
    const double t = player_->playheadSeconds();
    if (isScroll_ && !player_->isPlaying())
        return;
    if (needToResetPointer_) {
        setCurrentTime(t, true);
        if (delegate_)
            delegate_->waveFormLayerDidChangeZoomRate();
    } else {
        setCurrentTime(t, player_->shouldSyncWaveForm());
    }
    needToResetPointer_ = false;
}

void WaveformLayer::draw(QPainter& painter) {
    if (stores_.empty())
        return;
    if (player_)
        followPlayer();
    const double height = drawRect_.height();
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(0, height / 2), QPointF(drawRect_.width(), height / 2));
    drawWaveLines(painter, displayStyle_ - 1);
}

void WaveformLayer::drawWaveLines(QPainter& painter, int channel) {
    const WaveformMapping map = mapping();
    const double origin = drawRect_.x();
    const double width = drawRect_.width();
    const double middle = drawRect_.height() / 2;
    const double pointerX = pointerTime_ * map.getSampleRate();
    bool passed = origin > pointerX;
    // Lines before the playhead are grey; after it, red (both channels) or blue.
    // Whole-pixel lines: one pixel column each, drawn without antialiasing, on the fast path.
    QList<QLine> before;
    QList<QLine> after;
    before.reserve(static_cast<qsizetype>(width) + 1);
    after.reserve(static_cast<qsizetype>(width) + 1);
    std::optional<QLine> pointer;
    const QColor afterColour = channel < 0 ? kPlayhead : kChannelAfterPlayhead;
    for (auto i = static_cast<int64_t>(origin); static_cast<double>(i) < origin + width; ++i) {
        const int x = static_cast<int>(static_cast<double>(i) - origin);
        if (!passed && static_cast<int64_t>(static_cast<double>(i) - pointerX) == 0) {
            if (delegate_)
                delegate_->waveFormLayerDidDrawPointer(x);
            pointer = QLine(x, 0, x, static_cast<int>(2 * middle));
            passed = true;
            continue;
        }
        const uint32_t index = map.valueIndexForColumn(i);
        int level = 0;
        for (const WaveformStorePtr& store : stores_) {
            const int value =
                channel < 0 ? store->getAveragedChannelData(index) : store->getData(channel, index);
            level = std::max(level, value);
        }
        if (level == 0)
            continue;
        const double half = level * yAxisZoomRate_ / 2;
        (passed ? after : before)
            .append(QLine(x, static_cast<int>(middle - half), x, static_cast<int>(middle + half)));
    }
    // The columns are set straight into an image and the image drawn once: far cheaper than
    // asking the painter for a thousand or two separate lines.
    const QSize size(static_cast<int>(width), static_cast<int>(2 * middle));
    if (canvas_.size() != size)
        canvas_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
    paintColumns(before, kBeforePlayhead.rgba());
    paintColumns(after, afterColour.rgba());
    if (pointer)
        paintColumns({*pointer}, kPlayhead.rgba());
    painter.drawImage(0, 0, canvas_);
}

void WaveformLayer::paintColumns(const QList<QLine>& columns, QRgb colour) {
    uchar* const pixels = canvas_.bits();
    const qsizetype stride = canvas_.bytesPerLine();
    const int lastRow = canvas_.height() - 1;
    for (const QLine& column : columns) {
        if (column.x1() < 0 || column.x1() >= canvas_.width())
            continue;
        const int bottom = std::min(lastRow, column.y2());
        for (int y = std::max(0, column.y1()); y <= bottom; ++y)
            reinterpret_cast<QRgb*>(pixels + y * stride)[column.x1()] = colour;
    }
}

} // namespace quillery
