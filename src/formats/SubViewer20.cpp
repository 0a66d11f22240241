#include "SubViewer20.h"

#include "QYRegex.h"
#include "ScriptMarks.h"

#include <utility>

namespace quillery {

namespace {

enum class Expecting { TimeLine, Text };

const QString kTimeLine = QStringLiteral("^\\d\\d:\\d\\d:\\d\\d.\\d+,\\d\\d:\\d\\d:\\d\\d.\\d+$");

using Replacements = QList<std::pair<QString, QString>>;

// File codes to the tags the script text uses, in the order they are applied.
const Replacements kReadReplacements{
    {"[br]", QString(kLineBreakMark)},
    {"{\\i1}", "<i>"},
    {"{\\i0}", "</i>"},
    {"{\\i}", "</i>"},
    {"{\\b1}", "<b>"},
    {"{\\b0}", "</b>"},
    {"{\\b}", "</b>"},
    {"{\\u1}", "<u>"},
    {"{\\u0}", "</u>"},
    {"{\\u}", "</u>"},
};

const Replacements kWriteReplacements{
    {"\n", "[br]"},    {QString(kLineBreakMark), "[br]"},
    {"<i>", "{\\i1}"}, {"</i>", "{\\i0}"},
    {"<b>", "{\\b1}"}, {"</b>", "{\\b0}"},
    {"<u>", "{\\u1}"}, {"</u>", "{\\u0}"},
};

QString replaced(QString text, const Replacements& replacements) {
    for (const auto& [from, to] : replacements)
        text.replace(from, to);
    return text;
}

bool isTimeLine(const QString& trimmed) {
    return QYRegex::isMatchedByRegex(trimmed, kTimeLine);
}

// Sets both times of a time line on the cue; false when the line does not split into
// eight fields or a time cannot be converted. The digits after the point are whole milliseconds:
// 01.5 is 1 s 5 ms.
bool readTimes(const QString& timeLine, SubtitleLine& cue) {
    return SubtitleFormat::setTimesFromClockFields(
        cue, QString(timeLine).replace(u',', u':').replace(u'.', u':').split(u':'));
}

QString header(const QString& title) {
    return "[INFORMATION]\n[TITLE]" + title +
           "\n[AUTHOR]\n[SOURCE]\n[PRG]\n[FILEPATH]\n[DELAY]0\n[CD TRACK]0\n[COMMENT]\n"
           "[END INFORMATION]\n[SUBTITLE]\n[COLF]&H000000,[STYLE]bd,[SIZE]25,[FONT]Arial\n";
}

} // namespace

SubViewer20::SubViewer20() : SubtitleFormat("SubViewer 2.0", "sub", true, false) {}

void SubViewer20::loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString&) {
    setErrorCount(0);
    subtitle.subtitles.clear();
    SubtitleLinePtr cue = SubtitleLine::create();
    Expecting expecting = Expecting::TimeLine;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (isTimeLine(trimmed)) {
            if (readTimes(trimmed, *cue))
                expecting = Expecting::Text;
        } else if (expecting == Expecting::Text && !trimmed.isEmpty()) {
            cue->setText(replaced(trimmed, kReadReplacements));
            subtitle.subtitles.append(cue);
            cue = SubtitleLine::create();
            expecting = Expecting::TimeLine;
        }
    }
    subtitle.renumber(1);
}

QString SubViewer20::textHead(const QString& title) const {
    return header(title);
}

void SubViewer20::appendLineText(QString& text, const SubtitleLine& line) const {
    appendClockTime(text, line.startTimeCode(), true);
    text += u',';
    appendClockTime(text, line.endTimeCode(), true);
    text += u'\n' + replaced(line.text(), kWriteReplacements) + "\n\n";
}

QString SubViewer20::finishText(QString text) const {
    return std::move(text).trimmed();
}

} // namespace quillery
