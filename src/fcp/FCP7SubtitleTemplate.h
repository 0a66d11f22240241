// Reading the subtitles and the title template out of a Final Cut Pro 7 sequence: the
// Text generator items of its last video track become script lines, and the first of
// them is kept as the template new subtitle tracks are built from.
#pragma once

#include "MediaTime.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace quillery {

struct FCP7SubtitleTemplate {
    QString seqName;
    bool mbIsDropFrame = false;
    int32_t miTimebase = 0;
    float mfTimebase = 0;
    // The sequence's length: its duration in frames over the truncated timebase.
    MediaTime duration;
    // The first generator item of the last video track, as XML text.
    QString templateElement;
    int16_t fontSize = 0;
    int textAlign = 0;
    // One script line per generator item, each ended by a line feed; empty when the last
    // video track holds no generator item.
    QString scriptText;
};

// Nothing when the text is not an XML document. The frame rate of the time strings is
// the sequence's: the process-wide rate is set to it before they are written.
std::optional<FCP7SubtitleTemplate> readFCP7SubtitleTemplate(const QString& xmlText);

} // namespace quillery
