#include "QYWaveFormTextEditView.h"

#include "NotificationNames.h"
#include "QYLog.h"
#include "QYNotificationCenter.h"
#include "QYWaveFormTextView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace quillery {

namespace {

// Typing reaches the script this long after the last keystroke.
constexpr int kUpdateDelayMilliseconds = 300;

QYNotificationCenter& notificationCenter() {
    return QYNotificationCenter::sharedInstance();
}

} // namespace

QYWaveFormTextEditView::QYWaveFormTextEditView(QWidget* parent)
    : QPlainTextEdit(parent), updateTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("editSubtitleTextView"));
    setFrameShape(QFrame::NoFrame);
    updateTimer_->setSingleShot(true);
    updateTimer_->setTimerType(Qt::PreciseTimer); // never before its time
    updateTimer_->setInterval(kUpdateDelayMilliseconds);
    connect(updateTimer_, &QTimer::timeout, this, &QYWaveFormTextEditView::postUpdate);
    connect(this, &QPlainTextEdit::textChanged, this, &QYWaveFormTextEditView::didChangeText);
}

void QYWaveFormTextEditView::setEditedText(const QString& text) {
    const QSignalBlocker quiet(this);
    setPlainText(text);
    moveCursor(QTextCursor::End);
    updateTimer_->stop();
}

void QYWaveFormTextEditView::flushPendingUpdate() {
    if (!updateTimer_->isActive() || !line_)
        return;
    updateTimer_->stop();
    QTimer::singleShot(0, [text = toPlainText(), line = line_] { sendUpdate(text, line); });
}

void QYWaveFormTextEditView::didChangeText() {
    // An unfinished input-method composition is not text yet.
    if (composing_)
        return;
    updateTimer_->start();
}

void QYWaveFormTextEditView::postUpdate() {
    if (line_)
        sendUpdate(toPlainText(), line_);
}

void QYWaveFormTextEditView::sendUpdate(const QString& text, const SubtitleLinePtr& line) {
    notificationCenter().postNotificationName(kUpdateSubtitleTextViewTextNotification, text,
                                              subtitleUserInfo(line));
}

void QYWaveFormTextEditView::inputMethodEvent(QInputMethodEvent* event) {
    composing_ = !event->preeditString().isEmpty();
    QPlainTextEdit::inputMethodEvent(event);
    if (!composing_ && !event->commitString().isEmpty())
        updateTimer_->start();
}

void QYWaveFormTextEditView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
        if (delegate_)
            delegate_->didPressTabKey();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (delegate_)
            delegate_->didPressEscapeKey();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void QYWaveFormTextEditView::focusOutEvent(QFocusEvent* event) {
    const bool withinWindow =
        event->reason() == Qt::MouseFocusReason || event->reason() == Qt::TabFocusReason ||
        event->reason() == Qt::BacktabFocusReason || event->reason() == Qt::OtherFocusReason;
    if (withinWindow && delegate_ && !delegate_->textViewShouldResignFirstResponder()) {
        QY_DBG("******* end input, not allow **********");
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                setFocus(Qt::OtherFocusReason);
        });
    }
    QPlainTextEdit::focusOutEvent(event);
}

// --- The background with its handles ----------------------------------------------------------

QYWaveFormTextEditBackgroundView::QYWaveFormTextEditBackgroundView(QWidget* parentView)
    : QWidget(parentView), textView_(new QYWaveFormTextEditView(this)) {
    setObjectName(QStringLiteral("editBackgroundView"));
    setCursor(Qt::SizeHorCursor); // the handles; the text view keeps its own cursor
    hide();
}

void QYWaveFormTextEditBackgroundView::setSubtitleLine(const SubtitleLinePtr& line) {
    line_ = line;
    textView_->setSubtitleLine(line);
}

void QYWaveFormTextEditBackgroundView::setFrame(const QRectF& frame) {
    frame_ = frame;
    const int left = qRound(frame.left());
    setGeometry(left, qRound(frame.top()), qRound(frame.right()) - left, qRound(frame.height()));
}

void QYWaveFormTextEditBackgroundView::resizeEvent(QResizeEvent*) {
    const int handle = static_cast<int>(kHandleWidth);
    textView_->setGeometry(handle, 0, std::max(0, width() - 2 * handle), height());
}

void QYWaveFormTextEditBackgroundView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::white);
}

void QYWaveFormTextEditBackgroundView::mousePressEvent(QMouseEvent* event) {
    const Handle handle = handleAt(event->position().x(), frame_.width());
    if (event->button() != Qt::LeftButton || handle == Handle::None || !line_)
        return;
    QY_DBG("Begin to drag edit text view.");
    const bool left = handle == Handle::Left;
    drag_.begin(left, frame_, inParent(event->position()), line_->startTime(), line_->endTime());
    notificationCenter().postNotificationName(
        left ? QYWaveFormTextViewDidSelectStartTimeCodeNotification
             : QYWaveFormTextViewDidSelectEndTimeCodeNotification,
        line_);
}

void QYWaveFormTextEditBackgroundView::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.dragging || !line_ || !delegate_)
        return;
    const bool left = drag_.isLeft;
    const float limit =
        left ? delegate_->getMinTimeValue(*line_) : delegate_->getMaxTimeValue(*line_);
    const std::optional<QRectF> moved = drag_.move(
        inParent(event->position()), delegate_->getSampleRate(), delegate_->getXOffset(), limit);
    if (!moved)
        return;
    setFrame(*moved);
    notificationCenter().postNotificationName(
        left ? QYWaveFormTextViewDidChangeStartTimeCodeNotification
             : QYWaveFormTextViewDidChangeEndTimeCodeNotification,
        left ? drag_.changedStartTime : drag_.changedEndTime);
}

void QYWaveFormTextEditBackgroundView::mouseReleaseEvent(QMouseEvent*) {
    if (!drag_.dragging || !line_)
        return;
    drag_.dragging = false;
    // Settles on the times the script took, as the block under it does.
    if (delegate_)
        setFrame(blockFrame(line_->startTime(), line_->endTime(), delegate_->getSampleRate(),
                            delegate_->getXOffset(), parentWidget()->height()));
}

} // namespace quillery
