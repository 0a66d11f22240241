// Fuzzes the Final Cut Pro 7 title template reader.
#include "FCP7SubtitleTemplate.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const quillery::fuzz::Input input{data, size};
    quillery::readFCP7SubtitleTemplate(input.text());
    return 0;
}
