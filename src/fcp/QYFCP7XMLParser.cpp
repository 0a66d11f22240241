#include "QYFCP7XMLParser.h"

#include "NumberText.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"

#include <QUrl>
#include <cstring>
#include <limits>

namespace quillery {

namespace {

using xml::Element;

// "file://localhost" in front of the path of a local media file.
constexpr qsizetype kLocalFileURLPrefixLength = 16;

QString textAt(const Element& root, const char* path) {
    return xml::stringValue(xml::singleElementByPath(root, QString::fromLatin1(path)));
}

int32_t integerAt(const Element& element, const char* path) {
    return intValue(textAt(element, path));
}

// Video runs at one to a few hundred frames a second; a timebase outside this range is
// no rate at all and is read as missing.
constexpr float kMinimumTimebase = 1;
constexpr float kMaximumTimebase = 1000;

// Drop-frame timecode skips frame numbers; the frame counts of the timeline are moved past
// the numbers skipped before them.
int64_t dropFrameAdjusted(int64_t frame, int32_t timebase) {
    if (timebase == 60)
        return frame + 4 * (frame / 4000);
    if (timebase == 30)
        return frame + 2 * (frame / 2000);
    return frame;
}

bool fitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

int alignmentFrom(int32_t value) {
    if (value == 1)
        return 0;
    if (value == 2)
        return 1;
    return 2;
}

// The empty string, as for any unset time, when the frame could not be read.
QString timeStringOfFrame(std::optional<int32_t> frame, float timebase) {
    if (!frame)
        return QString();
    const auto& utility = QYTimeUtility::sharedInstance();
    return utility.timeStringFromCMTime(utility.getCMTimeWithTimeInteval(*frame / timebase));
}

void readSequence(const Element& root, FCP7SequenceReading& reading) {
    const QString name = textAt(root, "sequence/name");
    const qsizetype cut = name.indexOf(QStringLiteral(" from Quillery"));
    reading.seqName = cut < 0 ? name : name.left(cut);
    reading.mbIsDropFrame = textAt(root, "sequence/timecode/displayformat") == "DF";
    const QString timebase = textAt(root, "sequence/rate/timebase");
    const float rate = floatValue(timebase);
    if (rate >= kMinimumTimebase && rate <= kMaximumTimebase) {
        reading.miTimebase = intValue(timebase);
        reading.mfTimebase = rate;
    }
    reading.duration = MediaTime::make(integerAt(root, "sequence/duration"),
                                       static_cast<int32_t>(reading.mfTimebase));
}

// Final Cut Pro writes -1 for an edge that a transition decides: the item then starts where
// the transition before it starts, and ends where the one after it ends.
int64_t frameAtEdge(const Element& item, const char* edge, const Element& transition) {
    const int64_t frame = longLongValue(textAt(item, edge));
    if (frame != -1 || std::strcmp(transition.name(), "transitionitem") != 0)
        return frame;
    return longLongValue(textAt(transition, edge));
}

// A timeline frame moved past skipped numbers in a drop-frame sequence; nothing when it,
// or its adjusted number, does not fit the 32 bits frame numbers have.
std::optional<int32_t> timelineFrame(int64_t frame, const FCP7SequenceReading& reading) {
    if (!fitsInt32(frame))
        return std::nullopt;
    const int64_t adjusted =
        reading.mbIsDropFrame ? dropFrameAdjusted(frame, reading.miTimebase) : frame;
    if (!fitsInt32(adjusted))
        return std::nullopt;
    return static_cast<int32_t>(adjusted);
}

void readGeneratorItem(const Element& item, FCP7SequenceReading& reading) {
    const std::optional<int32_t> start =
        timelineFrame(frameAtEdge(item, "start", item.previous_sibling()), reading);
    const std::optional<int32_t> end =
        timelineFrame(frameAtEdge(item, "end", item.next_sibling()), reading);
    QString text;
    for (const Element& parameter :
         xml::allElementsByPath(item, QStringLiteral("effect/parameter"))) {
        const QString id = xml::contentStringValueByElementName(parameter, "parameterid");
        const QString value = xml::contentStringValueByElementName(parameter, "value");
        if (id == "str")
            text = value;
        else if (id == "fontsize" || id == "size")
            reading.fontSize = static_cast<int16_t>(intValue(value));
        else if (id == "fontalign" || id == "align")
            reading.textAlign = alignmentFrom(intValue(value));
    }
    // Final Cut Pro writes a break between rows as a carriage return; a line feed would
    // end the script line, so it counts as a row break too.
    text.replace(QStringLiteral("\r\n"), QString(kLineBreakMark));
    text.replace(u'\r', kLineBreakMark);
    text.replace(u'\n', kLineBreakMark);
    reading.scriptText += timeStringOfFrame(start, reading.mfTimebase) + text +
                          timeStringOfFrame(end, reading.mfTimebase) + u'\n';
}

QString filePathOfURL(const QString& url) {
    QString path = url;
    if (path.startsWith(QStringLiteral("file://localhost")))
        path = path.mid(kLocalFileURLPrefixLength);
    else if (path.startsWith(QStringLiteral("file://")))
        path = path.mid(7);
    return QUrl::fromPercentEncoding(path.toUtf8());
}

} // namespace

QYFCP7XMLParser& QYFCP7XMLParser::shareInstance() {
    static QYFCP7XMLParser instance;
    return instance;
}

std::optional<FCP7SequenceReading>
QYFCP7XMLParser::findSubtitleTemplateFromFCP7XML(const QString& xmlText) const {
    FCP7SequenceReading reading;
    reading.document = xml::parseDocument(xmlText);
    if (!reading.document)
        return std::nullopt;
    const Element root = reading.document->document_element();
    readSequence(root, reading);
    QYTimeUtility::sharedInstance().setFPS(reading.mfTimebase);

    const std::vector<Element> tracks =
        xml::allElementsByPath(root, QStringLiteral("sequence/media/video/track"));
    if (tracks.empty())
        return reading;
    for (const Element& item : xml::childElements(tracks.back(), "generatoritem")) {
        if (!reading.templateElement)
            reading.templateElement = xml::detachedCopy(item);
        readGeneratorItem(item, reading);
    }
    return reading;
}

double QYFCP7XMLParser::getRealFrameDuration(int32_t timebase, bool isNtsc) {
    return isNtsc && timebase == 30 ? 29.97 : timebase;
}

std::shared_ptr<FCPMediaFile> QYFCP7XMLParser::getMediaFileWithId(const QString& fileId) const {
    return mediaFiles_.value(fileId);
}

void QYFCP7XMLParser::setMediaFileWithId(const QString& fileId,
                                         std::shared_ptr<FCPMediaFile> file) {
    mediaFiles_.insert(fileId, std::move(file));
}

FCPMoviePtr QYFCP7XMLParser::loadLaneFromFCP7Document(const Element& root) {
    // File ids are only unique within one document.
    mediaFiles_.clear();
    isNtsc_ = textAt(root, "sequence/rate/ntsc").toLower() == "true";
    frameDuration_ = getRealFrameDuration(integerAt(root, "sequence/rate/timebase"), isNtsc_);

    auto movie = std::make_shared<FCPMovie>();
    const Element media = xml::singleElementByPath(root, QStringLiteral("sequence/media"));
    for (const Element& track : xml::allElementsByPath(media, QStringLiteral("video/track")))
        movie->videoTrackArray << trackOf(track, FCPTrackType::Video);
    for (const Element& element : xml::allElementsByPath(media, QStringLiteral("audio/track"))) {
        const FCPTrackPtr track = trackOf(element, FCPTrackType::Audio);
        if (track->isEnabled)
            movie->audioTrackArray << track;
    }
    movie->movieWidth = integerAt(media, "video/format/samplecharacteristics/width");
    movie->movieHeight = integerAt(media, "video/format/samplecharacteristics/height");
    lastMovie_ = movie;
    return movie;
}

FCPTrackPtr QYFCP7XMLParser::trackFromXMLString(const QString& trackXml, FCPTrackType type) {
    const xml::DocumentPtr document = xml::parseDocument(trackXml);
    if (!document || std::strcmp(document->document_element().name(), "track") != 0)
        return nullptr;
    return trackOf(document->document_element(), type);
}

FCPTrackPtr QYFCP7XMLParser::trackOf(const Element& element, FCPTrackType type) {
    auto track = std::make_shared<FCPTrack>();
    track->type = type;
    // Final Cut Pro writes its flags in capitals, other writers in lower case.
    track->isEnabled = xml::contentStringValueByElementName(element, "enabled")
                           .compare(QStringLiteral("false"), Qt::CaseInsensitive) != 0;
    for (const Element& item : xml::childElements(element, "clipitem"))
        track->clipItemArray << clipItemOf(item);
    track->xmlElementString = xml::elementString(element);
    return track;
}

FCPClipItem QYFCP7XMLParser::clipItemOf(const Element& element) {
    FCPClipItem item;
    item.itemId = xml::stringValueOfAttribute("id", element);
    item.name = xml::contentStringValueByElementName(element, "name");
    item.duration = integerAt(element, "duration");
    item.timebase = integerAt(element, "rate/timebase");
    item.inFrameInOriginalMedia = integerAt(element, "in");
    item.outFrameInOriginalMedia = integerAt(element, "out");
    item.timelineStartFrame = frameAtEdge(element, "start", element.previous_sibling());
    item.timelineEndFrame = frameAtEdge(element, "end", element.next_sibling());
    item.isImage = xml::contentStringValueByElementName(element, "stillframe").toLower() == "true";

    const Element file = element.child("file");
    const QString fileId = xml::stringValueOfAttribute("id", file);
    item.mediaFile = getMediaFileWithId(fileId);
    if (!item.mediaFile && file) {
        auto mediaFile = std::make_shared<FCPMediaFile>();
        mediaFile->fileId = fileId;
        mediaFile->path = filePathOfURL(xml::contentStringValueByElementName(file, "pathurl"));
        mediaFile->name = xml::contentStringValueByElementName(file, "name");
        mediaFile->timebase = integerAt(file, "rate/timebase");
        setMediaFileWithId(fileId, mediaFile);
        item.mediaFile = mediaFile;
    }
    return item;
}

} // namespace quillery
