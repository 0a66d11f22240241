#include "QYWaveFormTextView.h"

#include "NotificationNames.h"
#include "QYLog.h"
#include "QYNotificationCenter.h"
#include "QYTimeUtility.h"
#include "QYWaveFormTextEditView.h"
#include "ScriptMarks.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillery {

namespace {

const QColor kBlockFill(255, 25, 25, 77); // red (1.0, 0.1, 0.1) at 0.3
const QColor kNewBorder(Qt::red);
const QColor kHighlightBorder(Qt::yellow);
const QColor kVisitedBorder(Qt::white);
// Blocks this narrow get no hover: the buttons would cover them.
constexpr double kLeastHoverWidth = 20;
// The time label sits this far left of the edge and below the pointer.
constexpr double kTimeLabelHalfWidth = 50;
constexpr double kTimeLabelDrop = 10;
constexpr int kTextInset = 3;

QYNotificationCenter& notificationCenter() {
    return QYNotificationCenter::sharedInstance();
}

} // namespace

QYWaveFormTimeDisplayView::QYWaveFormTimeDisplayView(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("timeDisplayView"));
    resize(100, 20);
    setFont(QFont(QStringLiteral("Helvetica"), 12));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("color: blue; background: rgba(255, 255, 255, 77);"
                                 " border: 2px solid white;"));
}

QYWaveFormTextView::QYWaveFormTextView(QYWaveFormTextViewDelegate* delegate, QWidget* parentView)
    : QWidget(parentView), delegate_(delegate), parentView_(parentView), borderColour_(kNewBorder) {
    setObjectName(QStringLiteral("waveFormTextView"));
    setFont(QFont(QStringLiteral("Helvetica"), 14));
    hide();
}

QYWaveFormTextView::~QYWaveFormTextView() {
    setSubtitleLine(nullptr);
}

void QYWaveFormTextView::setSubtitleLine(const SubtitleLinePtr& line) {
    for (const QMetaObject::Connection& connection : lineConnections_)
        disconnect(connection);
    lineConnections_.clear();
    if (line && line != line_)
        borderColour_ = kNewBorder; // a block showing a line for the first time is new
    line_ = line;
    setTextViewText(line ? line->text() : QString());
    if (!line)
        return;
    SubtitleLine* observed = line.get();
    lineConnections_ << connect(observed, &SubtitleLine::textChanged, this,
                                [this] { setTextViewText(line_->text()); });
    // Time changes are followed once the change that caused them is over.
    lineConnections_ << connect(observed, &SubtitleLine::startTimeChanged, this,
                                &QYWaveFormTextView::lineTimesChanged, Qt::QueuedConnection);
    lineConnections_ << connect(observed, &SubtitleLine::endTimeChanged, this,
                                &QYWaveFormTextView::lineTimesChanged, Qt::QueuedConnection);
}

void QYWaveFormTextView::setTextViewText(const QString& text) {
    text_ = text;
    text_.replace(kLineBreakMark, u'\n');
    update();
}

void QYWaveFormTextView::lineTimesChanged() {
    if (!line_)
        return;
    if (isPerformingEndTimeCode_ && !isShown()) {
        calculateAndSetFrame();
        show();
        return;
    }
    if (!line_->isValid()) {
        if (isShown())
            delegate_->waveFormTextViewDidHide(this);
        return;
    }
    if (drag_.dragging)
        return;
    if (isShown() && isDraggingToCreate_)
        return;
    calculateAndSetFrame();
    show();
}

// --- Geometry -------------------------------------------------------------------------------

void QYWaveFormTextView::calculateAndSetFrame() {
    if (!line_)
        return;
    const double end = isPerformingEndTimeCode_ ? delegate_->getCurrentTime() : line_->endTime();
    setFrame(blockFrame(line_->startTime(), end, delegate_->getSampleRate(),
                        delegate_->getXOffset(), parentView_->height()));
    drag_.originalFrame = frame_;
}

void QYWaveFormTextView::setFrame(const QRectF& frame) {
    frame_ = frame;
    const int left = qRound(frame.left());
    setGeometry(left, qRound(frame.top()), qRound(frame.right()) - left, qRound(frame.height()));
    setDeleteButtonFrame();
    setPlayButtonFrame();
    if (editor_ && !editor_->isDragging())
        editor_->setFrame(frame);
}

