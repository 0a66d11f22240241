#include "WebVTTFormat.h"

#include "NumberText.h"
#include "QYRegex.h"

#include <array>

namespace quillery {

namespace {

const QString kShortStartLongEnd =
    QStringLiteral("^-?\\d+:-?\\d+\\.-?\\d+\\s*-->\\s*-?\\d+:-?\\d+:-?\\d+\\.-?\\d+");
const QString kShortStartShortEnd =
    QStringLiteral("^-?\\d+:-?\\d+\\.-?\\d+\\s*-->\\s*-?\\d+:-?\\d+\\.-?\\d+");
const QString kLongStartLongEnd =
    QStringLiteral("^-?\\d+:-?\\d+:-?\\d+\\.-?\\d+\\s*-->\\s*-?\\d+:-?\\d+:-?\\d+\\.-?\\d+");

const QString kArrow = QStringLiteral("-->");

// The tags whose markup is dropped after a load, in the order they are removed, with the
// opening each needs before removeTag has anything to do.
struct RemovedTag {
    QString name;
    QString opening;
};
const std::array<RemovedTag, 5> kRemovedTags{
    {{"v", "<v "}, {"rt", "<rt "}, {"ruby", "<ruby "}, {"c", "<c "}, {"span", "<span "}}};

// The time part of a time line with hours added where they are missing, or an empty
// string when the line is not a time line. Whatever follows the times is left out.
QString timesOfTimeLine(const QString& line) {
    if (!line.contains(kArrow))
        return QString();
    QString times = line;
    if (QYRegex::isMatchedByRegex(times, kShortStartLongEnd))
        times.prepend("00:");
    if (QYRegex::isMatchedByRegex(times, kShortStartShortEnd)) {
        times.replace("--> ", "--> 00:");
        times.prepend("00:");
    }
    const TextRange match = QYRegex::rangeOfRegex(times, kLongStartLongEnd);
    return match.found() ? times.mid(match.location, match.length) : QString();
}

SubtitleLinePtr cueFromTimes(const QString& times) {
    const QStringList halves = times.split(kArrow);
    auto cue = SubtitleLine::create();
    cue->setStartTimeCode(TimeCode::timeCodeFromString(halves.first().trimmed()));
    cue->setEndTimeCode(TimeCode::timeCodeFromString(halves.last().trimmed()));
    return cue;
}

} // namespace

WebVTTFormat::WebVTTFormat() : SubtitleFormat("WebVTT", "vtt", true, false) {}

QString WebVTTFormat::removeTag(const QString& tag, const QString& text) {
    const qsizetype open = text.indexOf(u'<' + tag + u' ');
    if (open < 0)
        return text;
    const qsizetype close = text.indexOf(u'>', open);
    if (close < 0)
        return text;
    QString result = text;
    result.remove(open, close - open + 1);
    result.remove(QStringLiteral("</") + tag + u'>');
    return result;
}

void WebVTTFormat::loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString&) {
    setErrorCount(0);
    subtitle.subtitles.clear();
    SubtitleLinePtr cue;
    // The cue's rows are gathered apart and joined once, so a long cue reads in linear time.
    QStringList rows;
    const auto appendCue = [&] {
        if (!cue)
            return;
        cue->setText(rows.join(u'\n'));
        subtitle.subtitles.append(cue);
        rows.clear();
    };
    bool textClosed = true;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        const QString times = timesOfTimeLine(line);
        if (!times.isEmpty()) {
            appendCue();
            cue = cueFromTimes(times);
            textClosed = false;
        } else if (cue && !trimmed.isEmpty()) {
            if (!textClosed)
                rows.append(trimmed);
        } else if (line.isEmpty()) {
            textClosed = true;
        }
    }
    appendCue();
    subtitle.renumber(1);
}

QString WebVTTFormat::textHead(const QString&) const {
    return QStringLiteral("WEBVTT\n\n");
}

void WebVTTFormat::appendLineText(QString& text, const SubtitleLine& line) const {
    const TimeCode& start = line.startTimeCode();
    const TimeCode& end = line.endTimeCode();
    const bool withHours = start.hours() >= 1 || end.hours() >= 1;
    appendClockTime(text, start, withHours);
    text += " --> ";
    appendClockTime(text, end, withHours);
    text += u'\n' + formatText(line) + "\n\n";
}

QString WebVTTFormat::finishText(QString text) const {
    return std::move(text).trimmed();
}

void WebVTTFormat::removeNativeFormatting(Subtitle& subtitle, const SubtitleFormat*) const {
    for (const SubtitleLinePtr& line : subtitle.subtitles) {
        if (!line->text().contains(u'<'))
            continue;
        QString text = line->text();
        for (const RemovedTag& tag : kRemovedTags) {
            // Most texts hold a tag or two at most; the others are skipped cheaply.
            if (text.contains(tag.opening))
                text = removeTag(tag.name, text);
        }
        line->setText(text);
    }
}

} // namespace quillery
