// A subtitle block: the rectangle over the waveform that stands for one shared
// SubtitleLine. It shows the line's text, follows the line's times, and lets the user drag
// either 10-pixel edge handle to change a time (with a time label under the pointer), click
// it to select the subtitle in the script, double-click it to edit the text in place, and
// hover it for the play and delete buttons. A block can also be dragged by its neighbour,
// which then hands it the pointer positions itself. The waveform view owns the blocks,
// reuses them from a pool, and answers the questions a block asks (its delegate).
#pragma once

#include "SubtitleLine.h"
#include "WaveformEditing.h"

#include <QLabel>
#include <QWidget>

namespace quillery {

class QYWaveFormTextEditBackgroundView;
class QYWaveFormTextView;

class QYWaveFormTextViewDelegate {
public:
    virtual ~QYWaveFormTextViewDelegate() = default;

    virtual double getSampleRate() const = 0; // pixels per second
    virtual double getXOffset() const = 0;    // the window's origin
    virtual double getCurrentTime() const = 0;
    // The earliest start and latest end an edge drag of the line may reach.
    virtual float getMinTimeValue(const SubtitleLine& line) = 0;
    virtual float getMaxTimeValue(const SubtitleLine& line) = 0;
    // Give this block the key focus when the pointer enters it, unless an inline edit holds it.
    virtual bool mayTakeKeyFocus() const = 0;

    virtual void didSelectQYWaveFormTextView(QYWaveFormTextView* block) = 0;
    virtual void showPlayButton(QYWaveFormTextView* block) = 0;
    virtual void hidePlayButton(QYWaveFormTextView* block) = 0;
    virtual void showEditTextView(QYWaveFormTextView* block) = 0;
    // The block's line is no longer valid: take it off screen.
    virtual void waveFormTextViewDidHide(QYWaveFormTextView* block) = 0;
    // A step and the end of a user's edge drag, with the pointer in waveform coordinates.
    virtual void mouseDidBeginDragLeftRect(QYWaveFormTextView* block, const QPointF& at) = 0;
    virtual void mouseDidBeginDragRightRect(QYWaveFormTextView* block, const QPointF& at) = 0;
    virtual void mouseDidEndDragLeftRect(QYWaveFormTextView* block, const QPointF& at) = 0;
    virtual void mouseDidEndDragRightRect(QYWaveFormTextView* block, const QPointF& at) = 0;
};

// The time under the pointer while an edge is dragged.
class QYWaveFormTimeDisplayView : public QLabel {
    Q_OBJECT

public:
    explicit QYWaveFormTimeDisplayView(QWidget* parent);
    void setTimeText(const QString& text) { setText(text); }
};

class QYWaveFormTextView : public QWidget {
    Q_OBJECT

public:
    // parentView is the waveform view: frames, the time label and the buttons live there.
    QYWaveFormTextView(QYWaveFormTextViewDelegate* delegate, QWidget* parentView);
    ~QYWaveFormTextView() override;

    // Observes the line's text and times; null shows nothing and observes nothing.
    void setSubtitleLine(const SubtitleLinePtr& line);
    const SubtitleLinePtr& subtitleLine() const { return line_; }
    // The text, with the script's row marks shown as line breaks.
    void setTextViewText(const QString& text);
    QString text() const { return text_; }

    // Frame from the line's times (the end follows the playhead while the end time is
    // pending); places the attached buttons and inline editor; remembers it as the frame
    // a drag starts from.
    void calculateAndSetFrame();
    // The frame in waveform view coordinates, fractions kept.
    QRectF frame() const { return frame_; }
    void setFrame(const QRectF& frame);
    bool isShown() const { return !isHidden(); }
    // Takes the block off screen: hides it with a zero frame, drops the time label, the
    // buttons and the inline editor, and forgets the line and every drag flag.
    void removeFromSuperview();

    void setHighlight(bool highlight);
    bool isHighlighted() const { return isHighlighted_; }
    QColor borderColour() const { return borderColour_; }

    bool isDraggingFromSlide() const { return isDraggingFromSlide_; }
    void setIsDraggingFromSlide(bool fromSlide) { isDraggingFromSlide_ = fromSlide; }
    void setIsDraggingToCreate(bool creating) { isDraggingToCreate_ = creating; }
    void setIsPerformingEndTimeCode(bool performing) { isPerformingEndTimeCode_ = performing; }
    bool isDragging() const { return drag_.dragging; }
    QYWaveFormTimeDisplayView* timeDisplayView() const { return timeDisplayView_; }

    // The pointer, in waveform coordinates, as a press, a move and a release: the block's
    // own mouse events come here, and so do a neighbour's when it pushes this block along.
    void mouseDownAt(const QPointF& at);
    void mouseDraggedTo(const QPointF& at);
    void mouseUpAt(const QPointF& at, bool doubleClick);

    // The waveform view's shared buttons, while they sit on this block.
    void attachButtons(QWidget* playButton, QWidget* deleteButton);
    void detachButtons();
    bool hasPlayButton() const { return playButton_ != nullptr; }
    void setPlayButtonFrame();
    void setDeleteButtonFrame();
    // The inline editor while it covers this block: the handles are off meanwhile.
    void setEditTextBackgroundView(QYWaveFormTextEditBackgroundView* editor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void lineTimesChanged();
    void showTimeLabel(const QPointF& at, double edgeX, double seconds);
    void hover(const QPointF& at);
    QPointF inParent(const QPointF& local) const;

    QYWaveFormTextViewDelegate* delegate_;
    QWidget* parentView_;
    SubtitleLinePtr line_;
    QList<QMetaObject::Connection> lineConnections_;
    QString text_;
    QRectF frame_;
    EdgeDrag drag_;
    bool isDraggingFromSlide_ = false;
    bool isDraggingToCreate_ = false;
    bool isPerformingEndTimeCode_ = false;
    bool isHighlighted_ = false;
    bool doubleClicked_ = false;
    QColor borderColour_;
    QYWaveFormTimeDisplayView* timeDisplayView_ = nullptr;
    QWidget* playButton_ = nullptr;
    QWidget* deleteButton_ = nullptr;
    QYWaveFormTextEditBackgroundView* editor_ = nullptr;
};

} // namespace quillery
