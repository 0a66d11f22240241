// The exporter's view of a script held as plain text, for exporting without an editor
// window: no movie unless a duration is given, no Final Cut Pro X project.
#pragma once

#include "QYExportSource.h"
#include "ScriptText.h"

namespace quillery {

class ScriptTextSource : public QYExportSource {
public:
    ScriptTextSource(QString text, double movieDuration, FrameDuration frameDuration = {});

    QString scriptText() const override { return text_; }
    double movieDuration() const override { return movieDuration_; }
    int32_t fcpxFrameDurationNumerator() const override { return frameDuration_.numerator; }
    int32_t fcpxFrameDurationDenominator() const override { return frameDuration_.denominator; }
    int32_t numeratorFromQuilleryTimecode(const QString& timeString) const override;

private:
    QString text_;
    double movieDuration_;
    FrameDuration frameDuration_;
};

} // namespace quillery
