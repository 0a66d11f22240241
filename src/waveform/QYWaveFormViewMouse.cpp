// The waveform editor's gestures: drawing a new subtitle across empty waveform, clicks that
// move the playhead, edge drags that push the neighbouring block along, the play and
// delete buttons, selection and the highlight under the playhead, the block whose end runs
// with the playhead, and the inline text editor.
#include "Localization.h"
#include "NotificationNames.h"
#include "QYLog.h"
#include "QYNotificationCenter.h"
#include "QYTimeUtility.h"
#include "QYWaveFormPlayerControl.h"
#include "QYWaveFormView.h"
#include "QYWaveFormViewDelegate.h"
#include "ScriptMarks.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

namespace quillery {

namespace {

constexpr int kPlayButtonSize = 50;
constexpr int kDeleteButtonSize = 20;
constexpr int kLabelTopMargin = 10;

QYNotificationCenter& notificationCenter() {
    return QYNotificationCenter::sharedInstance();
}

// A block's frame widened one pixel to the left: the playhead column that touches its start
// counts as inside.
bool touches(const QYWaveFormTextView* block, const QPointF& point) {
    return block->isShown() && block->frame().adjusted(-1, 0, 0, 0).contains(point);
}

} // namespace

void QYWaveFormView::buildButtons() {
    playButton_ = new QToolButton(this);
    playButton_->setObjectName(QStringLiteral("playButton"));
    playButton_->setFixedSize(kPlayButtonSize, kPlayButtonSize);
    playButton_->setIconSize(QSize(kPlayButtonSize - 14, kPlayButtonSize - 14));
    playButton_->setAutoRaise(true);
    playButton_->setFocusPolicy(Qt::NoFocus);
    connect(playButton_, &QToolButton::clicked, this, &QYWaveFormView::didPressPlayButton);
    deleteButton_ = new QToolButton(this);
    deleteButton_->setObjectName(QStringLiteral("deleteButton"));
    deleteButton_->setFixedSize(kDeleteButtonSize, kDeleteButtonSize);
    deleteButton_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    deleteButton_->setToolTip(localized("Delete this subtitle"));
    deleteButton_->setAutoRaise(true);
    deleteButton_->setFocusPolicy(Qt::NoFocus);
    connect(deleteButton_, &QToolButton::clicked, this, &QYWaveFormView::didPressDeleteButton);
    playButton_->hide();
    deleteButton_->hide();
    updatePlayButtonImage();
}

// --- Clicks and drawing a new subtitle ---------------------------------------------------------

void QYWaveFormView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    QY_DBG("Mouse down at %f", event->position().x());
    mouseDown_ = true;
    isDragToCreateTextView_ = false;
    mouseDownPositionX_ = event->position().x();
    viewNextToTheCreationView_ = nullptr;
    if (layer_)
        layer_->setIsScroll(false);
    isStartInTextView_ = false;
    for (const QYWaveFormTextView* block : textLayerArray_) {
        if (block->isShown() && block->frame().left() <= mouseDownPositionX_ &&
            mouseDownPositionX_ <= block->frame().right())
            isStartInTextView_ = true;
    }
    event->accept();
}

void QYWaveFormView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    doubleClicked_ = true;
}

void QYWaveFormView::mouseMoveEvent(QMouseEvent* event) {
    if (mouseDown_ && (event->buttons() & Qt::LeftButton))
        dragToCreate(event->position());
}

void QYWaveFormView::dragToCreate(const QPointF& at) {
    if (isStartInTextView_)
        return;
    const double x = at.x();
    if (!viewNextToTheCreationView_ && x > mouseDownPositionX_) {
        for (QYWaveFormTextView* block : textLayerArray_) {
            if (block->isShown() && block->frame().left() <= x && x <= block->frame().right()) {
                viewNextToTheCreationView_ = block;
                break;
            }
        }
    }
    const std::optional<double> limit =
        viewNextToTheCreationView_ ? std::optional(viewNextToTheCreationView_->frame().left())
                                   : std::nullopt;
    const double width = dragToCreateWidth(mouseDownPositionX_, x, limit);
    if (!isDragToCreateTextView_) {
        // Drawing starts above the overview strip, once the block is worth keeping.
        const bool aboveStrip = !overView_ || at.y() < height() - kOverviewHeight;
        if (width > kLeastCreateWidth && aboveStrip)
            beginDragToCreate(width);
        return;
    }
    subtitleLine_->setEndTime((mouseDownPositionX_ + getXOffset() + width) / getSampleRate());
    QRectF frame = textView_->frame();
    frame.setWidth(width);
    textView_->setFrame(frame);
}

