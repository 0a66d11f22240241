// The Final Cut Pro 7 and Smoke writers of the exporter. The Final Cut Pro 7 writer
// rebuilds the subtitle track of the sequence that was read, one copy of its Text
// generator item per subtitle; the Smoke writer fills a fixed subtitle document.
#include "NumberText.h"
#include "QYExporter.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"
#include "SystemUtility.h"

#include <QFileInfo>
#include <cmath>
#include <cstring>

namespace quillery {

namespace {

using xml::Element;

// Every Smoke export starts from this document and copies the title below per subtitle;
// only a title's start, end, text and setup change, the look stays the template's.
const char* const kSmokeSkeleton =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE subtitle><subtitle version=\"1\">"
    "<name>SampleSubtitles</name><rate>24</rate><resolution><width>1920</width><height>1080"
    "</height><depth>8</depth><aspect>1.778</aspect><scanformat>default</scanformat>"
    "</resolution><timecode><start>00:00:00;00</start><end>00:00:00;00</end></timecode>"
    "<video></video></subtitle>";
const char* const kSmokeTitle =
    "<title><start>01:00:01;00</start><end>01:00:02;00</end><text>This is a subtitle string"
    "</text><font>Garamond</font><size>20</size><fontcolor><alpha>255</alpha><red>255</red>"
    "<green>255</green><blue>255</blue></fontcolor><vertical>0</vertical><horizontal>0"
    "</horizontal><setup>/usr/discreet/project/test/text/paz.ttg</setup></title>";

// Frame numbers a drop-frame timeline skips, taken out again: the inverse of the reader's
// adjustment.
int32_t dropFrameRemoved(int32_t frame, int32_t timebase) {
    if (timebase == 60)
        return frame - 4 * (frame / 4000);
    if (timebase == 30)
        return frame - 2 * (frame / 2000);
    return frame;
}

void setChildText(const Element& parent, const char* name, const QString& value) {
    xml::setStringValue(parent.child(name), value);
}

Element textParameterValue(const Element& item) {
    for (const Element& parameter :
         xml::allElementsByPath(item, QStringLiteral("effect/parameter"))) {
        if (xml::contentStringValueByElementName(parameter, "parameterid") == "str")
            return parameter.child("value");
    }
    return {};
}

// "%.2f" with zeros and then points trimmed from both ends: 25 gives "25", 29.97 "29.97".
QString timebaseText(double fps) {
    QString text = QString::number(fps, 'f', 2);
    const auto trim = [&text](QChar c) {
        while (text.startsWith(c))
            text.remove(0, 1);
        while (text.endsWith(c))
            text.chop(1);
    };
    trim(u'0');
    trim(u'.');
    return text;
}

QString bundleName() {
    return SystemUtility::sharedInstance().getBundleName();
}

} // namespace

void QYExporter::SetDropFrame(bool isDropFrame, int32_t timebase) {
    mbIsDropFrame = isDropFrame;
    miTimebase = timebase;
}

void QYExporter::generateSubtitleTrack(Element track, const Element& baseTemplate) const {
    const QList<SubtitleLinePtr> lines = generateSubtitleLines();
    const auto rate = static_cast<double>(std::lround(QYTimeUtility::sharedInstance().getFPS()));
    const QString templateId = xml::stringValueOfAttribute("id", baseTemplate);
    const int32_t templateIn = intValue(xml::contentStringValueByElementName(baseTemplate, "in"));
    // From the last subtitle to the first, each new item going to the front of the track.
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const SubtitleLine& line = *lines[i];
        const Element item = track.prepend_copy(baseTemplate);
        int32_t first = toInt32(std::round(line.startTime() * rate));
        int32_t last = toInt32(std::round(line.endTime() * rate));
        if (mbIsDropFrame) {
            first = dropFrameRemoved(first, miTimebase);
            last = dropFrameRemoved(last, miTimebase);
        }
        setChildText(item, "duration", QString::number(int64_t{miTimebase} * 600));
        setChildText(item, "start", QString::number(first));
        setChildText(item, "end", QString::number(last));
        setChildText(item, "out", QString::number(int64_t{last} - first + templateIn));
        if (i != 0)
            xml::setAttribute(item, "id", templateId + QString::number(i));
        // Taken as it is: the row-break mark becomes a carriage return once serialised.
        xml::setStringValue(textParameterValue(item), line.text());
    }
}