void QYWaveFormTextView::setDeleteButtonFrame() {
    if (deleteButton_)
        deleteButton_->move(width() - deleteButton_->width(), 0);
}

void QYWaveFormTextView::setPlayButtonFrame() {
    if (playButton_)
        playButton_->move((width() - playButton_->width()) / 2,
                          (height() - playButton_->height()) / 2);
}

QPointF QYWaveFormTextView::inParent(const QPointF& local) const {
    return local + frame_.topLeft();
}

void QYWaveFormTextView::removeFromSuperview() {
    delete timeDisplayView_;
    timeDisplayView_ = nullptr;
    detachButtons();
    if (editor_)
        editor_->hide();
    editor_ = nullptr;
    if (isHighlighted_)
        setHighlight(false);
    setSubtitleLine(nullptr);
    drag_ = EdgeDrag{};
    isDraggingFromSlide_ = isDraggingToCreate_ = isPerformingEndTimeCode_ = false;
    unsetCursor();
    setMouseTracking(false);
    frame_ = QRectF();
    setGeometry(QRect());
    hide();
}

void QYWaveFormTextView::setHighlight(bool highlight) {
    if (highlight == isHighlighted_)
        return;
    isHighlighted_ = highlight;
    borderColour_ = highlight ? kHighlightBorder : kVisitedBorder;
    update();
}

// --- Buttons and the inline editor -----------------------------------------------------------

void QYWaveFormTextView::attachButtons(QWidget* playButton, QWidget* deleteButton) {
    playButton_ = playButton;
    deleteButton_ = deleteButton;
    for (QWidget* button : {playButton, deleteButton}) {
        // On the block itself, so pointing at a button does not count as leaving it.
        button->setParent(this);
        button->show();
        button->raise();
    }
    setDeleteButtonFrame();
    setPlayButtonFrame();
}

void QYWaveFormTextView::detachButtons() {
    for (QWidget* button : {playButton_, deleteButton_}) {
        if (button) {
            button->hide();
            button->setParent(parentView_);
        }
    }
    playButton_ = deleteButton_ = nullptr;
}

void QYWaveFormTextView::setEditTextBackgroundView(QYWaveFormTextEditBackgroundView* editor) {
    editor_ = editor;
    if (editor)
        unsetCursor();
}

// --- The pointer -------------------------------------------------------------------------------

void QYWaveFormTextView::mouseDownAt(const QPointF& at) {
    if (!line_)
        return;
    const Handle handle = handleAt(at.x() - frame_.left(), frame_.width());
    if (handle == Handle::None) {
        if (!isDraggingFromSlide_)
            delegate_->didSelectQYWaveFormTextView(this);
        return;
    }
    const bool left = handle == Handle::Left;
    drag_.begin(left, frame_, at, line_->startTime(), line_->endTime());
    if (isDraggingFromSlide_)
        return;
    setCursor(Qt::SizeHorCursor);
    showTimeLabel(at, left ? frame_.left() : frame_.right(),
                  left ? line_->startTime() : line_->endTime());
    notificationCenter().postNotificationName(
        left ? QYWaveFormTextViewDidSelectStartTimeCodeNotification
             : QYWaveFormTextViewDidSelectEndTimeCodeNotification,
        line_);
}

void QYWaveFormTextView::showTimeLabel(const QPointF& at, double edgeX, double seconds) {
    delete timeDisplayView_;
    timeDisplayView_ = new QYWaveFormTimeDisplayView(parentView_);
    timeDisplayView_->move(qRound(edgeX - kTimeLabelHalfWidth), qRound(at.y() + kTimeLabelDrop));
    timeDisplayView_->setTimeText(
        QYTimeUtility::sharedInstance().timeStringFromTimeInterval(seconds));
    timeDisplayView_->show();
    timeDisplayView_->raise();
}

