#include "QYWaveFormView.h"

#include "NotificationNames.h"
#include "QYLog.h"
#include "QYMoviePlayerControl.h"
#include "QYNotificationCenter.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace quillery {

namespace {

// After the last movement of a touchpad scroll the view may follow the playhead again.
constexpr int kResetScrollMilliseconds = 100;
constexpr int kLabelMaximumWidth = 300;
constexpr int kLabelTopMargin = 10;
const QColor kBackground(236, 237, 239);

} // namespace

QYWaveFormView::QYWaveFormView(QWidget* parent)
    : QWidget(parent), nextSubtitleLabel_(new QLabel(this)), resetScrollTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("waveFormView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    nextSubtitleLabel_->setObjectName(QStringLiteral("nextSubtitleDisplayView"));
    nextSubtitleLabel_->setFont(QFont(QStringLiteral("Helvetica"), 14));
    nextSubtitleLabel_->setAlignment(Qt::AlignCenter);
    nextSubtitleLabel_->setWordWrap(true);
    nextSubtitleLabel_->setStyleSheet(QStringLiteral(
        "color: black; background: rgba(255, 255, 255, 178); border: 1px solid white;"
        " border-radius: 3px;"));
    nextSubtitleLabel_->hide();
    resetScrollTimer_->setSingleShot(true);
    resetScrollTimer_->setInterval(kResetScrollMilliseconds);
    connect(resetScrollTimer_, &QTimer::timeout, this, [this] {
        if (layer_)
            layer_->setIsScroll(false);
    });
    QYNotificationCenter::sharedInstance().addObserver(
        this, kSetNextSubtitleTextNotification,
        [this](const Notification& n) { setNextSubtitleText(n.text()); });
}

QYWaveFormView::~QYWaveFormView() {
    QYNotificationCenter::sharedInstance().removeObserver(this);
    if (layer_)
        layer_->setDelegate(nullptr);
}

void QYWaveFormView::setWaveFormLayer(std::shared_ptr<WaveformLayer> layer) {
    if (layer_)
        layer_->setDelegate(nullptr);
    layer_ = std::move(layer);
    if (layer_) {
        layer_->setDelegate(this);
        layer_->setMCurrentDrawRect(QRectF(0, 0, width(), height()));
    }
    nextSubtitleLabel_->hide();
    update();
}

double QYWaveFormView::getCurrentViewStartTime() const {
    return layer_ ? layer_->getCurrentViewStartTime() : 0;
}

double QYWaveFormView::getCurrentViewEndTime() const {
    return layer_ ? layer_->getCurrentViewEndTime() : 0;
}

double QYWaveFormView::getTotalWidth() const {
    if (!layer_ || !player_)
        return 0;
    return player_->duration().seconds() * layer_->getSampleRate();
}

void QYWaveFormView::setNewOriginX(double) {
    // The subtitle blocks of the visible window are laid out from here.
    update();
}

void QYWaveFormView::waveFormLayerDidChangeZoomRate() {
    if (layer_)
        setNewOriginX(layer_->mCurrentDrawRect().x());
}

void QYWaveFormView::waveFormLayerDidDrawPointer(double viewX) {
    if (nextSubtitleLabel_->text().isEmpty())
        return;
    nextSubtitleLabel_->move(static_cast<int>(viewX), kLabelTopMargin);
    nextSubtitleLabel_->show();
}

void QYWaveFormView::setNextSubtitleText(const QString& text) {
    nextSubtitleLabel_->setText(text);
    if (text.isEmpty()) {
        nextSubtitleLabel_->hide();
        return;
    }
    const QRect bounds =
        QFontMetrics(nextSubtitleLabel_->font())
            .boundingRect(QRect(0, 0, kLabelMaximumWidth, 1000), Qt::TextWordWrap, text);
    nextSubtitleLabel_->resize(bounds.width() + 20, bounds.height() + 30);
}

void QYWaveFormView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (layer_)
        layer_->draw(painter);
}

void QYWaveFormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    didFrameChanged(event->oldSize());
}

void QYWaveFormView::didFrameChanged(const QSize& oldSize) {
    if (!layer_)
        return;
    const double oldWidth = oldSize.isValid() ? oldSize.width() : width();
    const double origin = originAfterResize(layer_->mCurrentDrawRect().x(), oldWidth, width());
    layer_->setMCurrentDrawRect(QRectF(origin, 0, width(), height()));
    setNewOriginX(origin);
}

void QYWaveFormView::wheelEvent(QWheelEvent* event) {
    if (!layer_ || mouseDown_ || layer_->getDataStoreArray().empty())
        return;
    const QPoint pixels =
        event->pixelDelta().isNull() ? event->angleDelta() / 2 : event->pixelDelta();
    const double delta = pixels.x() != 0 ? pixels.x() : pixels.y();
    const double movieWidth = player_ ? player_->duration().seconds() * layer_->getSampleRate()
                                      : layer_->getTotalLength();
    layer_->setIsScroll(true);
    layer_->setNewOriginX(
        originAfterScroll(layer_->mCurrentDrawRect().x(), delta, movieWidth, width()));
    update();
    if (event->phase() == Qt::ScrollEnd || event->phase() == Qt::ScrollMomentum) {
        QY_DBG("The status is : %d", int(event->phase()));
        resetScrollTimer_->start();
    }
    event->accept();
}

void QYWaveFormView::mousePressEvent(QMouseEvent* event) {
    mouseDown_ = true;
    if (layer_)
        layer_->setIsScroll(false);
    event->accept();
}

void QYWaveFormView::mouseReleaseEvent(QMouseEvent* event) {
    mouseDown_ = false;
    if (event->button() == Qt::LeftButton)
        mouseDownAtPosition(event->position().x());
}

void QYWaveFormView::mouseDownAtPosition(double viewX) {
    if (!layer_ || !player_ || layer_->getDataStoreArray().empty())
        return;
    if (player_->isRepeatingSubtitle())
        player_->stopRepeatPlaySubtitle(false);
    player_->setCurrentTime(layer_->mapping().timeForViewX(viewX, layer_->mCurrentDrawRect().x()));
    update();
}

} // namespace quillery
