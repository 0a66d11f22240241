// Fuzzes format detection: every format's trial load, then the one that claims the text.
#include "FuzzInput.h"
#include "SubtitleFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::fuzz::Input input{data, size};
    quillery::fuzz::takeFrameRate(input);
    quillery::Subtitle subtitle;
    // As the plain-text reader hands text over: without carriage returns.
    if (quillery::loadSubtitleText(subtitle, input.text().remove(u'\r')))
        subtitle.getTextViewDisplayString();
    return 0;
}
