// The surface under the script editor that hosts the waveform layer: it paints the layer,
// turns wheel and touchpad scrolling into new origins, keeps the centre of the window on
// resize, moves the playhead on a click, and shows the next subtitle's text beside the
// playhead. The subtitle blocks and their gestures are laid over it by the waveform
// editor; they hang off setNewOriginX, which runs whenever the window moves.
#pragma once

#include "WaveformLayer.h"

#include <QWidget>
#include <memory>

class QLabel;
class QTimer;

namespace quillery {

class QYMoviePlayerControl;

class QYWaveFormView : public QWidget, public WaveformLayerDelegate {
    Q_OBJECT

public:
    explicit QYWaveFormView(QWidget* parent = nullptr);
    ~QYWaveFormView() override;

    // The layer to host (the view keeps it alive); null shows an empty waveform.
    void setWaveFormLayer(std::shared_ptr<WaveformLayer> layer);
    const std::shared_ptr<WaveformLayer>& waveFormLayer() const { return layer_; }
    void setPlayer(QYMoviePlayerControl* player) { player_ = player; }

    double getCurrentViewStartTime() const;
    double getCurrentViewEndTime() const;
    double getTotalWidth() const;
    QLabel* nextSubtitleDisplayView() const { return nextSubtitleLabel_; }

    // --- WaveformLayerDelegate ----------------------------------------------------------
    void setNewOriginX(double origin) override;
    void waveFormLayerDidDrawPointer(double viewX) override;
    void waveFormLayerDidChangeZoomRate() override;
    void waveFormLayerNeedsDisplay() override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void didFrameChanged(const QSize& oldSize);
    void setNextSubtitleText(const QString& text);
    void mouseDownAtPosition(double viewX);

    std::shared_ptr<WaveformLayer> layer_;
    QYMoviePlayerControl* player_ = nullptr;
    QLabel* nextSubtitleLabel_;
    QTimer* resetScrollTimer_;
    bool mouseDown_ = false;
};

} // namespace quillery
