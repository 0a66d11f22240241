#include "ScriptTextSource.h"

namespace quillery {

ScriptTextSource::ScriptTextSource(QString text, double movieDuration, FrameDuration frameDuration)
    : text_(std::move(text)), movieDuration_(movieDuration), frameDuration_(frameDuration) {}

int32_t ScriptTextSource::numeratorFromQuilleryTimecode(const QString& timeString) const {
    return quillery::numeratorFromQuilleryTimecode(timeString, frameDuration_);
}

} // namespace quillery
