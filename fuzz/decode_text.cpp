// Fuzzes text decoding: any bytes give text or nothing, and the text cuts into lines.
#include "FuzzInput.h"
#include "TextFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const quillery::fuzz::Input input{data, size};
    if (const std::optional<QString> text = quillery::decodeText(input.bytes()))
        quillery::TextFileReader::sharedInstance().getLinesFromText(*text);
    return 0;
}
