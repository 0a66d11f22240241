// Fuzzes the YouTubeSbv reader and writer.
#include "FormatHarness.h"
#include "YouTubeSbv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::YouTubeSbv format;
    return quillery::fuzz::readAndWrite(format, data, size);
}
