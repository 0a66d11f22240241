// What the script editor asks of its owner (the main window): to hear of every change,
// of dropped files and of time strings the user selected, and to zoom the waveform.
#pragma once

#include "MediaTime.h"

#include <QList>
#include <QUrl>

namespace quillery {

class SubtitleTextViewDelegate {
public:
    virtual ~SubtitleTextViewDelegate() = default;

    virtual void textViewDidChange() = 0;
    // Asked when the editor is about to lose keyboard focus.
    virtual bool shouldResignFirstResponder() = 0;
    virtual void didDragFileIntoTextView(const QList<QUrl>& files) = 0;
    // The user put the caret on a time: the player moves there.
    virtual void didSelectedTimeCode(const MediaTime& time) = 0;
    virtual void decreaseWaveFormSlider() = 0;
    virtual void increaseWaveFormSlider() = 0;
    virtual void decreaseWaveFormYAxisZoomRate() = 0;
    virtual void increaseWaveFormYAxisZoomRate() = 0;
};

} // namespace quillery
