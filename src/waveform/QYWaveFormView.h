// The waveform editor: the surface under the script editor that hosts the waveform layer
// and lays the subtitle blocks of the visible window over it. It paints the layer, turns
// wheel and touchpad scrolling into new origins, keeps the centre of the window on resize
// and moves the playhead on a click. Over that it lets the user draw a new subtitle across
// empty waveform (taking the script's next untimed line), drag block edges (the neighbour
// gives way), delete and repeat-play blocks, edit a block's text in place, follow a start
// time typed while the movie plays with a block whose end runs with the playhead, and jump
// through the movie on the overview strip. It keeps in step with the script editor through
// the notification centre; the shared SubtitleLine records carry the times both ways.
//
// Blocks exist only for the visible window: those that leave it go to a pool and come back
// for the lines that enter it.
//
// The class is spread over three files by concern: this one's .cpp holds the hosting, the
// visible window and the script's notifications; QYWaveFormViewMouse.cpp the gestures,
// buttons, inline editing and the playhead overlay; QYWaveFormViewSummary.cpp the overview.
#pragma once

#include "OverDifferenceSummaryView.h"
#include "QYWaveFormTextEditView.h"
#include "QYWaveFormTextView.h"
#include "WaveformLayer.h"

#include <QWidget>
#include <deque>
#include <memory>

class QLabel;
class QTimer;
class QToolButton;

