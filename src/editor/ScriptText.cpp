#include "ScriptText.h"

#include "QYRegex.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"

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

// 32-bit arithmetic that wraps instead of overflowing, like the integer maths it mirrors.
int32_t wrapped(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

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
    const int32_t s = f.wholeSeconds();
    int32_t ticks;
    if (d.numerator == 1001 || d.numerator == 2002) {
        // The NTSC second is 1.001 real seconds, scaled in single precision.
        const auto ntscSecond = static_cast<int32_t>(static_cast<float>(d.denominator) * 1.001f);
        ticks = wrapped(int64_t{f.frames} * d.numerator + int64_t{ntscSecond} * s);
    } else {
        ticks = wrapped(int64_t{f.frames} * d.numerator + int64_t{s} * d.denominator);
    }
    const int32_t minutes = wrapped(int64_t{f.hours} * 60 + f.minutes);
    const int32_t dropped =
        wrapped(int64_t{minutes - minutes / 10} * droppedFramesPerMinute(d) * d.numerator);
    return wrapped(int64_t{ticks} - dropped);
}

SubtitleLinePtr parseText(const QString& line, FrameDuration frameDuration) {
    auto record = SubtitleLine::create();
    const auto& utility = QYTimeUtility::sharedInstance();
    qsizetype startLength = 0;
    qsizetype endLength = 0;
    for (const RegexMatch& match : QYRegex::allMatches(line, kTimeStringPattern)) {
        if (match.range.length != kTimeStringLength)
            continue;
        const TimeStringFields fields = QYTimeUtility::timeStringFields(match.text);
        if (match.range.location == 0) {
            record->setStartTime(utility.timeIntervalFromFields(fields));
            record->startNumerator = numeratorFromTimeStringFields(fields, frameDuration);
            startLength = kTimeStringLength;
        } else if (match.range.end() == line.size()) {
            record->setEndTime(utility.timeIntervalFromFields(fields));
            record->endNumerator = numeratorFromTimeStringFields(fields, frameDuration);
            endLength = kTimeStringLength;
        }
    }
    record->setText(line.sliced(startLength, line.size() - startLength - endLength));
    return record;
}

QList<SubtitleLinePtr> createSubtitleLinesFromText(const QString& text,
                                                   FrameDuration frameDuration) {
    QList<SubtitleLinePtr> lines;
    qsizetype begin = 0;
    while (true) {
        const qsizetype end = text.indexOf(u'\n', begin);
        const qsizetype stop = end < 0 ? text.size() : end;
        lines.append(parseText(text.sliced(begin, stop - begin), frameDuration));
        if (end < 0)
            return lines;
        begin = end + 1;
    }
}

QList<SubtitleLinePtr> generateSubtitleLines(const QString& wholeText,
                                             FrameDuration frameDuration) {
    const auto isTrimmed = [](QChar c) {
        return c == u'\r' || c == u'\t' || c == u' ';
    };
    qsizetype begin = 0;
    qsizetype end = wholeText.size();
    while (begin < end && isTrimmed(wholeText[begin]))
        ++begin;
    while (end > begin && isTrimmed(wholeText[end - 1]))
        --end;
    return createSubtitleLinesFromText(wholeText.sliced(begin, end - begin), frameDuration);
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
