// Fuzzes the SubRip conversion into script text.
#include "FuzzInput.h"
#include "SRTFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::fuzz::Input input{data, size};
    quillery::fuzz::takeFrameRate(input);
    const auto fps = static_cast<float>(quillery::QYTimeUtility::sharedInstance().getFPS());
    quillery::SRTFile::convertToText(input.text(), fps);
    return 0;
}
