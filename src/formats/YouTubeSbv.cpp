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
    _text.clear();
    _expecting = ExpectingTimeLine;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool isLastLine = i == lines.size() - 1;
        if (endsCueWithoutBlankLine(lines[i], isLastLine))
            appendCurrentLine(subtitle);
        readLine(subtitle, lines[i], isLastLine ? QString() : lines[i + 1]);
    }
    if (!_text.isEmpty())
        appendCurrentLine(subtitle);
    joinRows(subtitle);
    subtitle.renumber(1);
}

// A time line straight after text, with no blank line between, starts the next cue.
bool YouTubeSbv::endsCueWithoutBlankLine(const QString& line, bool isLastLine) const {
    return _expecting == ExpectingText && !isLastLine && !_text.isEmpty() &&
           isTimeLine(line.trimmed());
}

void YouTubeSbv::appendCurrentLine(Subtitle& subtitle) {
    _l->setText(_text);
    subtitle.subtitles.append(_l);
    _l = SubtitleLine::create();
    _text.clear();
    _expecting = ExpectingTimeLine;
}

void YouTubeSbv::readLine(Subtitle& subtitle, const QString& line, const QString& next) {
    if (_expecting == ExpectingTimeLine) {
        if (tryReadTimeCodesLine(line, *_l)) {
            _text.clear();
            _expecting = ExpectingText;
        } else if (!line.isEmpty()) {
            setErrorCount(errorCount() + 1);
        }
    } else if (!line.isEmpty()) {
        if (!_text.isEmpty())
            _text += u'\n';
        _text += removeBadChars(line).trimmed();
    } else if (!isText(next)) {
        appendCurrentLine(subtitle);
    }
}

bool YouTubeSbv::tryReadTimeCodesLine(const QString& line, SubtitleLine& subtitleLine) const {
    QString times =
        QString(line).replace(u'.', u':').replace(QChar(0x060C), u',').replace(QChar(0x00A1), u':');
    if (!isTimeLine(times))
        return false;
    return setTimesFromClockFields(subtitleLine,
                                   times.replace(u',', u':').remove(u' ').split(u':'));
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

void YouTubeSbv::appendLineText(QString& text, const SubtitleLine& line) const {
    text += formatTime(line.startTimeCode()) + u',' + formatTime(line.endTimeCode()) + "\r\n" +
            QString(line.text()).replace(kLineBreakMark, "\r\n") + "\r\n\r\n";
}

QString YouTubeSbv::finishText(QString text) const {
    return std::move(text).trimmed();
}

} // namespace quillery
