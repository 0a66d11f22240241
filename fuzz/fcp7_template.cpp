// Fuzzes the Final Cut Pro 7 sequence reader: its rate, drop-frame flag and the title
// template with the script lines of its Text generators.
#include "FuzzInput.h"
#include "QYFCP7XMLParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const quillery::fuzz::Input input{data, size};
    quillery::QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(input.text());
    return 0;
}
