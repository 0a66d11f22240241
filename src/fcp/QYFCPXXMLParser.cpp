#include "QYFCPXXMLParser.h"

#include "NumberText.h"
#include "QYLog.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"

#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <map>

namespace quillery {

namespace {

using xml::Element;

// A storyline with this many titles or more holds the project's subtitles.
constexpr size_t kStorylineTitleThreshold = 10;
// A storyline title with this many text children or more is not a subtitle template.
constexpr size_t kTemplateTextLimit = 3;
// Between these counts of titles attached to clips, only the first is read.
constexpr size_t kFewAttachedTitlesLow = 6;
constexpr size_t kFewAttachedTitlesHigh = 9;
// Clips nested deeper than this are left out of the model: no real project comes near,
// and a hostile one must not exhaust the stack.
constexpr int kMaximumClipDepth = 64;

QString attribute(const Element& element, const char* name) {
    return xml::stringValueOfAttribute(name, element);
}

MediaTime mediaTimeAttribute(const Element& element, const char* name) {
    return QYTimeUtility::getCMTimeWithDurationString(attribute(element, name));
}

double secondsAttribute(const Element& element, const char* name) {
    return fcpxFloatSeconds(attribute(element, name));
}

bool isNamed(const Element& element, const char* name) {
    return std::strcmp(element.name(), name) == 0;
}

QString timeStringOfSeconds(double seconds) {
    const QYTimeUtility& utility = QYTimeUtility::sharedInstance();
    return utility.timeStringFromCMTime(utility.getCMTimeWithTimeInteval(seconds));
}

// A line break inside a title would end the script line: it becomes the row-break mark.
QString withRowBreakMarks(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(kLineBreakMark));
    text.replace(u'\r', kLineBreakMark);
    text.replace(u'\n', kLineBreakMark);
    return text;
}

// One script line for a title starting at `start` seconds of the timeline. Two texts are
// the two rows of one subtitle; further texts are ignored.
QString scriptLineOfTitle(const Element& title, double start, double tcStart) {
    const double end = start + secondsAttribute(title, "duration") - tcStart;
    QStringList texts;
    for (const Element& text : xml::childElements(title, "text"))
        texts << withRowBreakMarks(xml::stringValue(text));
    QString body = texts.value(0);
    if (texts.size() == 2)
        body += kLineBreakMark + texts[1];
    return timeStringOfSeconds(start - tcStart) + body + timeStringOfSeconds(end) + u'\n';
}

int32_t highestLane(const xml::Document& document) {
    int32_t highest = 1;
    for (const Element& element : xml::allElements(document)) {
        const pugi::xml_attribute lane = element.attribute("lane");
        if (lane)
            highest = std::max(highest, intValue(QString::fromUtf8(lane.value())));
    }
    return highest;
}

// The titles of the storylines that hold subtitles, at their place in the timeline.
void readStorylines(const Element& mainSpine, double tcStart, FCPXProjectReading& reading) {
    for (const Element& child : xml::childElements(mainSpine)) {
        const double start = secondsAttribute(child, "start");
        const double offset = secondsAttribute(child, "offset");
        for (const Element& spine : xml::childElements(child, "spine")) {
            const std::vector<Element> titles = xml::childElements(spine, "title");
            reading.fcpxChangeFontTitleArray.insert(reading.fcpxChangeFontTitleArray.end(),
                                                    titles.begin(), titles.end());
            if (!QYFCPXXMLParser::isSubtitleStoryline(spine))
                continue;
            // The storyline's offset is in its parent clip's own time.
            const double base = secondsAttribute(spine, "offset") - start + offset;
            for (const Element& title : titles) {
                if (!reading.titleElement &&
                    xml::childElements(title, "text").size() < kTemplateTextLimit)
                    reading.titleElement = xml::detachedCopy(title);
                const double titleStart = base + secondsAttribute(title, "offset");
                reading.scriptText += scriptLineOfTitle(title, titleStart, tcStart);
            }
        }
    }
}

// Titles connected straight to the clips of the main storyline.
void readAttachedTitles(const Element& mainSpine, double tcStart, FCPXProjectReading& reading) {
    const bool onlyFirst = QYFCPXXMLParser::readsOnlyFirstAttachedTitle(
        QYFCPXXMLParser::titlesAttachedToClips(mainSpine));
    for (const Element& child : xml::childElements(mainSpine)) {
        const std::vector<Element> titles = xml::childElements(child, "title");
        if (titles.empty())
            continue;
        const double start = secondsAttribute(child, "start");
        const double offset = secondsAttribute(child, "offset");
        reading.fcpxChangeFontTitleArray.insert(reading.fcpxChangeFontTitleArray.end(),
                                                titles.begin(), titles.end());
        for (const Element& title : titles) {
            if (!reading.titleElement)
                reading.titleElement = xml::detachedCopy(title);
            const double titleStart = secondsAttribute(title, "offset") - start + offset;
            reading.scriptText += scriptLineOfTitle(title, titleStart, tcStart);
            if (onlyFirst)
                return;
        }
    }
}

Element formatOfSequence(const Element& resources, const QString& formatId) {
    for (const Element& child : xml::childElements(resources)) {
        if (attribute(child, "id") == formatId)
            return child;
    }
    return {};
}

// "N/Ds" into N and D; false unless the text holds exactly one "/".
bool readFrameDuration(const QString& text, FCPXProjectReading& reading) {
    const QStringList parts = text.left(std::max<qsizetype>(text.size() - 1, 0)).split(u'/');
    if (parts.size() != 2)
        return false;
    reading.frameDurationNumerator = intValue(parts[0]);
    reading.frameDurationDenominator = intValue(parts[1]);
    return true;
}

QString filePathOfSource(const QString& source) {
    QString path = QUrl::fromPercentEncoding(source.toUtf8());
    return path.replace(QStringLiteral("file:///"), QStringLiteral("/"));
}

FCPXAudio audioOf(const Element& element, const FCPXReferenceDictionary& references) {
    FCPXAudio audio;
    audio.name = attribute(element, "name");
    audio.duration = mediaTimeAttribute(element, "duration");
    audio.offset = mediaTimeAttribute(element, "offset");
    audio.lane = attribute(element, "lane");
    audio.srcChannel = attribute(element, "srcCh");
    audio.role = attribute(element, "dialogue");
    audio.referenceAsset = references.assets.value(attribute(element, "ref"));
    return audio;
}

QList<FCPXAudio> audiosOf(const Element& element, const FCPXReferenceDictionary& references) {
    QList<FCPXAudio> audios;
    for (const Element& audio : xml::childElements(element, "audio"))
        audios << audioOf(audio, references);
    return audios;
}

void readLaneItem(const Element& element, FCPXLaneItem& item) {
    item.name = attribute(element, "name");
    item.duration = mediaTimeAttribute(element, "duration");
    item.start = mediaTimeAttribute(element, "start");
    item.offset = mediaTimeAttribute(element, "offset");
    item.laneNumber = intValue(attribute(element, "lane"));
}

std::shared_ptr<FCPXClip> clipOf(const Element& element, const FCPXReferenceDictionary& references,
                                 int depth) {
    auto clip = std::make_shared<FCPXClip>();
    readLaneItem(element, *clip);
    clip->tcFormat = attribute(element, "tcFormat");
    if (const Element volume = element.child("adjust-volume"))
        clip->adjustVolumn = intValue(attribute(volume, "amount").remove(QStringLiteral("dB")));
    if (const Element rate = element.child("conform-rate"))
        clip->conformRate = FCPXConformRate{intValue(attribute(rate, "scaleEnabled")) != 0,
                                            intValue(attribute(rate, "srcFrameRate"))};
    clip->referenceFormat = references.formats.value(attribute(element, "format"));
    clip->isEnabled = attribute(element, "enabled") != "0";
    if (const Element video = element.child("video")) {
        FCPXVideo model;
        model.name = attribute(video, "name");
        model.duration = mediaTimeAttribute(video, "duration");
        model.start = mediaTimeAttribute(video, "start");
        model.offset = mediaTimeAttribute(video, "offset");
        model.referenceAsset = references.assets.value(attribute(video, "ref"));
        model.audioArray = audiosOf(video, references);
        clip->video = model;
    }
    clip->audioArray = audiosOf(element, references);
    if (depth < kMaximumClipDepth) {
        for (const Element& subClip : xml::childElements(element, "clip"))
            clip->subClipArray << clipOf(subClip, references, depth + 1);
    }
    return clip;
}

} // namespace

