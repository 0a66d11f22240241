#include "ScriptEditing.h"

#include "QYRegex.h"
#include "QYTimeUtility.h"
#include "ScriptMarks.h"
#include "ScriptText.h"
#include "TextFileReader.h"

namespace quillery {

namespace {

constexpr double kMinimumDuration = 0.5;
// A start may be typed this close to the end of the subtitle it falls in.
constexpr double kStartTolerance = 0.02;

const QYTimeUtility& timeUtility() {
    return QYTimeUtility::sharedInstance();
}

QStringList nonEmptyLines(const QString& text) {
    return TextFileReader::sharedInstance().getLinesFromText(text);
}

QString joinedWithLineFeeds(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + u'\n';
    return text;
}

} // namespace

TimeStringPositions::TimeStringPositions(const QString& wholeText)
    : trimmed_(wholeText.trimmed()) {}

bool TimeStringPositions::isStartTimeCodeInRange(TextRange range) const {
    const qsizetype before = range.location - 1;
    return range.location == 0 ||
           (before >= 0 && before < trimmed_.size() && trimmed_[before] == u'\n');
}

bool TimeStringPositions::isEndTimeCodeInRange(TextRange range) const {
    if (range.end() >= trimmed_.size())
        return true;
    return range.location != 0 && range.end() >= 0 && trimmed_[range.end()] == u'\n';
}

TextRange nearestTimeString(const QString& wholeText, const TimeStringPositions& positions,
                            TextRange from, bool forward, bool wantStart) {
    // A dragged block asks this on every mouse move: the stretch next to the range is read
    // first and widened until a time string qualifies or the text runs out. Time strings
    // never overlap, so a stretch finds the same ones as the whole text, bar one cut at its
    // far edge, which a wider stretch reads whole.
    for (qsizetype span = 1024;; span *= 4) {
        const qsizetype begin = forward ? from.end() : std::max<qsizetype>(0, from.location - span);
        const qsizetype end =
            forward ? std::min(wholeText.size(), from.end() + span) : from.location;
        QList<RegexMatch> matches =
            QYRegex::allMatches(wholeText.sliced(begin, end - begin), kTimeStringPattern);
        if (!forward)
            std::reverse(matches.begin(), matches.end());
        for (const RegexMatch& match : matches) {
            const TextRange range{match.range.location + begin, match.range.length};
            if (range.length != kTimeStringLength)
                continue;
            if (wantStart ? positions.isStartTimeCodeInRange(range)
                          : positions.isEndTimeCodeInRange(range))
                return range;
        }
        if (forward ? end == wholeText.size() : begin == 0)
            return {};
    }
}

QList<CheckedTimeString> checkTimeStringOrder(const QString& wholeText) {
    const TimeStringPositions positions(wholeText);
    QList<CheckedTimeString> checked;
    double previous = 0;
    for (const RegexMatch& match : QYRegex::allMatches(wholeText, kTimeStringPattern)) {
        if (match.range.length != kTimeStringLength)
            continue;
        if (!positions.isStartTimeCodeInRange(match.range) &&
            !positions.isEndTimeCodeInRange(match.range))
            continue;
        const double t = timeUtility().timeIntervalFromString(match.text);
        checked.append({match.range, t < previous});
        previous = t;
    }
    return checked;
}

bool checkErrorStartTimeCode(const QList<SubtitleLinePtr>& lines, qsizetype index) {
    const double start = lines[index]->startTime();
    for (qsizetype i = index - 1; i >= 0; --i) {
        const SubtitleLine& earlier = *lines[i];
        if (earlier.isEndTimeValid())
            return start < earlier.endTime();
        if (earlier.isStartTimeValid())
            return start <= earlier.startTime();
    }
    return false;
}

bool checkErrorEndTimeCode(const SubtitleLine& line) {
    return line.isStartTimeValid() && line.endTime() <= line.startTime();
}

QString autoCorrectedScript(const QList<SubtitleLinePtr>& lines) {
    QString script;
    SubtitleLinePtr previous;
    for (const SubtitleLinePtr& original : lines) {
        // Corrected on a copy: the editor rebuilds its records from the new text anyway.
        SubtitleLinePtr line = SubtitleLine::copyOf(*original);
        if (previous && previous->isEndTimeValid() && line->isStartTimeValid() &&
            previous->endTime() > line->startTime())
            line->setStartTime(previous->endTime());
        if (line->isValid() && line->endTime() < line->startTime() + kMinimumDuration)
            line->setEndTime(line->startTime() + kMinimumDuration);
        script += line->getSubtitleLineString() + u'\n';
        previous = line;
    }
    return script;
}

QString shiftTimeStrings(const QString& text, const MediaTime& amount, bool increase) {
    QString shifted;
    qsizetype copied = 0;
    for (const RegexMatch& match : QYRegex::allMatches(text, kTimeStringPattern)) {
        const MediaTime time = timeUtility().cmTimeFromTimeString(match.text);
        MediaTime moved = add(time, amount);
        if (!increase)
            moved = compare(time, amount) < 0 ? MediaTime::zero() : subtract(time, amount);
        shifted += QStringView(text).sliced(copied, match.range.location - copied);
        shifted += timeUtility().timeStringFromCMTime(moved);
        copied = match.range.end();
    }
    shifted += QStringView(text).sliced(copied);
    return shifted;
}

QString removeTimeStrings(const QString& text) {
    return QYRegex::stringByReplacingOccurrencesOfRegex(text, kTimeStringPattern, QString());
}

CutLines cutLines(const QString& region, bool cutOddLines) {
    QStringList kept;
    QStringList cut;
    const QStringList lines = nonEmptyLines(region);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool isOdd = i % 2 == 0; // lines count from 1
        (isOdd == cutOddLines ? cut : kept).append(lines[i]);
    }
    return {joinedWithLineFeeds(kept), joinedWithLineFeeds(cut)};
}

