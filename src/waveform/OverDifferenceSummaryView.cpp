#include "OverDifferenceSummaryView.h"

#include "QYLog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace quillery {

namespace {

// Stripes are drawn again this long after the last change.
constexpr int kRedrawDelayMilliseconds = 1000;
const QColor kStripe(255, 25, 25, 77); // red (1.0, 0.1, 0.1) at 0.3
const QColor kMarker(4, 109, 255);
const QColor kBackground(250, 250, 250);
// The marker's width before the waveform first lays out its window.
constexpr double kInitialMarkerWidth = 20;

} // namespace

OverDifferenceSummaryView::OverDifferenceSummaryView(OverDifferenceSummaryViewDelegate* delegate,
                                                     QWidget* parent)
    : QWidget(parent), delegate_(delegate), redrawTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("overView"));
    markerFrame_ = QRectF(0, 0, kInitialMarkerWidth, kOverviewHeight);
    redrawTimer_->setSingleShot(true);
    redrawTimer_->setTimerType(Qt::PreciseTimer); // never before its time
    redrawTimer_->setInterval(kRedrawDelayMilliseconds);
    connect(redrawTimer_, &QTimer::timeout, this, &OverDifferenceSummaryView::refreshSummaryView);
}

// --- Stripes --------------------------------------------------------------------------------

void OverDifferenceSummaryView::addColorBlock(std::size_t index, Stripe stripe) {
    colorArray_.insert(colorArray_.begin() + static_cast<std::ptrdiff_t>(index), stripe);
    scheduleRedraw();
}

void OverDifferenceSummaryView::updateColorBlockAtIndex(std::size_t index, Stripe stripe) {
    if (index >= colorArray_.size())
        return;
    colorArray_[index] = stripe;
    scheduleRedraw();
}

void OverDifferenceSummaryView::removeColorAtIndex(std::size_t index) {
    if (index >= colorArray_.size())
        return;
    colorArray_.erase(colorArray_.begin() + static_cast<std::ptrdiff_t>(index));
    scheduleRedraw();
}

void OverDifferenceSummaryView::clearAllColor() {
    colorArray_.clear();
    scheduleRedraw();
}

void OverDifferenceSummaryView::scheduleRedraw() {
    redrawTimer_->start();
}

void OverDifferenceSummaryView::refreshSummaryView() {
    redrawTimer_->stop();
    drawStripes();
    update();
}

void OverDifferenceSummaryView::drawStripes() {
    stripeImage_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    stripeImage_.fill(kBackground);
    QPainter painter(&stripeImage_);
    const double stripWidth = width();
    for (const Stripe& stripe : colorArray_)
        painter.fillRect(
            QRectF(stripe.from * stripWidth, 0, (stripe.to - stripe.from) * stripWidth, height()),
            kStripe);
}

void OverDifferenceSummaryView::resizeEvent(QResizeEvent*) {
    // Stripes are fractions of the width: a new width draws them again at once.
    drawStripes();
}

void OverDifferenceSummaryView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, stripeImage_);
    painter.setPen(kMarker);
    painter.drawRect(markerFrame_.adjusted(0, 0, -1, -1));
}

// --- The window marker --------------------------------------------------------------------------

void OverDifferenceSummaryView::moveAnimator(double origin, double viewWidth, double totalWidth) {
    if (isMouseClickOnSelf_ || totalWidth <= 0)
        return;
    markerFrame_ = overviewMarkerFrame(origin, viewWidth, totalWidth, width(), height());
    update();
}

void OverDifferenceSummaryView::repositionOverFlowView(double x) {
    markerFrame_.moveLeft(markerLeftAt(x, markerFrame_.width(), width()));
    update();
    delegate_->repositionOverFlowViewDidMove(x / width());
}

void OverDifferenceSummaryView::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    QY_DBG("Mouse down in over view %f, %f", at.x(), at.y());
    isMouseClickOnSelf_ = true;
    isMouseInOverFlowView_ = markerFrame_.contains(at);
    if (!isMouseInOverFlowView_)
        repositionOverFlowView(at.x());
    delegate_->didClickOnSummaryView();
}

void OverDifferenceSummaryView::mouseMoveEvent(QMouseEvent* event) {
    if (isMouseInOverFlowView_)
        repositionOverFlowView(std::clamp(event->position().x(), 0.0, double(width())));
}

void OverDifferenceSummaryView::mouseReleaseEvent(QMouseEvent*) {
    if (isMouseInOverFlowView_)
        delegate_->repositionOverFlowViewEndMove();
    isMouseClickOnSelf_ = isMouseInOverFlowView_ = false;
}

// --- One record per script line ------------------------------------------------------------------

QYWaveFormSummaryViewSubtitleLineObject::QYWaveFormSummaryViewSubtitleLineObject(
    const SubtitleLinePtr& line, QYWaveFormSummaryViewSubtitleLineObjectDelegate* delegate)
    : line_(line), delegate_(delegate), isValid_(line->isValid()) {
    connect(line.get(), &SubtitleLine::startTimeChanged, this,
            &QYWaveFormSummaryViewSubtitleLineObject::didChangeTimes);
    connect(line.get(), &SubtitleLine::endTimeChanged, this,
            &QYWaveFormSummaryViewSubtitleLineObject::didChangeTimes);
}

void QYWaveFormSummaryViewSubtitleLineObject::didChangeTimes() {
    if (isValid_)
        delegate_->didSubtitleChanged(this);
    else if (line_->isValid())
        delegate_->didSubtitleBecomeValid(this);
    isValid_ = line_->isValid();
}

} // namespace quillery
