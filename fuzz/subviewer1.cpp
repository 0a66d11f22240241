// Fuzzes the SubViewer10 reader and writer.
#include "FormatHarness.h"
#include "SubViewer10.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillery::SubViewer10 format;
    return quillery::fuzz::readAndWrite(format, data, size);
}