QString pasteTextsOnly(const QString& region, const QString& newTexts) {
    static const QString wholeTimedLine = QStringLiteral("^%1[^\\[]*%1$").arg(kTimeStringPattern);
    const QStringList texts = newTexts.split(u'\n');
    qsizetype next = 0;
    QString pasted;
    for (QString line : nonEmptyLines(region)) {
        if (next < texts.size() && QYRegex::isMatchedByRegex(line, wholeTimedLine)) {
            const QList<RegexMatch> times = QYRegex::allMatches(line, kTimeStringPattern);
            line = times.front().text + texts[next++] + times.back().text;
        }
        pasted += line + u'\n';
    }
    return pasted;
}

QString pasteTimeCodesOnly(const QString& region, const QString& pastedText) {
    const QStringList texts = removeTimeStrings(region).split(u'\n');
    const QStringList times = QYRegex::matchEnumeratorWithRegex(pastedText, kTimeStringPattern);
    qsizetype nextText = 0;
    const auto takeText = [&] {
        return nextText < texts.size() ? texts[nextText++] : QString();
    };
    QString result;
    for (qsizetype i = 0; i < times.size(); i += 2) {
        if (i + 1 < times.size())
            result += times[i] + takeText() + times[i + 1] + u'\n';
        else
            result += times[i] + takeText();
    }
    while (nextText < texts.size())
        result += texts[nextText++] + u'\n';
    return result;
}

qsizetype findSubtitleIndexWithTime(const QList<SubtitleLinePtr>& lines, double seconds) {
    const double t = QYTimeUtility::roundedTimeInteval(seconds);
    qsizetype candidate = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i]->isValid() && t >= lines[i]->endTime())
            candidate = i + 1;
        if (i + 1 < lines.size() && !lines[i + 1]->isStartTimeValid())
            break;
    }
    return candidate < lines.size() ? candidate : TextRange::NotFound;
}

bool allowInsertStartTime(const QList<SubtitleLinePtr>& lines, double seconds) {
    const double t = QYTimeUtility::roundedTimeInteval(seconds);
    for (const SubtitleLinePtr& line : lines) {
        if (line->isValid() && line->startTime() <= t && t < line->endTime() - kStartTolerance)
            return false;
    }
    return true;
}

} // namespace quillery
