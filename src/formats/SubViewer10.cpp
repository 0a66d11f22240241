#include "SubViewer10.h"

#include "NumberText.h"
#include "QYRegex.h"
#include "ScriptMarks.h"

#include <optional>

namespace quillery {

namespace {

enum class Expecting { StartTime, Text, EndTime };

const QString kTimeLine = QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\]$");

// The time of a trimmed "[HH:MM:SS]" line, or nothing for any other line.
std::optional<TimeCode> timeOfLine(const QString& trimmed) {
    if (!trimmed.startsWith(u'[') || !trimmed.endsWith(u']') ||
        !QYRegex::isMatchedByRegex(trimmed, kTimeLine))
        return std::nullopt;
    const QStringList fields = trimmed.mid(1, trimmed.size() - 2).split(u':');
    if (fields.size() != 3)
        return std::nullopt;
    return TimeCode(intValue(fields[0]), intValue(fields[1]), intValue(fields[2]), 0);
}

// [HH:MM:SS], milliseconds dropped.
void appendTime(QString& out, const TimeCode& time) {
    out += u'[';
    appendPadded(out, time.hours(), 2);
    out += u':';
    appendPadded(out, time.minutes(), 2);
    out += u':';
    appendPadded(out, time.seconds(), 2);
    out += u']';
}

QString header(const QString& title) {
    return "[TITLE]\n" + title +
           "\n[AUTHOR]\n[SOURCE]\n[PRG]\n[FILEPATH]\n[DELAY]\n0\n[CD TRACK]\n0\n[BEGIN]\n"
           "******** START SCRIPT ********\n";
}

} // namespace

SubViewer10::SubViewer10() : SubtitleFormat("SubViewer 1.0", "sub", true, false) {}

void SubViewer10::loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString&) {
    setErrorCount(0);
    subtitle.subtitles.clear();
    SubtitleLinePtr cue;
    Expecting expecting = Expecting::StartTime;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (const std::optional<TimeCode> time = timeOfLine(trimmed)) {
            if (expecting == Expecting::StartTime) {
                cue = SubtitleLine::create();
                cue->setStartTimeCode(*time);
                expecting = Expecting::Text;
            } else if (expecting == Expecting::EndTime) {
                cue->setEndTimeCode(*time);
                subtitle.subtitles.append(cue);
                expecting = Expecting::StartTime;
            }
        } else if (expecting == Expecting::Text && !trimmed.isEmpty()) {
            cue->setText(QString(trimmed).replace(u'|', kLineBreakMark));
            expecting = Expecting::EndTime;
        }
    }
    subtitle.renumber(1);
}

QString SubViewer10::textHead(const QString& title) const {
    return header(title);
}

void SubViewer10::appendLineText(QString& text, const SubtitleLine& line) const {
    appendTime(text, line.startTimeCode());
    text += u'\n' + QString(line.text()).replace(u'\n', u'|').replace(kLineBreakMark, u'|') + u'\n';
    appendTime(text, line.endTimeCode());
    text += "\n\n";
}

QString SubViewer10::finishText(QString text) const {
    text += "[end]\n******** END SCRIPT ********\n";
    return text;
}

} // namespace quillery
