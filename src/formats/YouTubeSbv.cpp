#include "YouTubeSbv.h"

#include "NumberText.h"
#include "QYRegex.h"
#include "ScriptMarks.h"

namespace quillery {

namespace {

const QString kTimeLine =
    QStringLiteral("^-?\\d+:-?\\d+:-?\\d+[:,.]-?\\d+,\\d+:-?\\d+:-?\\d+[:,.]-?\\d+$");

bool isTimeLine(const QString& text) {
    return QYRegex::isMatchedByRegex(text, kTimeLine);
}

// Blank lines inside a cue leave doubled line feeds behind; one pass halves them before
// the rows are joined with the script's line-break mark.
void joinRows(const Subtitle& subtitle) {
    for (const SubtitleLinePtr& line : subtitle.subtitles)
        line->setText(QString(line->text()).replace("\n\n", "\n").replace(u'\n', kLineBreakMark));
}

} // namespace

YouTubeSbv::YouTubeSbv() : SubtitleFormat("YouTube sbv", "sbv", true, false) {}

void YouTubeSbv::loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString&) {
    setErrorCount(0);
    subtitle.subtitles.clear();
    _l = SubtitleLine::create();
    _expecting = ExpectingTimeLine;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool isLastLine = i == lines.size() - 1;
        if (endsCueWithoutBlankLine(lines[i], isLastLine))
            appendCurrentLine(subtitle);
        readLine(subtitle, lines[i], isLastLine ? QString() : lines[i + 1]);
    }
    if (!_l->text().isEmpty())
        subtitle.subtitles.append(_l);
    joinRows(subtitle);
    subtitle.renumber(1);
}

// A time line straight after text, with no blank line between, starts the next cue.
bool YouTubeSbv::endsCueWithoutBlankLine(const QString& line, bool isLastLine) const {
    return _expecting == ExpectingText && !isLastLine && !_l->text().isEmpty() &&
           isTimeLine(line.trimmed());
}

void YouTubeSbv::appendCurrentLine(Subtitle& subtitle) {
    subtitle.subtitles.append(_l);
    _l = SubtitleLine::create();
    _expecting = ExpectingTimeLine;
}

void YouTubeSbv::readLine(Subtitle& subtitle, const QString& line, const QString& next) {
    if (_expecting == ExpectingTimeLine) {
        if (tryReadTimeCodesLine(line, *_l)) {
            _l->setText(QString());
            _expecting = ExpectingText;
        } else if (!line.isEmpty()) {
            setErrorCount(errorCount() + 1);
        }
    } else if (!line.isEmpty()) {
        QString text = _l->text();
        if (!text.isEmpty())
            text += u'\n';
        _l->setText(text + removeBadChars(line).trimmed());
    } else if (!isText(next)) {
        appendCurrentLine(subtitle);
    }
}

bool YouTubeSbv::tryReadTimeCodesLine(const QString& line, SubtitleLine& subtitleLine) const {
    QString times =
        QString(line).replace(u'.', u':').replace(QChar(0x060C), u',').replace(QChar(0x00A1), u':');
    if (!isTimeLine(times))
        return false;
    const QStringList f = times.replace(u',', u':').remove(u' ').split(u':');
    if (f.size() != 8)
        return false;
    subtitleLine.setStartTimeCode(
        TimeCode(intValue(f[0]), intValue(f[1]), intValue(f[2]), intValue(f[3])));
    subtitleLine.setEndTimeCode(
        TimeCode(intValue(f[4]), intValue(f[5]), intValue(f[6]), intValue(f[7])));
    return true;
}

bool YouTubeSbv::isText(const QString& text) const {
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && !isTimeLine(trimmed) &&
           !QYRegex::isMatchedByRegex(trimmed, QStringLiteral("^\\d+$"));
}

QString YouTubeSbv::formatTime(const TimeCode& time) const {
    QString text = QString::number(time.hours()) + u':';
    appendPadded(text, time.minutes(), 2);
    text += u':';
    appendPadded(text, time.seconds(), 2);
    text += u'.';
    appendPadded(text, time.milliseconds(), 3);
    return text;
}

QString YouTubeSbv::toText(const Subtitle& subtitle, const QString&) const {
    QString text;
    for (const SubtitleLinePtr& line : subtitle.subtitles) {
        text += formatTime(line->startTimeCode()) + u',' + formatTime(line->endTimeCode()) +
                "\r\n" + QString(line->text()).replace(kLineBreakMark, "\r\n") + "\r\n\r\n";
    }
    return text.trimmed();
}

} // namespace quillery