void QYWaveFormView::beginDragToCreate(double width) {
    isDragToCreateTextView_ = true;
    dragToCreateOrigin_ = getXOffset();
    subtitleLine_ = SubtitleLine::create();
    subtitleLine_->setStartTime((mouseDownPositionX_ + getXOffset()) / getSampleRate());
    subtitleLine_->setEndTime((mouseDownPositionX_ + getXOffset() + width) / getSampleRate());
    if (!textView_)
        textView_ = new QYWaveFormTextView(this, this);
    textView_->setSubtitleLine(subtitleLine_);
    textView_->setIsDraggingToCreate(true);
    textView_->setFrame(QRectF(mouseDownPositionX_, blockTop(height()), width, kBlockHeight));
    textView_->show();
    textView_->raise();
    if (player_)
        player_->playRepeatSubtitle(subtitleLine_, dragPlayRate_);
}

void QYWaveFormView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (isDragToCreateTextView_)
        finishDragToCreate();
    else if (isWaveFormEditing_)
        hideEditTextView();
    else if (doubleClicked_ && player_)
        player_->play();
    else if (!doubleClicked_)
        mouseDownAtPosition(event->position().x());
    isDragToCreateTextView_ = mouseDown_ = doubleClicked_ = false;
}

void QYWaveFormView::finishDragToCreate() {
    const bool keep = textView_->frame().width() > kLeastCreateWidth;
    const SubtitleLinePtr line = subtitleLine_;
    textView_->removeFromSuperview();
    if (!keep) {
        // A block too narrow to keep leaves nothing behind, not even its repeat play.
        if (player_ && player_->repeatSubtitle() == line)
            player_->stopRepeatPlaySubtitle(false);
        subtitleLine_.reset();
        return;
    }
    // The script inserts the line and sends it back as the real block.
    needPlayMovieAfterDragToCreateTextView_ = true;
    notificationCenter().postNotificationName(kAddSubtitleLineToTextViewNotification, line);
}

void QYWaveFormView::playCreatedSubtitle(QYWaveFormTextView* block, const SubtitleLinePtr& line) {
    needPlayMovieAfterDragToCreateTextView_ = false;
    subtitleLine_.reset();
    currentRepeatPlayView_ = block;
    if (player_)
        player_->playRepeatSubtitle(line, 1.0);
    if (block && line->text().isEmpty())
        showEditTextView(block);
}

void QYWaveFormView::mouseDownAtPosition(double viewX) {
    if (!layer_ || !player_ || layer_->getDataStoreArray().empty())
        return;
    if (player_->repeatSubtitle())
        player_->stopRepeatPlaySubtitle(false);
    player_->setCurrentTime(layer_->mapping().timeForViewX(viewX, getXOffset()));
    update();
}

// --- Edge drags and the neighbours ---------------------------------------------------------------

float QYWaveFormView::getMinTimeValue(const SubtitleLine& line) {
    const SubtitleLinePtr previous =
        delegate_ ? delegate_->previousSubtitleLineForLine(&line) : nullptr;
    return minimumStartTime(previous && previous->isStartTimeValid()
                                ? std::optional(previous->startTime())
                                : std::nullopt,
                            QYTimeUtility::sharedInstance().getFPS());
}

float QYWaveFormView::getMaxTimeValue(const SubtitleLine& line) {
    const SubtitleLinePtr next = delegate_ ? delegate_->nextSubtitleLineForLine(&line) : nullptr;
    const double duration = player_ && player_->hasMovie()
                                ? player_->duration().seconds()
                                : (layer_ ? layer_->getTotalLength() / getSampleRate() : 0);
    return maximumEndTime(next && next->isStartTimeValid() ? std::optional(next->endTime())
                                                           : std::nullopt,
                          duration, QYTimeUtility::sharedInstance().getFPS());
}

QYWaveFormTextView* QYWaveFormView::neighbourOf(QYWaveFormTextView* block, int step) const {
    const qsizetype index = textLayerArray_.indexOf(block) + step;
    if (index < 0 || index >= textLayerArray_.size() || textLayerArray_.indexOf(block) < 0)
        return nullptr;
    QYWaveFormTextView* neighbour = textLayerArray_[index];
    return neighbour->isShown() ? neighbour : nullptr;
}

void QYWaveFormView::pushNeighbour(QYWaveFormTextView* neighbour, bool edgesMeet,
                                   const QPointF& at) {
    if (!neighbour)
        return;
    if (!edgesMeet) {
        releaseNeighbour(neighbour, at);
    } else if (!neighbour->isDragging()) {
        // It starts dragging once the pointer reaches its handle.
        neighbour->setIsDraggingFromSlide(true);
        neighbour->mouseDownAt(at);
    } else {
        neighbour->mouseDraggedTo(at);
    }
}

