// Fuzzes the SubViewer20 reader and writer.
#include "FormatHarness.h"
#include "SubViewer20.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::SubViewer20 format;
    return quillery::fuzz::readAndWrite(format, data, size);
}
