// The overview strip along the bottom of the waveform: the whole movie at once, with a
// stripe for every timed subtitle and a marker framing the part the waveform shows.
// Clicking or dragging the marker moves the movie (and the waveform) there. Stripes change
// often while the user works; they are drawn again once, a second after the last change,
// while the marker moves at once. One record per script line
// (QYWaveFormSummaryViewSubtitleLineObject) watches its line's times for the waveform view.
#pragma once

#include "SubtitleLine.h"
#include "WaveformEditing.h"

#include <QImage>
#include <QObject>
#include <QWidget>
#include <deque>

class QTimer;

namespace quillery {

class OverDifferenceSummaryViewDelegate {
public:
    virtual ~OverDifferenceSummaryViewDelegate() = default;
    virtual void didClickOnSummaryView() = 0;
    // The user put the marker at this fraction of the strip.
    virtual void repositionOverFlowViewDidMove(double fraction) = 0;
    virtual void repositionOverFlowViewEndMove() = 0;
};

class OverDifferenceSummaryView : public QWidget {
    Q_OBJECT

public:
    OverDifferenceSummaryView(OverDifferenceSummaryViewDelegate* delegate, QWidget* parent);

    void addColorBlock(std::size_t index, Stripe stripe);
    void updateColorBlockAtIndex(std::size_t index, Stripe stripe);
    // Ignored beyond the end.
    void removeColorAtIndex(std::size_t index);
    void clearAllColor();
    std::size_t getColorCount() const { return colorArray_.size(); }
    const std::deque<Stripe>& colorArray() const { return colorArray_; }

    // The marker for the waveform's window; left alone while the user holds it.
    void moveAnimator(double origin, double viewWidth, double totalWidth);
    QRectF overFlowViewFrame() const { return markerFrame_; }
    // The stripes as last drawn.
    const QImage& stripeImage() const { return stripeImage_; }
    void refreshSummaryView();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void scheduleRedraw();
    void drawStripes();
    void repositionOverFlowView(double x);

    OverDifferenceSummaryViewDelegate* delegate_;
    // A whole script replaced removes its lines from the front, one at a time.
    std::deque<Stripe> colorArray_;
    QImage stripeImage_;
    QRectF markerFrame_;
    QTimer* redrawTimer_;
    bool isMouseClickOnSelf_ = false;
    bool isMouseInOverFlowView_ = false;
};

class QYWaveFormSummaryViewSubtitleLineObject;

class QYWaveFormSummaryViewSubtitleLineObjectDelegate {
public:
    virtual ~QYWaveFormSummaryViewSubtitleLineObjectDelegate() = default;
    // The line, valid before, changed its times (and may no longer be valid).
    virtual void didSubtitleChanged(QYWaveFormSummaryViewSubtitleLineObject* record) = 0;
    // The line was not valid and now is.
    virtual void didSubtitleBecomeValid(QYWaveFormSummaryViewSubtitleLineObject* record) = 0;
};

class QYWaveFormSummaryViewSubtitleLineObject : public QObject {
    Q_OBJECT

public:
    QYWaveFormSummaryViewSubtitleLineObject(
        const SubtitleLinePtr& line, QYWaveFormSummaryViewSubtitleLineObjectDelegate* delegate);

    const SubtitleLinePtr& subtitle() const { return line_; }
    // The line's validity when last seen: whether it has a stripe.
    bool isValid() const { return isValid_; }

private:
    void didChangeTimes();

    SubtitleLinePtr line_;
    QYWaveFormSummaryViewSubtitleLineObjectDelegate* delegate_;
    bool isValid_;
};

} // namespace quillery