double fcpxFloatSeconds(const QString& rationalTime) {
    if (rationalTime.isNull())
        return 0.0;
    const QStringList parts = rationalTime.left(rationalTime.size() - 1).split(u'/');
    // Single precision on purpose: this is the reading every title time goes through.
    const float value = floatValue(parts[0]);
    if (parts.size() == 1)
        return value;
    const float divisor = floatValue(parts[1]);
    return divisor == 0.0f ? 0.0 : double(value / divisor);
}

QYFCPXXMLParser& QYFCPXXMLParser::shareInstance() {
    static QYFCPXXMLParser instance;
    return instance;
}

bool QYFCPXXMLParser::isVersionGreaterOrEqualThanOnePointFour(const QString& version) {
    const QStringList parts = version.split(u'.');
    const int32_t major = intValue(parts.value(0));
    const int32_t minor = intValue(parts.value(1));
    return major > 1 || (major == 1 && minor >= 4);
}

QString QYFCPXXMLParser::sequencePath(const QString& version) {
    return isVersionGreaterOrEqualThanOnePointFour(version)
               ? QStringLiteral("library/event/project/sequence")
               : QStringLiteral("project/sequence");
}

QString QYFCPXXMLParser::resourcePath(const QString& version) {
    return isVersionGreaterOrEqualThanOnePointFour(version) ? QStringLiteral("resources")
                                                            : QStringLiteral("project/resources");
}

