#include "FCP7SubtitleTemplate.h"

#include "NumberText.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"

#include <pugixml.hpp>
#include <sstream>

namespace quillery {

namespace {

QString textOf(const pugi::xml_node& node) { return QString::fromUtf8(node.child_value()); }

QString textAt(const pugi::xml_node& root, const char* path) {
    return QString::fromUtf8(root.first_element_by_path(path).child_value());
}

// Drop-frame timecode skips frame numbers every minute except each tenth; the frame
// counts of the timeline are moved past the skipped numbers.
int32_t dropFrameAdjusted(int32_t frame, int32_t timebase) {
    if (timebase == 60)
        return frame + 4 * (frame / 4000);
    if (timebase == 30)
        return frame + 2 * (frame / 2000);
    return frame;
}

int alignmentFrom(int32_t value) {
    if (value == 1)
        return 0;
    if (value == 2)
        return 1;
    return 2;
}

QString serialised(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "\t", pugi::format_default | pugi::format_no_declaration);
    return QString::fromStdString(out.str());
}

QString timeStringOfFrame(int32_t frame, float timebase) {
    const auto& utility = QYTimeUtility::sharedInstance();
    return utility.timeStringFromCMTime(utility.getCMTimeWithTimeInteval(frame / timebase));
}

void readSequence(const pugi::xml_node& root, FCP7SubtitleTemplate& result) {
    const QString name = textAt(root, "sequence/name");
    const qsizetype cut = name.indexOf(QStringLiteral(" from Quillery"));
    result.seqName = cut < 0 ? name : name.left(cut);
    result.mbIsDropFrame = textAt(root, "sequence/timecode/displayformat") == "DF";
    const QString timebase = textAt(root, "sequence/rate/timebase");
    result.miTimebase = intValue(timebase);
    result.mfTimebase = timebase.toFloat();
    result.duration = MediaTime::make(intValue(textAt(root, "sequence/duration")),
                                      static_cast<int32_t>(result.mfTimebase));
}

void readGeneratorItem(const pugi::xml_node& item, FCP7SubtitleTemplate& result) {
    int32_t start = intValue(textOf(item.child("start")));
    int32_t end = intValue(textOf(item.child("end")));
    if (result.mbIsDropFrame) {
        start = dropFrameAdjusted(start, result.miTimebase);
        end = dropFrameAdjusted(end, result.miTimebase);
    }
    QString text;
    for (const pugi::xml_node& parameter : item.child("effect").children("parameter")) {
        const QString id = textOf(parameter.child("parameterid"));
        const QString value = textOf(parameter.child("value"));
        if (id == "str")
            text = value;
        else if (id == "fontsize" || id == "size")
            result.fontSize = static_cast<int16_t>(intValue(value));
        else if (id == "fontalign" || id == "align")
            result.textAlign = alignmentFrom(intValue(value));
    }
    // Final Cut Pro writes a break between rows as a carriage return; a line feed would
    // end the script line, so it counts as a row break too.
    text.replace(QStringLiteral("\r\n"), QString(kLineBreakMark));
    text.replace(u'\r', kLineBreakMark);
    text.replace(u'\n', kLineBreakMark);
    result.scriptText += timeStringOfFrame(start, result.mfTimebase) + text +
                         timeStringOfFrame(end, result.mfTimebase) + u'\n';
}

} // namespace

std::optional<FCP7SubtitleTemplate> readFCP7SubtitleTemplate(const QString& xmlText) {
    pugi::xml_document document;
    const QByteArray bytes = xmlText.toUtf8();
    // Line ends inside values are kept as written: a carriage return is a row break.
    const unsigned options = pugi::parse_default & ~pugi::parse_eol;
    if (!document.load_buffer(bytes.constData(), bytes.size(), options, pugi::encoding_utf8))
        return std::nullopt;
    const pugi::xml_node root = document.document_element();

    FCP7SubtitleTemplate result;
    readSequence(root, result);
    QYTimeUtility::sharedInstance().setFPS(result.mfTimebase);

    pugi::xml_node lastTrack;
    for (const pugi::xml_node& track : root.first_element_by_path("sequence/media/video").children("track"))
        lastTrack = track;
    for (const pugi::xml_node& item : lastTrack.children("generatoritem")) {
        if (result.templateElement.isEmpty())
            result.templateElement = serialised(item);
        readGeneratorItem(item, result);
    }
    return result;
}

} // namespace quillery