namespace quillery {

class QYWaveFormPlayerControl;
class QYWaveFormViewDelegate;
struct Notification;

class QYWaveFormView : public QWidget,
                       public WaveformLayerDelegate,
                       public QYWaveFormTextViewDelegate,
                       public QYWaveFormTextEditViewDelegate,
                       public OverDifferenceSummaryViewDelegate,
                       public QYWaveFormSummaryViewSubtitleLineObjectDelegate {
    Q_OBJECT

public:
    explicit QYWaveFormView(QWidget* parent = nullptr);
    ~QYWaveFormView() override;

    // The layer to host (the view keeps it alive); null shows an empty waveform. The blocks
    // are laid out again at the new layer's scale.
    void setWaveFormLayer(std::shared_ptr<WaveformLayer> layer);
    const std::shared_ptr<WaveformLayer>& waveFormLayer() const { return layer_; }
    void setPlayer(QYWaveFormPlayerControl* player) { player_ = player; }
    void setDelegate(QYWaveFormViewDelegate* delegate) { delegate_ = delegate; }

    double getCurrentViewStartTime() const;
    double getCurrentViewEndTime() const;
    // The movie's width in waveform pixels; 0 without a movie.
    double getTotalWidth() const;
    QLabel* nextSubtitleDisplayView() const { return nextSubtitleLabel_; }

    // --- Blocks -------------------------------------------------------------------------
    // Takes every block off screen, makes the overview records those of the lines (in
    // script order) and lays the visible window out again.
    void setSubtitleLines(const QList<SubtitleLinePtr>& lines);
    // Takes every block off screen and empties the overview.
    void removeAllTextViewFromWaveForm();
    const QList<QYWaveFormTextView*>& textLayerArray() const { return textLayerArray_; }
    // Blocks made since the view was created (reused ones are not counted again).
    int createdTextViewCount() const { return createdTextViewCount_; }
    QYWaveFormTextView* currentHighlightView() const { return currentHighlightView_; }
    QYWaveFormTextView* currentRepeatPlayView() const { return currentRepeatPlayView_; }
    QYWaveFormTextView* currentCalculatingEndTimeView() const {
        return currentCalculatingEndTimeView_;
    }
    // The temporary block of a drag-to-create, while one is drawn.
    QYWaveFormTextView* dragToCreateTextView() const { return textView_; }

    // --- The script's notifications (public so the main window can replay them) ---------
    void addSubtitleAtIndex(const SubtitleLinePtr& line, int index);
    void deleteSubtitleAtIndex(const SubtitleLinePtr& line, int index);
    void didInsertStartTimeCode(const SubtitleLinePtr& line);
    void didInsertEndTimeCode();

    // --- Editing state --------------------------------------------------------------------
    bool isWaveFormEditing() const { return isWaveFormEditing_; }
    // The inline editor, or one of its parts.
    bool isInlineEditor(const QWidget* widget) const;
    QYWaveFormTextEditBackgroundView* editBackgroundView() const { return editBackgroundView_; }
    void showEditTextView(QYWaveFormTextView* block) override;
    void hideEditTextView();
    void setEditTextFont(const QFont& font);
    void setDragPlayRate(int rate) { dragPlayRate_ = rate; }
    int dragPlayRate() const { return dragPlayRate_; }
    void didPressTabKey() override;
    void didPressRepeatPlayShortCut();
    void didPressPlayButton();
    void didPressDeleteButton();
    QToolButton* playButton() const { return playButton_; }
    QToolButton* deleteButton() const { return deleteButton_; }

    // --- The overview strip (created with its first stripe) --------------------------------
    OverDifferenceSummaryView* overView() const { return overView_; }
    std::size_t summaryRecordCount() const { return summarySubtitleLineObjectArray_.size(); }

    // --- WaveformLayerDelegate ----------------------------------------------------------
    void setNewOriginX(double origin) override;
    void waveFormLayerDidDrawPointer(double viewX) override;
    void waveFormLayerDidChangeZoomRate() override;
    void waveFormLayerNeedsDisplay() override { update(); }

    // --- QYWaveFormTextViewDelegate -----------------------------------------------------
    double getSampleRate() const override;
    double getXOffset() const override;
    double getCurrentTime() const override;
    float getMinTimeValue(const SubtitleLine& line) override;
    float getMaxTimeValue(const SubtitleLine& line) override;
    bool mayTakeKeyFocus() const override { return !keepTextViewFirstResponder_; }
    void didSelectQYWaveFormTextView(QYWaveFormTextView* block) override;
    void showPlayButton(QYWaveFormTextView* block) override;
    void hidePlayButton(QYWaveFormTextView* block) override;
    void waveFormTextViewDidHide(QYWaveFormTextView* block) override;
    void mouseDidBeginDragLeftRect(QYWaveFormTextView* block, const QPointF& at) override;
    void mouseDidBeginDragRightRect(QYWaveFormTextView* block, const QPointF& at) override;
    void mouseDidEndDragLeftRect(QYWaveFormTextView* block, const QPointF& at) override;
    void mouseDidEndDragRightRect(QYWaveFormTextView* block, const QPointF& at) override;

    // --- QYWaveFormTextEditViewDelegate --------------------------------------------------
    bool textViewShouldResignFirstResponder() override { return !keepTextViewFirstResponder_; }
    void didPressEscapeKey() override { hideEditTextView(); }

    // --- OverDifferenceSummaryViewDelegate ----------------------------------------------
    void didClickOnSummaryView() override;
    void repositionOverFlowViewDidMove(double fraction) override;
    void repositionOverFlowViewEndMove() override;

    // --- QYWaveFormSummaryViewSubtitleLineObjectDelegate ---------------------------------
    void didSubtitleChanged(QYWaveFormSummaryViewSubtitleLineObject* record) override;
    void didSubtitleBecomeValid(QYWaveFormSummaryViewSubtitleLineObject* record) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Hosting and the visible window (QYWaveFormView.cpp).
    void observeNotifications();
    void didFrameChanged(const QSize& oldSize);
    void setNextSubtitleText(const QString& text);
    void layOutVisibleWindow();
    QYWaveFormTextView* createWaveFormTextView(const SubtitleLinePtr& line,
                                               bool performingEndTime = false);
    void removeTextViewFromWaveForm(QYWaveFormTextView* block);
    void arrangeTextLayerPosition();
    void followDragToCreateAfterPaging();
    bool isInVisibleWindow(const SubtitleLine& line) const;

    // Gestures, buttons, inline editing, the playhead (QYWaveFormViewMouse.cpp).
    void mouseDownAtPosition(double viewX);
    void dragToCreate(const QPointF& at);
    void beginDragToCreate(double width);
    void finishDragToCreate();
    void playCreatedSubtitle(QYWaveFormTextView* block, const SubtitleLinePtr& line);
    void pushNeighbour(QYWaveFormTextView* neighbour, bool edgesMeet, const QPointF& at);
    void releaseNeighbour(QYWaveFormTextView* neighbour, const QPointF& at);
    void repeatPlayWhileDragging(const SubtitleLinePtr& line);
    QYWaveFormTextView* neighbourOf(QYWaveFormTextView* block, int step) const;
    void updatePlayButtonImage();
    void followHighlight(const QPointF& point);
    void followPendingEndTime(const QPointF& point);
    void forgetBlock(QYWaveFormTextView* block);
    void buildButtons();

    // The overview (QYWaveFormViewSummary.cpp).
    void createSubtitleLineObject(const SubtitleLinePtr& line, int index);
    void insertSubtitleIntoSummaryView(std::size_t stripeIndex, const SubtitleLine& line);
    std::size_t stripeIndexOf(const QYWaveFormSummaryViewSubtitleLineObject* record) const;
    Stripe stripeOf(const SubtitleLine& line) const;
    void clearSummaryView();
    void refreshSummaryStripes();
    void setAnimatorPosition();

    std::shared_ptr<WaveformLayer> layer_;
    QYWaveFormPlayerControl* player_ = nullptr;
    QYWaveFormViewDelegate* delegate_ = nullptr;
    QLabel* nextSubtitleLabel_;
    QTimer* resetScrollTimer_;

    QList<QYWaveFormTextView*> textLayerArray_;
    QList<QYWaveFormTextView*> reuseTextLayerArray_;
    int createdTextViewCount_ = 0;
    QYWaveFormTextView* currentHighlightView_ = nullptr;
    QYWaveFormTextView* currentRepeatPlayView_ = nullptr;
    QYWaveFormTextView* currentEditingView_ = nullptr;
    QYWaveFormTextView* currentCalculatingEndTimeView_ = nullptr;

    QYWaveFormTextView* textView_ = nullptr;
    SubtitleLinePtr subtitleLine_;
    QYWaveFormTextView* viewNextToTheCreationView_ = nullptr;
    bool mouseDown_ = false;
    double mouseDownPositionX_ = 0;
    double dragToCreateOrigin_ = 0;
    bool isStartInTextView_ = false;
    bool isDragToCreateTextView_ = false;
    bool needPlayMovieAfterDragToCreateTextView_ = false;
    bool doubleClicked_ = false;
    int dragPlayRate_ = 1;

    bool isWaveFormEditing_ = false;
    bool keepTextViewFirstResponder_ = false;
    QYWaveFormTextEditBackgroundView* editBackgroundView_;
    QToolButton* playButton_ = nullptr;
    QToolButton* deleteButton_ = nullptr;

    OverDifferenceSummaryView* overView_ = nullptr;
    // In script order; a deque, as a replaced script goes from the front.
    std::deque<std::unique_ptr<QYWaveFormSummaryViewSubtitleLineObject>>
        summarySubtitleLineObjectArray_;
};

} // namespace quillery
