#include "SubtitleLine.h"

#include "QYTimeUtility.h"

#include <QRandomGenerator>
#include <QUuid>
#include <array>
#include <cmath>

namespace quillery {

namespace {

// A version 4 UUID from the process's fast generator: a line is made for every script
// line on every load, too often to ask the system's entropy source each time.
QString newLineIdentifier() {
    std::array<quint32, 4> words;
    QRandomGenerator::global()->fillRange(words.data(), words.size());
    QByteArray bytes(reinterpret_cast<const char*>(words.data()), sizeof(words));
    bytes[6] = static_cast<char>((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = static_cast<char>((bytes[8] & 0x3f) | 0x80); // RFC 4122 variant
    return QUuid::fromRfc4122(bytes).toString(QUuid::WithoutBraces);
}

QString timeStringFor(double seconds) {
    return QYTimeUtility::sharedInstance().timeStringFromTimeInterval(seconds);
}

} // namespace

SubtitleLine::SubtitleLine() : subtitleLineId(newLineIdentifier()) {
    setStartTime(-1);
    setEndTime(-1);
}

SubtitleLinePtr SubtitleLine::copyOf(const SubtitleLine& other) {
    auto copy = create();
    copy->number = other.number;
    copy->text_ = other.text_;
    copy->setStartTime(other.startTime_);
    copy->setEndTime(other.endTime_);
    copy->startTimeCode_ = TimeCode(other.startTimeCode_.totalMilliseconds());
    copy->endTimeCode_ = TimeCode(other.endTimeCode_.totalMilliseconds());
    copy->startFrame = other.startFrame;
    copy->endFrame = other.endFrame;
    copy->isForced = other.isForced;
    copy->extra = other.extra;
    copy->isComment = other.isComment;
    copy->actor = other.actor;
    copy->effect = other.effect;
    copy->layer = other.layer;
    copy->subtitleLineId = other.subtitleLineId;
    copy->language = other.language;
    copy->style = other.style;
    copy->isStartTimeError = other.isStartTimeError;
    copy->isEndTimeError = other.isEndTimeError;
    return copy;
}

void SubtitleLine::setStartTime(double seconds) {
    startTime_ = QYTimeUtility::roundedTimeInteval(seconds);
    startTimeCode_ = TimeCode::fromSeconds(startTime_);
    startTimeString_ = timeStringFor(startTime_);
    emit startTimeChanged();
}

void SubtitleLine::setStartTimeCode(const TimeCode& timeCode) {
    startTimeCode_ = timeCode;
    startTime_ = QYTimeUtility::roundedTimeInteval(timeCode.totalSeconds());
    startTimeString_ = timeStringFor(startTime_);
    emit startTimeChanged();
}

void SubtitleLine::setEndTime(double seconds) {
    endTime_ = QYTimeUtility::roundedTimeInteval(seconds);
    endTimeCode_ = TimeCode::fromSeconds(endTime_);
    endTimeString_ = timeStringFor(endTime_);
    emit endTimeChanged();
}

void SubtitleLine::setEndTimeCode(const TimeCode& timeCode) {
    endTimeCode_ = timeCode;
    endTime_ = QYTimeUtility::roundedTimeInteval(timeCode.totalSeconds());
    endTimeString_ = timeStringFor(endTime_);
    emit endTimeChanged();
}

void SubtitleLine::setText(const QString& text) {
    text_ = text;
    emit textChanged();
}

void SubtitleLine::assignTimesAndText(const SubtitleLine& other) {
    startTime_ = other.startTime_;
    startTimeCode_ = other.startTimeCode_;
    startTimeString_ = other.startTimeString_;
    emit startTimeChanged();
    setText(other.text_);
    endTime_ = other.endTime_;
    endTimeCode_ = other.endTimeCode_;
    endTimeString_ = other.endTimeString_;
    emit endTimeChanged();
}

QString SubtitleLine::getSubtitleLineString() const {
    return startTimeString_ + text_ + endTimeString_;
}

int SubtitleLine::getSubtitleLineStringLength() const {
    return static_cast<int>(startTimeString_.size() + text_.size() + endTimeString_.size());
}

bool SubtitleLine::isTimeInTimeRange(double seconds) const {
    const double t = QYTimeUtility::roundedTimeInteval(seconds);
    if (isValid())
        return startTime_ <= t && t < endTime_;
    if (isStartTimeValid() && !isEndTimeValid())
        return t >= startTime_;
    return false;
}

TimeCode SubtitleLine::duration() const {
    TimeCode d(endTimeCode_.totalMilliseconds());
    d.addTimeMilliseconds(static_cast<int64_t>(std::trunc(-startTimeCode_.totalMilliseconds())));
    return d;
}

bool SubtitleLine::isEqualToSubtitle(const SubtitleLine& other) const {
    return startTime_ == other.startTime_ && endTime_ == other.endTime_ && text_ == other.text_;
}

void SubtitleLine::calculateTimeCodesFromFrameNumbers(double frameRate) {
    startTimeCode_.setTotalMilliseconds(startFrame * (1000 / frameRate));
    endTimeCode_.setTotalMilliseconds(endFrame * (1000 / frameRate));
}

QString SubtitleLine::description() const {
    return QString::asprintf("%.4f,%.4f ", startTime_, endTime_) + text_;
}

} // namespace quillery
