// The inline editor that covers a block while its text is edited in place: a white
// background view with the block's two edge handles (they retime the subtitle like the
// block's own, without a time label and without pushing neighbours) around a text view
// whose typing reaches the script 0.3 s after the last keystroke.
#pragma once

#include "SubtitleLine.h"
#include "WaveformEditing.h"

#include <QPlainTextEdit>
#include <QWidget>

class QTimer;

namespace quillery {

class QYWaveFormTextViewDelegate;

// What the text view asks of the waveform view.
class QYWaveFormTextEditViewDelegate {
public:
    virtual ~QYWaveFormTextEditViewDelegate() = default;
    virtual void didPressTabKey() = 0;
    virtual void didPressEscapeKey() = 0;
    // While an inline edit holds the keyboard, the text view keeps it.
    virtual bool textViewShouldResignFirstResponder() = 0;
};

class QYWaveFormTextEditView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit QYWaveFormTextEditView(QWidget* parent);

    void setTextViewDelegate(QYWaveFormTextEditViewDelegate* delegate) { delegate_ = delegate; }
    void setSubtitleLine(const SubtitleLinePtr& line) { line_ = line; }
    // Fills the view without counting as typing.
    void setEditedText(const QString& text);
    // Sends a pending update now (the editor is closing): on the next turn of the event
    // loop, so the script is never edited from inside one of its own edits.
    void flushPendingUpdate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void didChangeText();
    void postUpdate();
    static void sendUpdate(const QString& text, const SubtitleLinePtr& line);

    QYWaveFormTextEditViewDelegate* delegate_ = nullptr;
    SubtitleLinePtr line_;
    QTimer* updateTimer_;
    bool composing_ = false;
};

class QYWaveFormTextEditBackgroundView : public QWidget {
    Q_OBJECT

public:
    explicit QYWaveFormTextEditBackgroundView(QWidget* parentView);

    void setScrollViewDelegate(QYWaveFormTextViewDelegate* delegate) { delegate_ = delegate; }
    void setSubtitleLine(const SubtitleLinePtr& line);
    const SubtitleLinePtr& subtitleLine() const { return line_; }
    QYWaveFormTextEditView* textView() const { return textView_; }
    // The frame in waveform view coordinates.
    void setFrame(const QRectF& frame);
    QRectF frame() const { return frame_; }
    bool isDragging() const { return drag_.dragging; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF inParent(const QPointF& local) const { return local + frame_.topLeft(); }

    QYWaveFormTextViewDelegate* delegate_ = nullptr;
    QYWaveFormTextEditView* textView_;
    SubtitleLinePtr line_;
    QRectF frame_;
    EdgeDrag drag_;
};

} // namespace quillery
