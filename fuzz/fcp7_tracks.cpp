// Fuzzes the Final Cut Pro 7 sequence's track model that the preview assembly walks: its
// video and audio tracks, clip items and shared media files; and each track rebuilt from
// the XML it keeps, as a saved project brings back its chosen tracks.
#include "FuzzInput.h"
#include "QYFCP7XMLParser.h"

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input{data, size};
    const xml::DocumentPtr document = xml::parseDocument(input.text());
    if (!document)
        return 0;
    QYFCP7XMLParser& parser = QYFCP7XMLParser::shareInstance();
    const FCPMoviePtr movie = parser.loadLaneFromFCP7Document(document->document_element());
    for (const FCPTrackPtr& track : movie->videoTrackArray)
        parser.trackFromXMLString(track->xmlElementString, FCPTrackType::Video);
    for (const FCPTrackPtr& track : movie->audioTrackArray)
        parser.trackFromXMLString(track->xmlElementString, FCPTrackType::Audio);
    return 0;
}
