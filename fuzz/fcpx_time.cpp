// Fuzzes the readings of Final Cut Pro X rational time texts ("1001/30000s", "3600s"):
// whole seconds, numerator and denominator, float seconds and media time. The input is
// up to three texts, one a line; their media times are combined the way the lane model
// moves a sub-clip into its parent's timeline (offset + parent offset - parent start).
#include "FuzzInput.h"
#include "QYExporter.h"
#include "QYFCPXXMLParser.h"
#include "QYTimeUtility.h"

#include <QStringList>

using namespace quillery;

namespace {

MediaTime readTime(const QString& text) {
    QYExporter::parseFCPXFormatTime(text);
    QYExporter::splitFCPXFormatTime(text);
    fcpxFloatSeconds(text);
    return QYTimeUtility::getCMTimeWithDurationString(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input{data, size};
    const QStringList texts = input.text().split(u'\n');
    const MediaTime offset = readTime(texts.value(0));
    const MediaTime parentOffset = readTime(texts.value(1));
    const MediaTime parentStart = readTime(texts.value(2));
    const MediaTime moved = subtract(add(offset, parentOffset), parentStart);
    compare(moved, offset);
    moved.seconds();
    return 0;
}
