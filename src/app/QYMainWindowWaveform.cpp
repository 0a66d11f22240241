// The main window's waveform editor side: the questions the waveform view asks (the lines
// of a time window, a line's neighbours), answered from the script editor; key strokes the
// waveform leaves to the editor's shortcuts; the drag-speed control; and the command that
// lays every block and overview stripe out again from the script.
#include "Localization.h"
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "QYWaveFormView.h"
#include "SubtitleTextView.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace quillery {

namespace {

// Dragging and drawing on the waveform plays at these rates (the player's whole ones).
const QStringList kDragPlayRateTitles = {QStringLiteral("1.0x"), QStringLiteral("2.0x")};

} // namespace

void QYMainWindowController::addWaveFormEditingControls(QHBoxLayout* controls) {
    waveFormView_->setDelegate(this);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(localized("Drag speed")));
    dragPlayRateControl_ = new QButtonGroup(this);
    dragPlayRateControl_->setObjectName(QStringLiteral("dragPlayRateControl"));
    for (int choice = 0; choice < kDragPlayRateTitles.size(); ++choice) {
        auto* segment = new QToolButton;
        segment->setText(kDragPlayRateTitles[choice]);
        segment->setCheckable(true);
        segment->setFocusPolicy(Qt::NoFocus);
        segment->setToolTip(localized("How fast the movie plays while you draw or drag a block"));
        dragPlayRateControl_->addButton(segment, choice);
        controls->addWidget(segment);
    }
    const int saved =
        std::clamp(settings_.dragPlayRate - 1, 0, static_cast<int>(kDragPlayRateTitles.size()) - 1);
    dragPlayRateControl_->button(saved)->setChecked(true);
    waveFormView_->setDragPlayRate(saved + 1);
    connect(dragPlayRateControl_, &QButtonGroup::idClicked, this,
            &QYMainWindowController::didChangeDragPlayRate);

    auto* rebuild = new QToolButton;
    rebuild->setObjectName(QStringLiteral("rebuildWaveFormButton"));
    rebuild->setText(localized("Rebuild"));
    rebuild->setToolTip(localized("Lay out the subtitle blocks again from the script"));
    rebuild->setFocusPolicy(Qt::NoFocus);
    connect(rebuild, &QToolButton::clicked, this, [this] { rebuildWaveForm(); });
    controls->addWidget(rebuild);
}

void QYMainWindowController::didChangeDragPlayRate(int choice) {
    const int rate = choice + 1;
    if (dragPlayRateControl_->checkedId() != choice)
        dragPlayRateControl_->button(choice)->setChecked(true);
    waveFormView_->setDragPlayRate(rate);
    settings_.dragPlayRate = rate;
    settings_.save();
}

void QYMainWindowController::rebuildWaveForm() {
    // A nudge in progress would turn the replayed lines into in-place edits.
    textView_->setAdjustingTimeCode(false);
    waveFormView_->setSubtitleLines(textView_->getAllSubtitles());
}

// --- The waveform view's delegate ---------------------------------------------------------------

QList<SubtitleLinePtr> QYMainWindowController::subtitleForStartTime(double a, double b) {
    return textView_->subtitleForStartTime(a, b);
}

SubtitleLinePtr QYMainWindowController::previousSubtitleLineForLine(const SubtitleLine* line) {
    return textView_->script().previousSubtitleLineForLine(line);
}

SubtitleLinePtr QYMainWindowController::nextSubtitleLineForLine(const SubtitleLine* line) {
    return textView_->script().nextSubtitleLineForLine(line);
}

bool QYMainWindowController::didRecieveKeydownEvent(QKeyEvent* event) {
    return textView_->handleKeyEvent(event);
}

} // namespace quillery