QString QYFCPXXMLParser::spinePath(const QString& version) {
    return sequencePath(version) + QStringLiteral("/spine");
}

bool QYFCPXXMLParser::isSubtitleStoryline(const Element& spine) {
    return xml::childElements(spine, "title").size() >= kStorylineTitleThreshold;
}

bool QYFCPXXMLParser::hasSubtitleStoryline(const Element& mainSpine) {
    for (const Element& child : xml::childElements(mainSpine)) {
        for (const Element& spine : xml::childElements(child, "spine")) {
            if (isSubtitleStoryline(spine))
                return true;
        }
    }
    return false;
}

size_t QYFCPXXMLParser::titlesAttachedToClips(const Element& mainSpine) {
    size_t count = 0;
    for (const Element& clip : xml::childElements(mainSpine, "clip"))
        count += xml::childElements(clip, "title").size();
    return count;
}

bool QYFCPXXMLParser::readsOnlyFirstAttachedTitle(size_t attachedTitles) {
    return attachedTitles >= kFewAttachedTitlesLow && attachedTitles <= kFewAttachedTitlesHigh;
}

FCPXProjectReading QYFCPXXMLParser::findSubtitleTemplateFromFCPXXML(const QString& xmlText) const {
    FCPXProjectReading reading;
    reading.document = xml::parseDocument(xmlText);
    if (!reading.document) {
        reading.document = std::make_shared<xml::Document>();
        return reading;
    }
    const Element root = reading.document->document_element();
    const QString version = attribute(root, "version");
    const Element sequence = xml::singleElementByPath(root, sequencePath(version));
    const double tcStart = secondsAttribute(sequence, "tcStart");
    if (!sequence)
        return reading;

    reading.seqFormat = attribute(sequence, "format");
    const Element format =
        formatOfSequence(xml::singleElementByPath(root, resourcePath(version)), reading.seqFormat);
    if (!format)
        return reading;
    if (!readFrameDuration(attribute(format, "frameDuration"), reading)) {
        reading.status = FCPXProjectReading::Status::FrameDurationError;
        return reading;
    }
    // A zero or negative part is no rate at all: as wrong as a missing format.
    if (reading.frameDurationNumerator <= 0 || reading.frameDurationDenominator <= 0)
        return reading;
    QYTimeUtility::sharedInstance().setFPS(reading.frameRate());

    const int32_t lane = highestLane(*reading.document);
    const Element mainSpine = sequence.child("spine");
    if (QYFCPXXMLParser::hasSubtitleStoryline(mainSpine))
        readStorylines(mainSpine, tcStart, reading);
    else
        readAttachedTitles(mainSpine, tcStart, reading);

    if (!reading.titleElement) {
        reading.status = FCPXProjectReading::Status::NoTemplate;
        return reading;
    }
    // Above every lane in use, so generated subtitles never cover the project's own clips.
    xml::setAttribute(reading.title(), "lane", QString::number(lane + 1));
    reading.status = FCPXProjectReading::Status::Ok;
    return reading;
}

