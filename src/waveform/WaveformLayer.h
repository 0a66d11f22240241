// The drawing of the movie's audio: one vertical level line per pixel column from the
// stores of every audio track, a black centre line and a red playhead, at the zoom and
// gain the user chose. The layer owns the time-to-pixel mapping and the visible window
// (its origin), follows the playhead while the movie plays, and tells its host view when
// the origin changes. A new layer is made for every loaded movie.
#pragma once

#include "WaveformMapping.h"
#include "WaveformStoreSink.h"

#include <QImage>
#include <QLine>
#include <QList>
#include <QRectF>
#include <vector>

class QPainter;

namespace quillery {

class QYMoviePlayhead;
class QYSetting;

class WaveformLayerDelegate {
public:
    virtual ~WaveformLayerDelegate() = default;

    virtual void setNewOriginX(double origin) = 0;
    // The playhead's view x, during a draw in which it is visible.
    virtual void waveFormLayerDidDrawPointer(double viewX) = 0;
    virtual void waveFormLayerDidChangeZoomRate() = 0;
    // The layer wants to be drawn again.
    virtual void waveFormLayerNeedsDisplay() = 0;
};

class WaveformLayer : public WaveformStoreSink {
public:
    enum DisplayStyle { BothChannels = 0, LeftChannel = 1, RightChannel = 2 };

    // Starts at the zoom of the preferences (0.5 when the stored value is not in (0, 1]).
    explicit WaveformLayer(QYSetting& settings);

    void setDelegate(WaveformLayerDelegate* delegate) { delegate_ = delegate; }
    void setPlayer(const QYMoviePlayhead* player) { player_ = player; }
    const QYMoviePlayhead* player() const { return player_; }

    // --- WaveformStoreSink ------------------------------------------------------------
    void addDataStore(WaveformStorePtr store) override;
    void setNeedsDisplay() override;
    void resetPointer() override { needToResetPointer_ = true; }

    const std::vector<WaveformStorePtr>& getDataStoreArray() const { return stores_; }
    WaveformMapping mapping() const;
    double getSampleRate() const { return mapping().getSampleRate(); }
    double getTotalLength() const { return mapping().getTotalLength(); }
    double getCurrentViewStartTime() const;
    double getCurrentViewEndTime() const;

    void setDisplayStyle(int style);
    int displayStyle() const { return displayStyle_; }
    // Saved to the preferences; the next draw centres the playhead.
    void setZoomRate(double zoomRate);
    double zoomRate() const { return zoomRate_; }
    void setYAxisZoomRate(double rate);
    double yAxisZoomRate() const { return yAxisZoomRate_; }
    void setIsScroll(bool scrolling) { isScroll_ = scrolling; }
    bool isScroll() const { return isScroll_; }
    bool needToResetPointer() const { return needToResetPointer_; }
    QRectF mCurrentDrawRect() const { return drawRect_; }
    void setMCurrentDrawRect(const QRectF& rect) { drawRect_ = rect; }
    double mPointerTime() const { return pointerTime_; }

    void setCurrentTime(double seconds, bool showPointerInMiddle);
    void setNewOriginX(double origin);

    // Draws the visible window into a painter of the view's size.
    void draw(QPainter& painter);

private:
    void followPlayer();
    void drawWaveLines(QPainter& painter, int channel);
    void paintColumns(const QList<QLine>& columns, QRgb colour);

    QYSetting& settings_;
    std::vector<WaveformStorePtr> stores_;
    int displayStyle_ = LeftChannel;
    double zoomRate_;
    double yAxisZoomRate_ = 1.0;
    QRectF drawRect_;
    double pointerTime_ = 0;
    bool needToResetPointer_ = false;
    bool isScroll_ = false;
    const QYMoviePlayhead* player_ = nullptr;
    WaveformLayerDelegate* delegate_ = nullptr;
    QImage canvas_;
};

} // namespace quillery
