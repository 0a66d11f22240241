// The shared body of the subtitle format harnesses: read the lines with the format, show
// them as script text, and write them back with the same format.
#pragma once

#include "FuzzInput.h"
#include "SubtitleFormat.h"

namespace quillery::fuzz {

inline int readAndWrite(SubtitleFormat& format, const uint8_t* data, size_t size) {
    Input input{data, size};
    takeFrameRate(input);
    Subtitle subtitle;
    format.loadSubtitle(subtitle, input.text().split(u'\n'), QString());
    format.removeNativeFormatting(subtitle, nullptr);
    subtitle.getTextViewDisplayString();
    format.toText(subtitle, format.name());
    return 0;
}

} // namespace quillery::fuzz
