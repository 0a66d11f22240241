#include "QYExporter.h"

#include "FileWriting.h"
#include "ITTime.h"
#include "NumberText.h"
#include "QYLog.h"
#include "QYRegex.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"
#include "SystemUtility.h"

#include <QDebug>
#include <cmath>

namespace quillery {

namespace {

const QString kTimeStringPattern = QStringLiteral(R"(\[[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{2,3}\])");

// Only these four count as blank around a subtitle; other white space is text.
bool isBlank(QChar c) {
    return c == u'\r' || c == u'\n' || c == u'\t' || c == u' ';
}

QStringView trimmedOfBlanks(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

QStringView restOfLine(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return text.first(end);
}

QString withLineFeeds(const QString& text) {
    QString result = text;
    return result.replace(kLineBreakMark, u'\n');
}

// Frames within the second, rounded half away from zero and never carried into the
// seconds: 990 ms at 25 fps is frame 25.
int32_t framesOfMilliseconds(int32_t milliseconds) {
    const double fps = QYTimeUtility::sharedInstance().getFPS();
    return toInt32(std::round(fps * milliseconds / 1000));
}

} // namespace

QString QYExporter::framedTimeString(double seconds, const char* format) {
    const ITTime split(seconds);
    return QString::asprintf(format, split.getHours(), split.getMinutes(), split.getSeconds(),
                             framesOfMilliseconds(split.getMilliSeconds()));
}

QYExporter::QYExporter(const QYExportSource& textView, Clock clock)
    : textView_(textView), clock_(std::move(clock)) {}

QList<SubtitleLinePtr> QYExporter::generateSubtitleLines() const {
    const QString script = textView_.scriptText();
    const QString text = trimmedOfBlanks(script).toString();
    const QList<RegexMatch> matches = QYRegex::allMatches(text, kTimeStringPattern);

    QList<SubtitleLinePtr> lines;
    for (qsizetype i = 1; i < matches.size(); ++i) {
        const RegexMatch& previous = matches[i - 1];
        const RegexMatch& current = matches[i];
        const qsizetype gapStart = previous.range.end();
        const QStringView between =
            trimmedOfBlanks(QStringView(text).sliced(gapStart, current.range.location - gapStart));
        if (!between.isEmpty())
            lines.append(subtitleBetween(previous.text, current.text, between.toString()));
    }

    if (!matches.isEmpty()) {
        const RegexMatch& last = matches.last();
        const QStringView rest = restOfLine(QStringView(text).sliced(last.range.end()));
        if (!rest.isEmpty()) {
            const double duration = textView_.movieDuration();
            QY_DBG("The time interval is : %f", duration);
            lines.append(subtitleToMovieEnd(last.text, duration, rest.toString()));
        }
    }
    return lines;
}

SubtitleLinePtr QYExporter::subtitleBetween(const QString& startString, const QString& endString,
                                            const QString& text) const {
    const QYTimeUtility& timeUtility = QYTimeUtility::sharedInstance();
    SubtitleLinePtr line = SubtitleLine::create();
    line->setStartTime(timeUtility.timeIntervalFromString(startString));
    line->setEndTime(timeUtility.timeIntervalFromString(endString));
    line->startNumerator = textView_.numeratorFromQuilleryTimecode(startString);
    line->endNumerator = textView_.numeratorFromQuilleryTimecode(endString);
    line->setText(text);
    return line;
}

// A subtitle opened by the last time string and never closed runs to the movie's end.
SubtitleLinePtr QYExporter::subtitleToMovieEnd(const QString& startString, double duration,
                                               const QString& text) const {
    SubtitleLinePtr line = SubtitleLine::create();
    line->setStartTime(
        QYTimeUtility::sharedInstance().timeIntervalFromStringWithFloor(startString));
    line->setEndTime(duration);
    line->startNumerator = textView_.numeratorFromQuilleryTimecode(startString);
    line->endNumerator =
        static_cast<int64_t>(std::trunc(textView_.fcpxFrameDurationDenominator() * duration));
    line->setText(text);
    return line;
}

QString QYExporter::srtTimeStringFromTimeInterval(double seconds) {
    const ITTime split(seconds);
    return QString::asprintf("%.2d:%.2d:%.2d,%.3d", split.getHours(), split.getMinutes(),
                             split.getSeconds(), split.getMilliSeconds());
}

QString QYExporter::stlTimeStringFromTimeInterval(double seconds) {
    return framedTimeString(seconds, "%02d:%02d:%02d:%02d");
}

QString QYExporter::textScriptTimeStringFromTimeInterval(double seconds) {
    return framedTimeString(seconds, "%02d;%02d;%02d;%02d");
}

// Numbered from 0; blocks are separated by one empty line and the text ends with "\n".
QString QYExporter::getSRTFileContent() const {
    QString content;
    const QList<SubtitleLinePtr> lines = generateSubtitleLines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SubtitleLine& line = *lines[i];
        if (!content.isEmpty())
            content += u'\n';
        content += QString::number(i) + u'\n';
        content += srtTimeStringFromTimeInterval(line.startTime()) + QStringLiteral(" --> ") +
                   srtTimeStringFromTimeInterval(line.endTime()) + u'\n';
        content += withLineFeeds(line.text()) + u'\n';
    }
    return content;
}

// One comment line, then one line per subtitle with its line-break marks kept.
QString QYExporter::getSTLFileContent() const {
    QString content = QStringLiteral("//This STL file is genetated by ") +
                      SystemUtility::sharedInstance().getBundleName();
    for (const SubtitleLinePtr& line : generateSubtitleLines()) {
        content += u'\n';
        content += stlTimeStringFromTimeInterval(line->startTime()) + QStringLiteral(", ") +
                   stlTimeStringFromTimeInterval(line->endTime()) + QStringLiteral(", ") +
                   line->text();
    }
    return content;
}

// Numbered from 0, no header and no line feed after the last subtitle.
QString QYExporter::getTextScriptFileContent() const {
    QString content;
    const QList<SubtitleLinePtr> lines = generateSubtitleLines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SubtitleLine& line = *lines[i];
        if (!content.isEmpty())
            content += u'\n';
        content += QString::number(i) + u' ' +
                   textScriptTimeStringFromTimeInterval(line.startTime()) + u' ' +
                   textScriptTimeStringFromTimeInterval(line.endTime()) + u' ' +
                   withLineFeeds(line.text());
    }
    return content;
}

bool QYExporter::saveSrtFile(const QString& path) const {
    return writeUtf8File(path, getSRTFileContent(), WriteMode::Plain);
}

bool QYExporter::saveStlFile(const QString& path) const {
    return writeUtf8File(path, getSTLFileContent(), WriteMode::Plain);
}

bool QYExporter::saveTextScriptFile(const QString& path) const {
    return writeUtf8File(path, getTextScriptFileContent(), WriteMode::Plain);
}

QString pathWithExtension(const QString& path, const QString& extension) {
    const QString suffix = u'.' + extension;
    return path.endsWith(suffix) ? path : path + suffix;
}

} // namespace quillery
