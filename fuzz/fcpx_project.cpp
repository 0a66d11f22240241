// Fuzzes the Final Cut Pro X project reader: the sequence format, the template title and
// the titles as script text; the resources and the lanes of the main storyline that the
// preview assembly walks; and, for a project that reads, both projects the exporter
// writes from it, as the command-line tool writes them.
#include "FuzzInput.h"
#include "QYExporter.h"
#include "QYFCPXXMLParser.h"
#include "ScriptTextSource.h"

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input{data, size};
    QYFCPXXMLParser& parser = QYFCPXXMLParser::shareInstance();
    const FCPXProjectReading reading = parser.findSubtitleTemplateFromFCPXXML(input.text());
    const xml::Document& document = *reading.document;
    parser.loadLaneFromFCPXDocument(document, parser.loadAssetDictionaryFromFCPXDocument(document));
    if (reading.status != FCPXProjectReading::Status::Ok)
        return 0;
    const ScriptTextSource source(
        reading.scriptText, 0, {reading.frameDurationNumerator, reading.frameDurationDenominator});
    const QYExporter exporter(source);
    exporter.genFCPXXml(document, reading.title(), reading.seqFormat, {});
    exporter.genEmptyFCPXXml(document, reading.title(), reading.seqFormat, {});
    return 0;
}
