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

// An empty text with room for a file written from the script: reserved pages cost nothing
// until written, while growing a long text piece by piece copies it again and again.
QString reservedFor(const QString& script) {
    QString text;
    text.reserve(2 * script.size());
    return text;
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
    QList<SubtitleLinePtr> lines;
    forEachSubtitleLine([&lines](const SubtitleLinePtr& line) { lines.append(line); });
    return lines;
}

void QYExporter::forEachSubtitleLine(
    const std::function<void(const SubtitleLinePtr&)>& visit) const {
    const QString script = textView_.scriptText();
    // Blanks cannot be part of a time string, so the matches inside the trimmed text are
    // the whole script's matches that lie within it.
    const QStringView whole(script);
    const QStringView trimmed = trimmedOfBlanks(whole);
    const qsizetype begin = trimmed.data() - whole.data();
    const qsizetype end = begin + trimmed.size();
    TextRange previous;
    QYRegex::enumerateMatches(script, kTimeStringPattern, [&](TextRange current) {
        if (current.location < begin || current.end() > end)
            return;
        if (previous.found()) {
            const QStringView between =
                trimmedOfBlanks(whole.sliced(previous.end(), current.location - previous.end()));
            if (!between.isEmpty())
                visit(subtitleBetween(script.sliced(previous.location, previous.length),
                                      script.sliced(current.location, current.length),
                                      between.toString()));
        }
        previous = current;
    });
    if (!previous.found())
        return;
    const QStringView rest = restOfLine(whole.sliced(previous.end(), end - previous.end()));
    if (!rest.isEmpty()) {
        const double duration = textView_.movieDuration();
        QY_DBG("The time interval is : %f", duration);
        visit(subtitleToMovieEnd(script.sliced(previous.location, previous.length), duration,
                                 rest.toString()));
    }
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
    const double ticks = std::trunc(textView_.fcpxFrameDurationDenominator() * duration);
    // A duration no time can hold cannot be converted: -1, as for a malformed time string.
    // Within it, ticks at any 32-bit denominator stay inside 64 bits.
    const bool convertible =
        std::abs(duration) * 1000 <= static_cast<double>(kMaximumTimeMilliseconds);
    line->setEndTime(convertible ? duration : -1);
    line->endNumerator = convertible ? static_cast<int64_t>(ticks) : -1;
    line->startNumerator = textView_.numeratorFromQuilleryTimecode(startString);
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
    QString content = reservedFor(textView_.scriptText());
    qsizetype number = 0;
    forEachSubtitleLine([&](const SubtitleLinePtr& line) {
        if (!content.isEmpty())
            content += u'\n';
        content += QString::number(number++) + u'\n';
        content += srtTimeStringFromTimeInterval(line->startTime()) + QStringLiteral(" --> ") +
                   srtTimeStringFromTimeInterval(line->endTime()) + u'\n';
        content += withLineFeeds(line->text()) + u'\n';
    });
    return content;
}

// One comment line, then one line per subtitle with its line-break marks kept.
QString QYExporter::getSTLFileContent() const {
    QString content = reservedFor(textView_.scriptText());
    content += QStringLiteral("//This STL file is genetated by ") +
               SystemUtility::sharedInstance().getBundleName();
    forEachSubtitleLine([&content](const SubtitleLinePtr& line) {
        content += u'\n';
        content += stlTimeStringFromTimeInterval(line->startTime()) + QStringLiteral(", ") +
                   stlTimeStringFromTimeInterval(line->endTime()) + QStringLiteral(", ") +
                   line->text();
    });
    return content;
}

// Numbered from 0, no header and no line feed after the last subtitle.
QString QYExporter::getTextScriptFileContent() const {
    QString content = reservedFor(textView_.scriptText());
    qsizetype number = 0;
    forEachSubtitleLine([&](const SubtitleLinePtr& line) {
        if (!content.isEmpty())
            content += u'\n';
        content += QString::number(number++) + u' ' +
                   textScriptTimeStringFromTimeInterval(line->startTime()) + u' ' +
                   textScriptTimeStringFromTimeInterval(line->endTime()) + u' ' +
                   withLineFeeds(line->text());
    });
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