void QYWaveFormView::releaseNeighbour(QYWaveFormTextView* neighbour, const QPointF& at) {
    if (neighbour && neighbour->isDraggingFromSlide())
        neighbour->mouseUpAt(at, false);
}

void QYWaveFormView::repeatPlayWhileDragging(const SubtitleLinePtr& line) {
    if (!player_ || !line)
        return;
    if (player_->repeatSubtitle() == line && player_->currentPlayRate() == dragPlayRate_)
        return;
    player_->playRepeatSubtitle(line, dragPlayRate_);
}

void QYWaveFormView::mouseDidBeginDragLeftRect(QYWaveFormTextView* block, const QPointF& at) {
    QYWaveFormTextView* previous = neighbourOf(block, -1);
    pushNeighbour(previous, previous && block->frame().left() <= previous->frame().right(), at);
    repeatPlayWhileDragging(block->subtitleLine());
}

void QYWaveFormView::mouseDidBeginDragRightRect(QYWaveFormTextView* block, const QPointF& at) {
    QYWaveFormTextView* next = neighbourOf(block, 1);
    pushNeighbour(next, next && block->frame().right() >= next->frame().left(), at);
    repeatPlayWhileDragging(block->subtitleLine());
}

void QYWaveFormView::mouseDidEndDragLeftRect(QYWaveFormTextView* block, const QPointF& at) {
    releaseNeighbour(neighbourOf(block, -1), at);
    if (player_ && block->subtitleLine())
        player_->playRepeatSubtitle(block->subtitleLine(), 1.0);
}

void QYWaveFormView::mouseDidEndDragRightRect(QYWaveFormTextView* block, const QPointF& at) {
    releaseNeighbour(neighbourOf(block, 1), at);
    if (player_ && block->subtitleLine())
        player_->playRepeatSubtitle(block->subtitleLine(), 1.0);
}

// --- Play and delete buttons
// ----------------------------------------------------------------------

void QYWaveFormView::showPlayButton(QYWaveFormTextView* block) {
    if (currentRepeatPlayView_ && currentRepeatPlayView_ != block)
        hidePlayButton(currentRepeatPlayView_);
    block->attachButtons(playButton_, deleteButton_);
    currentRepeatPlayView_ = block;
    updatePlayButtonImage();
}

void QYWaveFormView::hidePlayButton(QYWaveFormTextView* block) {
    if (block->hasPlayButton())
        block->detachButtons();
}

