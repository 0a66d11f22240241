#include "QYWaveFormView.h"

#include "NotificationNames.h"
#include "QYLog.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "QYWaveFormPlayerControl.h"
#include "QYWaveFormViewDelegate.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace quillery {

namespace {

// After the last movement of a touchpad scroll the view may follow the playhead again.
constexpr int kResetScrollMilliseconds = 100;
constexpr int kLabelMaximumWidth = 300;
const QColor kBackground(236, 237, 239);

QYNotificationCenter& notificationCenter() {
    return QYNotificationCenter::sharedInstance();
}

std::vector<TimeSpan> spansOf(const QList<QYWaveFormTextView*>& blocks) {
    std::vector<TimeSpan> spans;
    spans.reserve(blocks.size());
    for (const QYWaveFormTextView* block : blocks) {
        const SubtitleLinePtr& line = block->subtitleLine();
        spans.push_back(line ? TimeSpan{line->startTime(), line->endTime()} : TimeSpan{});
    }
    return spans;
}

} // namespace

QYWaveFormView::QYWaveFormView(QWidget* parent)
    : QWidget(parent), nextSubtitleLabel_(new QLabel(this)), resetScrollTimer_(new QTimer(this)),
      editBackgroundView_(new QYWaveFormTextEditBackgroundView(this)) {
    setObjectName(QStringLiteral("waveFormView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    nextSubtitleLabel_->setObjectName(QStringLiteral("nextSubtitleDisplayView"));
    nextSubtitleLabel_->setFont(QFont(QStringLiteral("Helvetica"), 14));
    nextSubtitleLabel_->setAlignment(Qt::AlignCenter);
    nextSubtitleLabel_->setWordWrap(true);
    nextSubtitleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
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
    editBackgroundView_->setScrollViewDelegate(this);
    editBackgroundView_->textView()->setTextViewDelegate(this);
    buildButtons();
    dragPlayRate_ = std::max(1, QYSetting::shareInstance().dragPlayRate);
    observeNotifications();
}

QYWaveFormView::~QYWaveFormView() {
    notificationCenter().removeObserver(this);
    if (layer_)
        layer_->setDelegate(nullptr);
}

void QYWaveFormView::observeNotifications() {
    QYNotificationCenter& centre = notificationCenter();
    centre.addObserver(this, kAddSubtitleLineToWaveFormNotification, [this](const Notification& n) {
        if (n.subtitleLine())
            addSubtitleAtIndex(n.subtitleLine(), n.index());
    });
    centre.addObserver(this, kDeleteSubtitleLineFromWaveFormNotification,
                       [this](const Notification& n) {
                           if (n.subtitleLine())
                               deleteSubtitleAtIndex(n.subtitleLine(), n.index());
                       });
    centre.addObserver(this, kHasInsertStartTimeCodeNotification,
                       [this](const Notification& n) { didInsertStartTimeCode(n.subtitleLine()); });
    centre.addObserver(this, kHasInsertEndTimeCodeNotification,
                       [this](const Notification&) { didInsertEndTimeCode(); });
    centre.addObserver(this, kSetNextSubtitleTextNotification,
                       [this](const Notification& n) { setNextSubtitleText(n.text()); });
}

// --- Hosting the layer ----------------------------------------------------------------------

void QYWaveFormView::setWaveFormLayer(std::shared_ptr<WaveformLayer> layer) {
    if (layer_)
        layer_->setDelegate(nullptr);
    hideEditTextView();
    layer_ = std::move(layer);
    if (layer_) {
        layer_->setDelegate(this);
        layer_->setMCurrentDrawRect(QRectF(0, 0, width(), height()));
    }
    nextSubtitleLabel_->hide();
    layOutVisibleWindow();
    refreshSummaryStripes();
    update();
}

double QYWaveFormView::getCurrentViewStartTime() const {
    return layer_ ? layer_->getCurrentViewStartTime() : 0;
}

double QYWaveFormView::getCurrentViewEndTime() const {
    return layer_ ? layer_->getCurrentViewEndTime() : 0;
}

double QYWaveFormView::getTotalWidth() const {
    if (!player_ || !player_->hasMovie())
        return 0;
    return player_->duration().seconds() * getSampleRate();
}

double QYWaveFormView::getSampleRate() const {
    return layer_ ? layer_->getSampleRate() : WaveformMapping{}.getSampleRate();
}

double QYWaveFormView::getXOffset() const {
    return layer_ ? layer_->mCurrentDrawRect().x() : 0;
}

double QYWaveFormView::getCurrentTime() const {
    return player_ ? player_->currentTime().seconds() : 0;
}

void QYWaveFormView::setNewOriginX(double) {
    layOutVisibleWindow();
    update();
}

void QYWaveFormView::waveFormLayerDidChangeZoomRate() {
    if (layer_)
        setNewOriginX(layer_->mCurrentDrawRect().x());
}

void QYWaveFormView::setNextSubtitleText(const QString& text) {
    // Announced on every tick of the playhead; the label changes far less often.
    if (text == nextSubtitleLabel_->text())
        return;
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
    if (!layer_)
        return;
    layer_->draw(painter);
}

void QYWaveFormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (overView_)
        overView_->setGeometry(0, height() - static_cast<int>(kOverviewHeight), width(),
                               static_cast<int>(kOverviewHeight));
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
    hideEditTextView();
    const QPoint pixels =
        event->pixelDelta().isNull() ? event->angleDelta() / 2 : event->pixelDelta();
    const double delta = pixels.x() != 0 ? pixels.x() : pixels.y();
    const double movieWidth =
        player_ && player_->hasMovie() ? getTotalWidth() : layer_->getTotalLength();
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

void QYWaveFormView::keyPressEvent(QKeyEvent* event) {
    if (delegate_ && delegate_->didRecieveKeydownEvent(event))
        return;
    QWidget::keyPressEvent(event);
}

// --- The visible window ------------------------------------------------------------------------

void QYWaveFormView::layOutVisibleWindow() {
    if (delegate_ && layer_) {
        const QList<SubtitleLinePtr> lines =
            delegate_->subtitleForStartTime(getCurrentViewStartTime(), getCurrentViewEndTime());
        std::vector<TimeSpan> wanted;
        wanted.reserve(lines.size());
        for (const SubtitleLinePtr& line : lines)
            wanted.push_back({line->startTime(), line->endTime()});
        std::vector<bool> pinned;
        for (const QYWaveFormTextView* block : textLayerArray_)
            pinned.push_back(block == currentCalculatingEndTimeView_);
        const VisibleWindowChange change =
            visibleWindowChange(spansOf(textLayerArray_), pinned, wanted);
        QList<QYWaveFormTextView*> leaving;
        for (std::size_t index : change.blocksToRemove)
            leaving << textLayerArray_[static_cast<qsizetype>(index)];
        for (QYWaveFormTextView* block : leaving)
            removeTextViewFromWaveForm(block);
        for (std::size_t index : change.linesToCreate)
            createWaveFormTextView(lines[static_cast<qsizetype>(index)]);
    }
    arrangeTextLayerPosition();
    setAnimatorPosition();
    followDragToCreateAfterPaging();
}

QYWaveFormTextView* QYWaveFormView::createWaveFormTextView(const SubtitleLinePtr& line,
                                                           bool performingEndTime) {
    QYWaveFormTextView* block = nullptr;
    if (reuseTextLayerArray_.isEmpty()) {
        block = new QYWaveFormTextView(this, this);
        ++createdTextViewCount_;
    } else {
        block = reuseTextLayerArray_.takeFirst();
    }
    block->setSubtitleLine(line);
    block->setIsPerformingEndTimeCode(performingEndTime);
    const double end = performingEndTime ? getCurrentTime() : line->endTime();
    textLayerArray_.insert(
        static_cast<qsizetype>(blockInsertionIndex(spansOf(textLayerArray_), end)), block);
    block->calculateAndSetFrame();
    block->show();
    nextSubtitleLabel_->raise();
    if (overView_)
        overView_->raise();
    return block;
}

void QYWaveFormView::removeTextViewFromWaveForm(QYWaveFormTextView* block) {
    const qsizetype index = textLayerArray_.indexOf(block);
    if (index < 0)
        return;
    forgetBlock(block);
    block->removeFromSuperview();
    textLayerArray_.removeAt(index);
    reuseTextLayerArray_.append(block);
}

void QYWaveFormView::arrangeTextLayerPosition() {
    for (QYWaveFormTextView* block : textLayerArray_)
        block->calculateAndSetFrame();
}

void QYWaveFormView::followDragToCreateAfterPaging() {
    // The drawn block keeps its start time while the window moves under it: its left edge
    // moves with the window and it grows to the pointer, which stays where it was.
    if (!textView_ || !textView_->isShown() || !subtitleLine_)
        return;
    const double origin = getXOffset();
    const double moved = origin - dragToCreateOrigin_;
    dragToCreateOrigin_ = origin;
    if (moved == 0)
        return;
    mouseDownPositionX_ -= moved;
    subtitleLine_->setEndTime(subtitleLine_->endTime() + moved / getSampleRate());
    QRectF frame = textView_->frame();
    frame.setLeft(mouseDownPositionX_);
    textView_->setFrame(frame);
}

bool QYWaveFormView::isInVisibleWindow(const SubtitleLine& line) const {
    return line.startTime() >= getCurrentViewStartTime() &&
           line.startTime() <= getCurrentViewEndTime();
}

void QYWaveFormView::setSubtitleLines(const QList<SubtitleLinePtr>& lines) {
    removeAllTextViewFromWaveForm();
    for (qsizetype index = 0; index < lines.size(); ++index)
        createSubtitleLineObject(lines[index], static_cast<int>(index));
    layOutVisibleWindow();
}

void QYWaveFormView::removeAllTextViewFromWaveForm() {
    hideEditTextView();
    while (!textLayerArray_.isEmpty())
        removeTextViewFromWaveForm(textLayerArray_.back());
    clearSummaryView();
}

// --- The script's notifications ----------------------------------------------------------------

void QYWaveFormView::addSubtitleAtIndex(const SubtitleLinePtr& line, int index) {
    QYWaveFormTextView* block = nullptr;
    if (line->isValid() && isInVisibleWindow(*line))
        block = createWaveFormTextView(line);
    createSubtitleLineObject(line, index);
    if (needPlayMovieAfterDragToCreateTextView_ && line->isValid() && subtitleLine_ &&
        line->text() == subtitleLine_->text())
        playCreatedSubtitle(block, line);
}

void QYWaveFormView::deleteSubtitleAtIndex(const SubtitleLinePtr& line, int index) {
    const QList<QYWaveFormTextView*> blocks = textLayerArray_;
    for (QYWaveFormTextView* block : blocks) {
        const SubtitleLinePtr& shown = block->subtitleLine();
        if (shown && shown->startTime() == line->startTime() && shown->endTime() == line->endTime())
            removeTextViewFromWaveForm(block);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= summarySubtitleLineObjectArray_.size())
        return;
    const auto record = summarySubtitleLineObjectArray_.begin() + index;
    if ((*record)->isValid() && overView_)
        overView_->removeColorAtIndex(stripeIndexOf(record->get()));
    summarySubtitleLineObjectArray_.erase(record);
}

void QYWaveFormView::didInsertStartTimeCode(const SubtitleLinePtr& line) {
    if (!line)
        return;
    if (currentCalculatingEndTimeView_)
        removeTextViewFromWaveForm(currentCalculatingEndTimeView_);
    QY_DBG("Start to Perform end time code : %s", qUtf8Printable(line->description()));
    currentCalculatingEndTimeView_ = createWaveFormTextView(line, true);
}

void QYWaveFormView::didInsertEndTimeCode() {
    QYWaveFormTextView* block = currentCalculatingEndTimeView_;
    if (!block)
        return;
    QY_DBG("End to Perform end time code : %s",
           qUtf8Printable(block->subtitleLine()->description()));
    block->setIsPerformingEndTimeCode(false);
    currentCalculatingEndTimeView_ = nullptr;
    block->calculateAndSetFrame();
    block->show();
    QY_DBG("The subViews is : %lld", static_cast<long long>(textLayerArray_.size()));
    for (const QYWaveFormTextView* shown : textLayerArray_) {
        QY_DBG("The v is : %p and subtitle is : %s", static_cast<const void*>(shown),
               qUtf8Printable(shown->subtitleLine() ? shown->subtitleLine()->description()
                                                    : QString()));
    }
}

} // namespace quillery
