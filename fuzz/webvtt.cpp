// Fuzzes the WebVTTFormat reader and writer.
#include "FormatHarness.h"
#include "WebVTTFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::WebVTTFormat format;
    return quillery::fuzz::readAndWrite(format, data, size);
}
