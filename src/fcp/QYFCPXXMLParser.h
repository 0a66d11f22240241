// Reading a Final Cut Pro X project (".fcpxml"): its frame rate and rational timebase,
// the title that new subtitles are generated from, the titles already in the project as
// script text, and the model of resources, clips and lanes that the preview assembly
// walks. Where the project lives in the document depends on the format version.
#pragma once

#include "FCPXModel.h"
#include "QYXMLUtility.h"

#include <QList>
#include <QString>
#include <vector>

namespace quillery {

// What reading a project found. The document is kept whatever the outcome; everything
// else is meaningful only as far as the reading got.
struct FCPXProjectReading {
    enum class Status {
        Ok,
        // No sequence, no resources or no format of the sequence: the "format error" alert.
        FormatError,
        // The sequence format's frame duration is not "N/Ds": the read stops silently.
        FrameDurationError,
        // No title to take as the template: the warning asking for one.
        NoTemplate,
    };

    Status status = Status::FormatError;
    xml::DocumentPtr document;
    // A detached copy of the template title, its "lane" set above every lane in use.
    xml::DocumentPtr titleElement;
    QString seqFormat;
    // The sequence format's frame duration, numerator over denominator seconds.
    int32_t frameDurationNumerator = 0;
    int32_t frameDurationDenominator = 0;
    // Every title met while reading, in document order (the font change restyles them).
    std::vector<xml::Element> fcpxChangeFontTitleArray;
    // One script line per title read, each ended by a line feed.
    QString scriptText;

    xml::Element title() const {
        return titleElement ? titleElement->document_element() : xml::Element();
    }
    double frameRate() const {
        return frameDurationNumerator > 0
                   ? double(frameDurationDenominator) / frameDurationNumerator
                   : 0.0;
    }
};

class QYFCPXXMLParser {
public:
    static QYFCPXXMLParser& shareInstance();

    // Version texts compare as dotted numbers: "1.10" is later than "1.4".
    static bool isVersionGreaterOrEqualThanOnePointFour(const QString& version);
    static QString sequencePath(const QString& version);
    static QString resourcePath(const QString& version);
    // The main storyline: the sequence path followed by "/spine".
    static QString spinePath(const QString& version);

    // Where a project keeps its subtitles; the writer removes old subtitles by the same
    // rules. A storyline of ten titles or more connected to a clip of the main storyline
    // holds subtitles; without one, the titles connected straight to clips are read, only
    // the first of them when there are six to nine.
    static bool isSubtitleStoryline(const xml::Element& spine);
    static bool hasSubtitleStoryline(const xml::Element& mainSpine);
    static size_t titlesAttachedToClips(const xml::Element& mainSpine);
    static bool readsOnlyFirstAttachedTitle(size_t attachedTitles);

    // Reads the project and, once its frame duration is known, sets the process-wide
    // frame rate to it, so the time strings of the script text are at the project's rate.
    FCPXProjectReading findSubtitleTemplateFromFCPXXML(const QString& xmlText) const;

    // The formats, assets and effects of the first resources element by identifier.
    FCPXReferenceDictionary
    loadAssetDictionaryFromFCPXDocument(const xml::Document& document) const;
    // The lanes of the main storyline, highest lane number first; kept as laneArray().
    QList<FCPXLane> loadLaneFromFCPXDocument(const xml::Document& document,
                                             const FCPXReferenceDictionary& references);
    const QList<FCPXLane>& laneArray() const { return laneArray_; }

private:
    QYFCPXXMLParser() = default;

    QList<FCPXLane> laneArray_;
};

// Final Cut Pro X rational time text ("1001/30000s", "3600s") as single-precision seconds:
// the last character dropped, the first part divided by the second when there is one. A
// null text or a zero denominator gives 0.
double fcpxFloatSeconds(const QString& rationalTime);

} // namespace quillery
