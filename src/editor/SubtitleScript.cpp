#include "SubtitleScript.h"

#include "QYTimeUtility.h"
#include "ScriptMarks.h"

namespace quillery {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

} // namespace

SubtitleLinePtr SubtitleScript::parseText(const QString& line) const {
    return quillery::parseText(line, frameDuration_);
}

QList<SubtitleLinePtr> SubtitleScript::createSubtitleLinesFromText(const QString& text) const {
    return quillery::createSubtitleLinesFromText(text, frameDuration_);
}

int32_t SubtitleScript::numeratorFromQuilleryTimecode(const QString& timeString) const {
    return quillery::numeratorFromQuilleryTimecode(timeString, frameDuration_);
}

void SubtitleScript::setSubtitles(QList<SubtitleLinePtr> subtitles) {
    Guard guard(lock_);
    subtitles_ = std::move(subtitles);
}

void SubtitleScript::insertSubtitleLine(qsizetype index, SubtitleLinePtr line) {
    Guard guard(lock_);
    subtitles_.insert(index, std::move(line));
}

void SubtitleScript::removeSubtitleLineAt(qsizetype index) {
    Guard guard(lock_);
    subtitles_.removeAt(index);
}

qsizetype SubtitleScript::indexForSubtitleLine(const SubtitleLine* line) const {
    for (qsizetype i = 0; i < subtitles_.size(); ++i) {
        if (subtitles_[i].get() == line)
            return i;
    }
    return TextRange::NotFound;
}

SubtitleLinePtr SubtitleScript::previousSubtitleLineForLine(const SubtitleLine* line) const {
    const qsizetype index = indexForSubtitleLine(line);
    return index > 0 ? subtitles_[index - 1] : nullptr;
}

SubtitleLinePtr SubtitleScript::nextSubtitleLineForLine(const SubtitleLine* line) const {
    const qsizetype index = indexForSubtitleLine(line);
    return index >= 0 && index + 1 < subtitles_.size() ? subtitles_[index + 1] : nullptr;
}

SubtitleScript::LineSpan SubtitleScript::lineSpanOf(qsizetype from, qsizetype to) const {
    LineSpan span;
    const qsizetype lastIndex = std::max<qsizetype>(subtitles_.size() - 1, 0);
    span.first = span.last = lastIndex;
    bool firstFound = false;
    bool lastFound = false;
    qsizetype runningEnd = 0;
    for (qsizetype i = 0; i < subtitles_.size(); ++i) {
        runningEnd += subtitles_[i]->getSubtitleLineStringLength() + 1;
        if (!firstFound && runningEnd > from) {
            span.first = i;
            firstFound = true;
        }
        if (!lastFound && runningEnd > to) {
            span.last = i;
            lastFound = true;
        }
    }
    span.textLength = std::max<qsizetype>(runningEnd - 1, 0);
    return span;
}

SubtitleLinePtr SubtitleScript::getSubtitleLineWithRange(TextRange range) const {
    qsizetype runningEnd = 0;
    for (const SubtitleLinePtr& line : subtitles_) {
        runningEnd += line->getSubtitleLineStringLength() + 1;
        if (runningEnd > range.location)
            return line;
    }
    return nullptr;
}

qsizetype SubtitleScript::offsetOfSubtitleLine(const SubtitleLine* line) const {
    qsizetype offset = 0;
    for (const SubtitleLinePtr& candidate : subtitles_) {
        if (candidate.get() == line)
            return offset;
        offset += candidate->getSubtitleLineStringLength() + 1;
    }
    return TextRange::NotFound;
}

TextRange SubtitleScript::getRangeWithSubtitleLine(const SubtitleLine* line) const {
    const qsizetype offset = offsetOfSubtitleLine(line);
    if (offset == TextRange::NotFound)
        return {};
    return {offset + line->getStartTimeString().size(), line->text().size()};
}

TextRange SubtitleScript::findTimeCodeRangeOfSubtitleLine(const SubtitleLine* line,
                                                          bool isStartTimeCode) const {
    const qsizetype offset = offsetOfSubtitleLine(line);
    if (offset == TextRange::NotFound)
        return {};
    if (isStartTimeCode)
        return {offset, line->isStartTimeValid() ? kTimeStringLength : 0};
    return {offset + line->getStartTimeString().size() + line->text().size(),
            line->isEndTimeValid() ? kTimeStringLength : 0};
}

qsizetype SubtitleScript::findStartRangeOfSubtitleLine(const SubtitleLine* line) const {
    return offsetOfSubtitleLine(line);
}

qsizetype SubtitleScript::findEndRangeOfSubtitleLine(const SubtitleLine* line) const {
    const qsizetype offset = offsetOfSubtitleLine(line);
    return offset == TextRange::NotFound ? offset : offset + line->getSubtitleLineStringLength();
}

QList<SubtitleLinePtr> SubtitleScript::subtitleForStartTime(double a, double b) const {
    Guard guard(lock_);
    QList<SubtitleLinePtr> found;
    for (const SubtitleLinePtr& line : subtitles_) {
        if (line->startTime() > b)
            break;
        if (line->isValid() && line->startTime() < b && line->endTime() >= a)
            found.append(line);
    }
    return found;
}

SubtitleLinePtr SubtitleScript::getCurrentSubtitle(const MediaTime& time) const {
    Guard guard(lock_);
    if (!time.isNumeric())
        return nullptr;
    const double seconds = time.seconds();
    for (const SubtitleLinePtr& line : subtitles_) {
        if (line->isTimeInTimeRange(seconds))
            return line;
    }
    return nullptr;
}

SubtitleLinePtr SubtitleScript::getNextSubtitleLineAtTime(const MediaTime& time) const {
    Guard guard(lock_);
    if (!time.isNumeric())
        return nullptr;
    const double t = QYTimeUtility::roundedTimeInteval(time.seconds());
    for (const SubtitleLinePtr& line : subtitles_) {
        if (!line->isEndTimeValid() || line->endTime() > t)
            return line;
    }
    return nullptr;
}

} // namespace quillery
