// What the waveform editor asks of its owner (the main window, which answers from the
// script editor): the lines of a time window, a line's neighbours, and the key strokes the
// waveform does not handle itself.
#pragma once

#include "SubtitleLine.h"

#include <QList>

class QKeyEvent;

namespace quillery {

class QYWaveFormViewDelegate {
public:
    virtual ~QYWaveFormViewDelegate() = default;

    // The valid lines with start < b and end >= a, in script order.
    virtual QList<SubtitleLinePtr> subtitleForStartTime(double a, double b) = 0;
    virtual SubtitleLinePtr previousSubtitleLineForLine(const SubtitleLine* line) = 0;
    virtual SubtitleLinePtr nextSubtitleLineForLine(const SubtitleLine* line) = 0;
    // True when the key was handled.
    virtual bool didRecieveKeydownEvent(QKeyEvent* event) = 0;
};

} // namespace quillery