QString QYExporter::genNewFCP7XML(xml::Document& document, const QString& seqName,
                                  const Element& templateElement, QString* newName) const {
    const Element root = document.document_element();
    const QString name =
        seqName + QStringLiteral(" from %1 at %2")
                      .arg(bundleName(), clock_().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    xml::setStringValue(xml::singleElementByPath(root, QStringLiteral("sequence/name")), name);
    if (newName != nullptr)
        *newName = name;

    const std::vector<Element> tracks =
        xml::allElementsByPath(root, QStringLiteral("sequence/media/video/track"));
    if (!tracks.empty()) {
        Element track = tracks.back();
        const std::vector<Element> items = xml::childElements(track, "generatoritem");
        for (auto item = items.rbegin(); item != items.rend(); ++item)
            track.remove_child(*item);
        generateSubtitleTrack(track, templateElement);
    }

    const double fps = QYTimeUtility::sharedInstance().getFPS();
    if (fps != 0) {
        const QString timebase = timebaseText(fps);
        for (const Element& element : xml::allElementsForName(document, "timebase"))
            xml::setStringValue(element, timebase);
    }
    // Final Cut Pro breaks the rows of a text at carriage returns.
    return xml::prettyString(document).replace(kLineBreakMark, QStringLiteral("&#13;"));
}

QString QYExporter::smokeTimeStringFromTimeInterval(const QString& rate, double seconds) {
    const char* format = "%02d:%02d:%02d;%02d";
    if (rate == "23.976" || rate == "24")
        format = "%02d:%02d:%02d+%02d";
    else if (rate == "25" || rate == "29.97 NDF" || rate == "30")
        format = "%02d:%02d:%02d:%02d";
    else if (rate == "29.97 DF")
        format = "%02d;%02d;%02d;%02d";
    else if (rate == "59.94 DF")
        format = "%02d;%02d;%02d#%02d";
    else if (rate == "59.94 NDF" || rate == "60")
        format = "%02d:%02d:%02d#%02d";
    return framedTimeString(seconds, format);
}

QString QYExporter::smokeFrameRateText(double videoRate) {
    return QYTimeUtility::changeFloat(QString::number(videoRate, 'f', 3));
}

QString QYExporter::smokeRateName(double videoRate, bool dropFrame) {
    const QString rate = smokeFrameRateText(videoRate);
    if (rate == "29.97" || rate == "59.94")
        return rate + (dropFrame ? QStringLiteral(" DF") : QStringLiteral(" NDF"));
    return rate;
}

void QYExporter::generateSmokeXmlVideo(Element video, const QString& templateFile,
                                       const QString& rate) const {
    const xml::DocumentPtr title = xml::parseDocument(QString::fromLatin1(kSmokeTitle));
    for (const SubtitleLinePtr& line : generateSubtitleLines()) {
        const Element copy = video.append_copy(title->document_element());
        setChildText(copy, "start", smokeTimeStringFromTimeInterval(rate, line->startTime()));
        setChildText(copy, "end", smokeTimeStringFromTimeInterval(rate, line->endTime()));
        setChildText(copy, "text", line->text());
        setChildText(copy, "setup", templateFile);
    }
}

QString QYExporter::genSmokeXML(const SmokeExportSettings& settings) const {
    const xml::DocumentPtr document = xml::parseDocument(QString::fromLatin1(kSmokeSkeleton));
    const Element root = document->document_element();
    setChildText(root, "name",
                 QStringLiteral("%1 from %2")
                     .arg(QFileInfo(settings.movieFilePath).completeBaseName(), bundleName()));
    const QString rate = smokeRateName(settings.videoRate, settings.dropFrame);
    setChildText(root, "rate", rate);
    const Element resolution = root.child("resolution");
    setChildText(resolution, "width", QString::number(settings.videoWidth));
    setChildText(resolution, "height", QString::number(settings.videoHeight));
    const double aspect = settings.videoHeight == 0
                              ? 0.0
                              : double(settings.videoWidth) / double(settings.videoHeight);
    setChildText(resolution, "aspect", QString::number(aspect, 'f', 3));
    generateSmokeXmlVideo(root.child("video"), settings.templatePath, rate);

    // Without a movie there is no length: the end time code is zero.
    const MediaTime& duration = settings.videoDuration;
    const int64_t wholeSeconds = duration.timescale > 0 ? duration.value / duration.timescale : 0;
    const Element timecode = root.child("timecode");
    setChildText(timecode, "start", smokeTimeStringFromTimeInterval(rate, 0));
    setChildText(timecode, "end",
                 smokeTimeStringFromTimeInterval(rate, static_cast<double>(wholeSeconds)));
    return xml::prettyString(*document).replace(kLineBreakMark, u'\n');
}

} // namespace quillery