FCPXReferenceDictionary
QYFCPXXMLParser::loadAssetDictionaryFromFCPXDocument(const xml::Document& document) const {
    FCPXReferenceDictionary references;
    const Element root = document.document_element();
    const Element resources =
        xml::singleElementByPath(root, resourcePath(attribute(root, "version")));
    for (const Element& child : xml::childElements(resources)) {
        const QString id = attribute(child, "id");
        if (isNamed(child, "format")) {
            auto format = std::make_shared<FCPXFormat>();
            format->refId = id;
            format->name = attribute(child, "name");
            format->frameDuration = mediaTimeAttribute(child, "frameDuration");
            format->width = intValue(attribute(child, "width"));
            format->height = intValue(attribute(child, "height"));
            references.formats.insert(id, format);
        } else if (isNamed(child, "asset")) {
            auto asset = std::make_shared<FCPXAsset>();
            asset->refId = id;
            asset->name = attribute(child, "name");
            // Newer versions keep the file in a "media-rep" child instead of "src".
            QString source = attribute(child, "src");
            if (source.isNull())
                source = attribute(child.child("media-rep"), "src");
            asset->src = filePathOfSource(source);
            asset->start = mediaTimeAttribute(child, "start");
            asset->referenceFormat = references.formats.value(attribute(child, "format"));
            references.assets.insert(id, asset);
        } else if (isNamed(child, "effect")) {
            auto effect = std::make_shared<FCPXEffect>();
            effect->refId = id;
            effect->name = attribute(child, "name");
            effect->uid = attribute(child, "uid");
            references.effects.insert(id, effect);
        }
    }
    return references;
}

QList<FCPXLane>
QYFCPXXMLParser::loadLaneFromFCPXDocument(const xml::Document& document,
                                          const FCPXReferenceDictionary& references) {
    std::map<int32_t, FCPXLane> lanes;
    const auto addToLane = [&lanes](const std::shared_ptr<FCPXLaneItem>& item) {
        FCPXLane& lane = lanes[item->laneNumber];
        lane.laneNumber = item->laneNumber;
        lane.laneItemArray << item;
    };
    const Element root = document.document_element();
    const Element mainSpine = xml::singleElementByPath(root, spinePath(attribute(root, "version")));
    for (const Element& element : xml::childElements(mainSpine)) {
        QY_DBG("The xml name is : %s", element.name());
        if (isNamed(element, "transition"))
            continue;
        if (isNamed(element, "clip")) {
            const std::shared_ptr<FCPXClip> clip = clipOf(element, references, 0);
            // A sub-clip's offset counts in its clip's own time; move it to the timeline's.
            for (const std::shared_ptr<FCPXClip>& subClip : clip->subClipArray) {
                subClip->offset = subtract(add(subClip->offset, clip->offset), clip->start);
                if (subClip->isEnabled)
                    addToLane(subClip);
            }
            if (clip->isEnabled)
                addToLane(clip);
            continue;
        }
        auto gap = std::make_shared<FCPXGap>();
        readLaneItem(element, *gap);
        addToLane(gap);
    }
    laneArray_.clear();
    for (auto lane = lanes.rbegin(); lane != lanes.rend(); ++lane)
        laneArray_ << lane->second;
    return laneArray_;
}

} // namespace quillery
