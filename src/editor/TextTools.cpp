#include "TextTools.h"

#include "Localization.h"
#include "NumberText.h"
#include "QYRegex.h"
#include "ScriptMarks.h"
#include "TextFileReader.h"

#include <cmath>

namespace quillery {

namespace {

// Four two-digit groups, each pair separated by any one of many characters, optionally
// enclosed in one of "[{(<" and one of "]})>".
const QString kForeignTimePattern = QStringLiteral(
    R"([\[\{\(<]?(\d{2})[:\.\,\;\-\*\&\^\%\$\#\@\!\~\?\<\>\'\/' \\]{1}(\d{2})[:\.\,\;\-\*\&\^\%\$\#\@\!\~\?\<\>\'\/' \\]{1}(\d{2})[:\.\,\;\-\*\&\^\%\$\#\@\!\~\?\<\>\'\/' \\]{1}(\d{2})[\]\}\)>]?)");

const QString kClausePunctuation = QStringLiteral(";,。；，：");
const QString kPunctuationBeforeTimePattern = QStringLiteral(R"([;,。；，：]+\[)");
const QString kPunctuationPattern = QStringLiteral("[;,。；，：]+");

constexpr int kMaxAdjustHours = 10;
constexpr int kMaxAdjustMinutes = 60;
constexpr int kMaxAdjustSeconds = 60;

QStringList nonEmptyLines(const QString& text) {
    return TextFileReader::sharedInstance().getLinesFromText(text);
}

QString trimmedOfClausePunctuation(const QString& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && kClausePunctuation.contains(line[begin]))
        ++begin;
    while (end > begin && kClausePunctuation.contains(line[end - 1]))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

QString convertTimeCodeFormat(const QString& text) {
    QString converted = QYRegex::stringByReplacingOccurrencesOfRegex(
        text, kForeignTimePattern, QStringLiteral("[$1:$2:$3.$4]"));
    converted.replace(QStringLiteral("//"), QString(kLineBreakMark));
    return converted;
}

QString convertDoubleLine(const QString& region) {
    QString merged = TextFileReader::sharedInstance().removeEmptyLinesFromString(region);
    qsizetype breakCount = 0;
    for (QChar& c : merged) {
        if (c != u'\n')
            continue;
        // Breaks are counted from 0; the even ones join a pair.
        if (breakCount % 2 == 0)
            c = kLineBreakMark;
        ++breakCount;
    }
    return merged;
}

QString convertPunctuation(const QString& text) {
    QString result;
    for (const QString& piece : text.split(u'\n')) {
        QString line = trimmedOfClausePunctuation(piece);
        QYRegex::replaceOccurrencesOfRegex(line, kPunctuationBeforeTimePattern,
                                           QStringLiteral("["));
        QYRegex::replaceOccurrencesOfRegex(line, kPunctuationPattern, QStringLiteral("\n"));
        result += line + u'\n';
    }
    return result;
}

LineCountComparison compareLineCounts(const QString& originalText, const QString& replaceText) {
    return {nonEmptyLines(originalText).size(), nonEmptyLines(replaceText).size()};
}

QString lineCountWarning(const LineCountComparison& comparison) {
    if (comparison.matches())
        return QString();
    const QString format =
        localized("The line quantity of oringal %d is not the same as replace text %d");
    return QString::asprintf(qUtf8Printable(format), static_cast<int>(comparison.originalCount),
                             static_cast<int>(comparison.replaceCount));
}

QString getConsolidateText(const QString& originalText, const QString& pastedText) {
    const QStringList original = nonEmptyLines(originalText);
    const QStringList pasted = nonEmptyLines(pastedText);
    QStringList interleaved;
    for (qsizetype i = 0; i < std::min(original.size(), pasted.size()); ++i)
        interleaved << original[i] << pasted[i];
    return interleaved.join(u'\n');
}

QString getReplaceText(const QString& pastedText) {
    return TextFileReader::sharedInstance().removeEmptyLinesFromString(pastedText);
}

int& AdjustTime::operator[](AdjustTimeField field) {
    switch (field) {
    case AdjustTimeField::Hours:
        return hours;
    case AdjustTimeField::Minutes:
        return minutes;
    case AdjustTimeField::Seconds:
        return seconds;
    case AdjustTimeField::Frames:
        break;
    }
    return frames;
}

int AdjustTime::operator[](AdjustTimeField field) const {
    return const_cast<AdjustTime&>(*this)[field];
}

std::optional<int> readAdjustTimeField(AdjustTimeField field, const QString& text, double fps) {
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    bool inRange = false;
    switch (field) {
    case AdjustTimeField::Hours:
        inRange = value >= 1 && value <= kMaxAdjustHours;
        break;
    case AdjustTimeField::Minutes:
        inRange = value >= 0 && value <= kMaxAdjustMinutes;
        break;
    case AdjustTimeField::Seconds:
        inRange = value >= 0 && value <= kMaxAdjustSeconds;
        break;
    case AdjustTimeField::Frames:
        inRange = value >= 0 && value <= fps;
        break;
    }
    return inRange ? std::optional<int>(value) : std::nullopt;
}

AdjustTime carryAdjustTime(AdjustTime time, double fps) {
    // Each carry keeps the remainder, so the amount stays what the user set.
    if (time.frames >= fps) {
        time.frames = static_cast<int>(time.frames - fps);
        ++time.seconds;
    }
    if (time.seconds >= 60) {
        time.seconds -= 60;
        ++time.minutes;
    }
    if (time.minutes >= 60) {
        time.minutes -= 60;
        ++time.hours;
    }
    return time;
}

QString adjustTimeResultText(const AdjustTime& time, bool isForward) {
    const QString direction = isForward ? localized("forward") : localized("backward");
    const QString format = localized("Shift all time codes %@ %.2d:%.2d:%.2d.%.2d")
                               .replace(QStringLiteral("%@"), QStringLiteral("%s"));
    return QString::asprintf(qUtf8Printable(format), qUtf8Printable(direction), time.hours,
                             time.minutes, time.seconds, time.frames);
}

MediaTime adjustTimeAmount(const AdjustTime& time, double fps) {
    const int wholeSeconds = time.hours * 3600 + time.minutes * 60 + time.seconds;
    const int32_t frames = toInt32(std::trunc(time.frames + wholeSeconds * fps));
    // Thousandths of a frame in 32 bits, wrapping as the frame arithmetic always has.
    const auto value = static_cast<int32_t>(static_cast<uint32_t>(frames) * 1000u);
    return MediaTime::make(value, toInt32(fps * 1000));
}

} // namespace quillery
