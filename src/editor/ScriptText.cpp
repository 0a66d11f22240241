#include "ScriptText.h"

#include "NumberText.h"
#include "QYRegex.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"

#include <limits>

namespace quillery {

namespace {

// The count of dropped frames per minute that NTSC timecode skips at this frame duration.
int32_t droppedFramesPerMinute(FrameDuration d) {
    if (d.numerator == 1001 && d.denominator == 30000)
        return 2;
    if (d.numerator == 1001 && d.denominator == 60000)
        return 4;
    if (d.numerator == 2002 && d.denominator == 60000)
        return 2;
    return 0;
}

// Wide enough that no product of 32-bit fields and frame durations can overflow.
using WideTicks = __int128;

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

} // namespace

int32_t numeratorFromQuilleryTimecode(const QString& timeString, FrameDuration d) {
    return numeratorFromTimeStringFields(QYTimeUtility::timeStringFields(timeString), d);
}

int32_t numeratorFromTimeStringFields(const TimeStringFields& f, FrameDuration d) {
    if (!f.valid)
        return -1;
    const WideTicks s = WideTicks{f.hours} * 3600 + WideTicks{f.minutes} * 60 + f.seconds;
    // The NTSC second is 1.001 real seconds, scaled in single precision.
    const bool ntsc = d.numerator == 1001 || d.numerator == 2002;
    const WideTicks second =
        ntsc ? toInt32(static_cast<float>(d.denominator) * 1.001f) : d.denominator;
    const WideTicks minutes = WideTicks{f.hours} * 60 + f.minutes;
    const WideTicks dropped = (minutes - minutes / 10) * droppedFramesPerMinute(d) * d.numerator;
    const WideTicks ticks = WideTicks{f.frames} * d.numerator + second * s - dropped;
    // A count past 32 bits cannot be converted; it is never wrapped.
    if (ticks > std::numeric_limits<int32_t>::max() || ticks < std::numeric_limits<int32_t>::min())
        return -1;
    return static_cast<int32_t>(ticks);
}

SubtitleLinePtr parseText(const QString& line, FrameDuration frameDuration) {
    auto record = SubtitleLine::create();
    const auto& utility = QYTimeUtility::sharedInstance();
    qsizetype startLength = 0;
    qsizetype endLength = 0;
    QYRegex::enumerateMatches(line, kTimeStringPattern, [&](TextRange match) {
        if (match.length != kTimeStringLength)
            return;
        const TimeStringFields fields =
            QYTimeUtility::timeStringFields(QStringView(line).sliced(match.location, match.length));
        if (match.location == 0) {
            record->setStartTime(utility.timeIntervalFromFields(fields));
            record->startNumerator = numeratorFromTimeStringFields(fields, frameDuration);
            startLength = kTimeStringLength;
        } else if (match.end() == line.size()) {
            record->setEndTime(utility.timeIntervalFromFields(fields));
            record->endNumerator = numeratorFromTimeStringFields(fields, frameDuration);
            endLength = kTimeStringLength;
        }
    });
    record->setText(line.sliced(startLength, line.size() - startLength - endLength));
    return record;
}

namespace {

void forEachTextLine(QStringView text, FrameDuration frameDuration,
                     const std::function<void(const SubtitleLinePtr&)>& visit) {
    qsizetype begin = 0;
    while (true) {
        const qsizetype end = text.indexOf(u'\n', begin);
        const qsizetype stop = end < 0 ? text.size() : end;
        visit(parseText(text.sliced(begin, stop - begin).toString(), frameDuration));
        if (end < 0)
            return;
        begin = end + 1;
    }
}

} // namespace

QList<SubtitleLinePtr> createSubtitleLinesFromText(const QString& text,
                                                   FrameDuration frameDuration) {
    QList<SubtitleLinePtr> lines;
    forEachTextLine(text, frameDuration,
                    [&lines](const SubtitleLinePtr& line) { lines.append(line); });
    return lines;
}

QList<SubtitleLinePtr> generateSubtitleLines(const QString& wholeText,
                                             FrameDuration frameDuration) {
    QList<SubtitleLinePtr> lines;
    forEachSubtitleLine(wholeText, frameDuration,
                        [&lines](const SubtitleLinePtr& line) { lines.append(line); });
    return lines;
}

void forEachSubtitleLine(const QString& wholeText, FrameDuration frameDuration,
                         const std::function<void(const SubtitleLinePtr&)>& visit) {
    const auto isTrimmed = [](QChar c) {
        return c == u'\r' || c == u'\t' || c == u' ';
    };
    qsizetype begin = 0;
    qsizetype end = wholeText.size();
    while (begin < end && isTrimmed(wholeText[begin]))
        ++begin;
    while (end > begin && isTrimmed(wholeText[end - 1]))
        --end;
    forEachTextLine(QStringView(wholeText).sliced(begin, end - begin), frameDuration, visit);
}

qsizetype findLastBreak(qsizetype location, const QString& text) {
    for (qsizetype i = std::min(location, text.size()) - 1; i >= 0; --i) {
        if (isLineBreak(text[i]))
            return i + 1;
    }
    return 0;
}

qsizetype findNextBreak(qsizetype location, const QString& text) {
    for (qsizetype i = std::max<qsizetype>(location, 0); i < text.size(); ++i) {
        if (isLineBreak(text[i]))
            return i;
    }
    return text.size();
}

QString getInsertLineInText(const QString& text, TextRange range) {
    const qsizetype begin = findLastBreak(range.location, text);
    const qsizetype end = findNextBreak(range.end(), text);
    return text.sliced(begin, std::max<qsizetype>(end - begin, 0));
}

} // namespace quillery
