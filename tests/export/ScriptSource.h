// The script as the editor holds it, with the editor's own tick conversion, for tests of
// the writers that run without an editor.
#pragma once

#include "QYExportSource.h"
#include "ScriptText.h"

namespace quillery::test {

class ScriptSource : public QYExportSource {
public:
    explicit ScriptSource(QString text, FrameDuration frameDuration = {}, double movieDuration = 0)
        : text_(std::move(text)), frameDuration_(frameDuration), movieDuration_(movieDuration) {}
    QString scriptText() const override { return text_; }
    double movieDuration() const override { return movieDuration_; }
    int32_t fcpxFrameDurationNumerator() const override { return frameDuration_.numerator; }
    int32_t fcpxFrameDurationDenominator() const override { return frameDuration_.denominator; }
    int32_t numeratorFromQuilleryTimecode(const QString& timeString) const override {
        return quillery::numeratorFromQuilleryTimecode(timeString, frameDuration_);
    }

private:
    QString text_;
    FrameDuration frameDuration_;
    double movieDuration_;
};

} // namespace quillery::test