void QYWaveFormView::updatePlayButtonImage() {
    const bool playingThis = player_ && currentRepeatPlayView_ && player_->isPlaying() &&
                             currentRepeatPlayView_->subtitleLine() &&
                             player_->repeatSubtitle() == currentRepeatPlayView_->subtitleLine();
    playButton_->setIcon(
        style()->standardIcon(playingThis ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playButton_->setToolTip(playingThis ? localized("Pause this subtitle")
                                        : localized("Play this subtitle over and over"));
}

void QYWaveFormView::didPressPlayButton() {
    hideEditTextView();
    didPressRepeatPlayShortCut();
}

void QYWaveFormView::didPressRepeatPlayShortCut() {
    if (!player_ || !currentRepeatPlayView_ || !currentRepeatPlayView_->subtitleLine())
        return;
    const SubtitleLinePtr line = currentRepeatPlayView_->subtitleLine();
    if (player_->isPlaying() && player_->repeatSubtitle() == line)
        player_->stopRepeatPlaySubtitle(false);
    else
        player_->playRepeatSubtitle(line, 1.0);
    updatePlayButtonImage();
}

void QYWaveFormView::didPressDeleteButton() {
    QYWaveFormTextView* block = currentRepeatPlayView_;
    if (!block || !block->subtitleLine())
        return;
    const SubtitleLinePtr line = block->subtitleLine();
    hideEditTextView();
    QY_DBG("Delete subtitle : %s", qUtf8Printable(line->description()));
    if (player_ && player_->repeatSubtitle() && player_->repeatSubtitle()->isEqualToSubtitle(*line))
        player_->stopRepeatPlaySubtitle(false);
    notificationCenter().postNotificationName(kDeleteSubtitleLineFromTextViewNotification, line);
    removeTextViewFromWaveForm(block);
}

void QYWaveFormView::didPressTabKey() {
    if (!player_)
        return;
    if (player_->isPlaying())
        player_->stopRepeatPlaySubtitle(false);
    else
        player_->play();
}

// --- Selection and the blocks going away ---------------------------------------------------------

void QYWaveFormView::didSelectQYWaveFormTextView(QYWaveFormTextView* block) {
    if (isWaveFormEditing_ && currentEditingView_ != block)
        hideEditTextView();
    if (currentHighlightView_ && currentHighlightView_ != block)
        currentHighlightView_->setHighlight(false);
    block->setHighlight(true);
    currentHighlightView_ = block;
}

void QYWaveFormView::waveFormTextViewDidHide(QYWaveFormTextView* block) {
    removeTextViewFromWaveForm(block);
}

void QYWaveFormView::forgetBlock(QYWaveFormTextView* block) {
    if (currentEditingView_ == block)
        hideEditTextView();
    if (currentHighlightView_ == block)
        currentHighlightView_ = nullptr;
    if (currentRepeatPlayView_ == block)
        currentRepeatPlayView_ = nullptr;
    if (currentCalculatingEndTimeView_ == block)
        currentCalculatingEndTimeView_ = nullptr;
    if (viewNextToTheCreationView_ == block)
        viewNextToTheCreationView_ = nullptr;
}

// --- The playhead ------------------------------------------------------------------------------

void QYWaveFormView::waveFormLayerDidDrawPointer(double viewX) {
    if (!nextSubtitleLabel_->text().isEmpty()) {
        nextSubtitleLabel_->move(static_cast<int>(viewX), kLabelTopMargin);
        if (nextSubtitleLabel_->isHidden()) {
            nextSubtitleLabel_->show();
            nextSubtitleLabel_->raise();
        }
    }
    const QPointF point(viewX, height() / 2.0);
    followHighlight(point);
    followPendingEndTime(point);
    // The drawn block has been played to its end.
    if (player_ && player_->isPlaying() && textView_ && textView_->isShown() &&
        viewX > textView_->frame().right())
        player_->stopRepeatPlaySubtitle(false);
}

void QYWaveFormView::followHighlight(const QPointF& point) {
    if (QYWaveFormTextView* highlighted = currentHighlightView_;
        highlighted && !highlighted->frame().contains(point)) {
        // A block that repeats keeps its highlight while the playhead runs past its end.
        const bool repeating = player_ && player_->isPlaying() && highlighted->subtitleLine() &&
                               player_->repeatSubtitle() == highlighted->subtitleLine();
        if (!repeating) {
            highlighted->setHighlight(false);
            if (currentEditingView_ == highlighted)
                hideEditTextView();
            currentHighlightView_ = nullptr;
        }
    }
    if (currentHighlightView_)
        return;
    for (QYWaveFormTextView* block : textLayerArray_) {
        if (touches(block, point)) {
            block->setHighlight(true);
            currentHighlightView_ = block;
            return;
        }
    }
}

void QYWaveFormView::followPendingEndTime(const QPointF& point) {
    QYWaveFormTextView* pending = currentCalculatingEndTimeView_;
    if (!pending)
        return;
    pending->calculateAndSetFrame();
    pending->show();
    for (const QYWaveFormTextView* block : textLayerArray_) {
        if (block != pending && touches(block, point)) {
            // The running end reached the next subtitle: timing stops there.
            if (player_ && player_->isPlaying())
                player_->stopRepeatPlaySubtitle(false);
            return;
        }
    }
}

// --- Inline editing ---------------------------------------------------------------------------

void QYWaveFormView::showEditTextView(QYWaveFormTextView* block) {
    if (!block || !block->subtitleLine())
        return;
    hideEditTextView();
    const SubtitleLinePtr line = block->subtitleLine();
    keepTextViewFirstResponder_ = true;
    currentEditingView_ = block;
    block->setEditTextBackgroundView(editBackgroundView_);
    editBackgroundView_->setFrame(block->frame());
    QString text = line->text();
    text.replace(kLineBreakMark, u'\n');
    editBackgroundView_->setSubtitleLine(line);
    editBackgroundView_->textView()->setEditedText(text);
    isWaveFormEditing_ = true;
    editBackgroundView_->show();
    editBackgroundView_->raise();
    editBackgroundView_->textView()->setFocus(Qt::OtherFocusReason);
    if (player_)
        player_->playRepeatSubtitle(line, 1.0);
}

void QYWaveFormView::hideEditTextView() {
    if (!isWaveFormEditing_)
        return;
    // What was typed in the last moments still reaches the script.
    editBackgroundView_->textView()->flushPendingUpdate();
    keepTextViewFirstResponder_ = false;
    isWaveFormEditing_ = false;
    editBackgroundView_->hide();
    editBackgroundView_->setSubtitleLine(nullptr);
    if (currentEditingView_)
        currentEditingView_->setEditTextBackgroundView(nullptr);
    currentEditingView_ = nullptr;
}

bool QYWaveFormView::isInlineEditor(const QWidget* widget) const {
    return widget == editBackgroundView_ || editBackgroundView_->isAncestorOf(widget);
}

void QYWaveFormView::setEditTextFont(const QFont& font) {
    editBackgroundView_->textView()->setFont(font);
}

} // namespace quillery