void QYWaveFormTextView::mouseDraggedTo(const QPointF& at) {
    if (!drag_.dragging || !line_)
        return;
    QY_DBG("The new point is : %f, %f", at.x(), at.y());
    const bool left = drag_.isLeft;
    const float limit =
        left ? delegate_->getMinTimeValue(*line_) : delegate_->getMaxTimeValue(*line_);
    const std::optional<QRectF> moved =
        drag_.move(at, delegate_->getSampleRate(), delegate_->getXOffset(), limit);
    if (!moved)
        return;
    if (!left)
        QY_DBG("The x position is : %f and max value is : %f and gap is : %f", moved->right(),
               limit * delegate_->getSampleRate() - delegate_->getXOffset(),
               moved->right() - drag_.originalFrame.right());
    setFrame(*moved);
    const double seconds = left ? drag_.changedStartTime : drag_.changedEndTime;
    if (timeDisplayView_) {
        timeDisplayView_->move(qRound(at.x() - kTimeLabelHalfWidth),
                               qRound(at.y() + kTimeLabelDrop));
        timeDisplayView_->setTimeText(
            QYTimeUtility::sharedInstance().timeStringFromTimeInterval(seconds));
    }
    if (isDraggingFromSlide_)
        return;
    if (left)
        QY_DBG("The changed start time is : %f", seconds);
    notificationCenter().postNotificationName(
        left ? QYWaveFormTextViewDidChangeStartTimeCodeNotification
             : QYWaveFormTextViewDidChangeEndTimeCodeNotification,
        seconds);
    if (left)
        delegate_->mouseDidBeginDragLeftRect(this, at);
    else
        delegate_->mouseDidBeginDragRightRect(this, at);
}

void QYWaveFormTextView::mouseUpAt(const QPointF& at, bool doubleClick) {
    const bool fromSlide = isDraggingFromSlide_;
    isDraggingFromSlide_ = false;
    if (!line_)
        return;
    if (drag_.dragging) {
        // The script took every step of the drag (a pushed neighbour's too, through the
        // script's own push rule) and its records are this block's line: the block settles
        // on the times the script holds, whole frames, rather than on the pointer's pixel.
        delete timeDisplayView_;
        timeDisplayView_ = nullptr;
        drag_.dragging = false;
        unsetCursor();
        calculateAndSetFrame();
        if (fromSlide)
            return;
        if (drag_.isLeft)
            delegate_->mouseDidEndDragLeftRect(this, at);
        else
            delegate_->mouseDidEndDragRightRect(this, at);
        return;
    }
    if (fromSlide)
        return;
    if (doubleClick)
        delegate_->showEditTextView(this);
    else
        notificationCenter().postNotificationName(kHighlightSubtitleTextNotification, line_);
}

void QYWaveFormTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    doubleClicked_ = false;
    mouseDownAt(inParent(event->position()));
}

void QYWaveFormTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    doubleClicked_ = true;
    mouseDownAt(inParent(event->position()));
}

void QYWaveFormTextView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        mouseDraggedTo(inParent(event->position()));
    else
        hover(event->position());
}

void QYWaveFormTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    mouseUpAt(inParent(event->position()), doubleClicked_);
    doubleClicked_ = false;
}

// --- Hover ---------------------------------------------------------------------------------

void QYWaveFormTextView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (editor_ || frame_.width() <= kLeastHoverWidth)
        return;
    setMouseTracking(true);
    if (delegate_->mayTakeKeyFocus())
        setFocus(Qt::MouseFocusReason);
    hover(event->position());
}

void QYWaveFormTextView::hover(const QPointF& local) {
    if (!hasMouseTracking() || !line_)
        return;
    setCursor(handleAt(local.x(), frame_.width()) == Handle::None ? Qt::ArrowCursor
                                                                  : Qt::SizeHorCursor);
    const QRectF inner = QRectF(QPointF(0, 0), frame_.size())
                             .adjusted(kHandleWidth, kHandleWidth, -kHandleWidth, -kHandleWidth);
    if (inner.contains(local)) {
        if (!playButton_)
            delegate_->showPlayButton(this);
    } else {
        delegate_->hidePlayButton(this);
    }
}

void QYWaveFormTextView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!hasMouseTracking())
        return;
    setMouseTracking(false);
    unsetCursor();
    if (hasFocus())
        clearFocus();
    delegate_->hidePlayButton(this);
}

// --- Drawing -----------------------------------------------------------------------------------

void QYWaveFormTextView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBlockFill);
    painter.setPen(borderColour_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(kTextInset, kTextInset, -kTextInset, -kTextInset),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

} // namespace quillery
