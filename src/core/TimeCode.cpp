#include "TimeCode.h"

#include "NumberText.h"

#include <array>
#include <cmath>
#include <limits>

namespace quillery {

namespace {

// Truncates toward zero, saturating where a double leaves the 64-bit range.
int64_t toInt64(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

bool isWithinTimeLimit(int64_t milliseconds) {
    return milliseconds <= kMaximumTimeMilliseconds && milliseconds >= -kMaximumTimeMilliseconds;
}

} // namespace

TimeCode::TimeCode(double totalMilliseconds) {
    setTotalMilliseconds(totalMilliseconds);
}

TimeCode::TimeCode(int64_t hours, int64_t minutes, int64_t seconds, int64_t milliseconds)
    : hours_(hours), minutes_(minutes), seconds_(seconds), milliseconds_(milliseconds) {
    calculateTotalMilliseconds();
}

TimeCode TimeCode::fromSeconds(double seconds) {
    return TimeCode(seconds * 1000);
}

TimeCode TimeCode::timeCodeFromString(const QString& text) {
    return TimeCode(parseToMilliseconds(text));
}

double TimeCode::parseToMilliseconds(const QString& text) {
    // The four fields, found by position: the readers call this twice for every cue.
    std::array<QStringView, 4> fields;
    qsizetype count = 0;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u':' && text[i] != u',' && text[i] != u'.')
            continue;
        if (count == 4)
            return -1.0;
        fields[count++] = QStringView(text).sliced(begin, i - begin);
        begin = i + 1;
    }
    if (count != 4)
        return -1.0;
    const std::optional<TimeCode> time =
        fromClockFields(fields[0], fields[1], fields[2], fields[3]);
    return time ? time->totalMilliseconds() : -1.0;
}

std::optional<TimeCode> TimeCode::fromClockFields(QStringView hours, QStringView minutes,
                                                  QStringView seconds, QStringView milliseconds) {
    const std::array<int64_t, 4> f = {longLongValue(hours), longLongValue(minutes),
                                      longLongValue(seconds), longLongValue(milliseconds)};
    // Each field alone within the limit keeps every product and the sum below 2^63.
    for (const int64_t field : f) {
        if (!isWithinTimeLimit(field))
            return std::nullopt;
    }
    const TimeCode time(f[0], f[1], f[2], f[3]);
    if (!isWithinTimeLimit(static_cast<int64_t>(time.totalMilliseconds())))
        return std::nullopt;
    return time;
}

void TimeCode::setTotalMilliseconds(double totalMilliseconds) {
    totalMilliseconds_ = totalMilliseconds;
    totalSeconds_ = totalMilliseconds / 1000;
    calculateTimeComponents();
}

void TimeCode::addTimeMilliseconds(int64_t milliseconds) {
    setTotalMilliseconds(totalMilliseconds_ + static_cast<double>(milliseconds));
}

void TimeCode::calculateTimeComponents() {
    milliseconds_ = toInt64(totalMilliseconds_) % 1000;
    const int64_t whole = toInt64(totalMilliseconds_ / 1000);
    hours_ = whole / 3600;
    minutes_ = (whole - hours_ * 3600) / 60;
    seconds_ = whole - hours_ * 3600 - minutes_ * 60;
}

void TimeCode::calculateTotalMilliseconds() {
    const int64_t total = hours_ * 3600000 + minutes_ * 60000 + seconds_ * 1000 + milliseconds_;
    totalMilliseconds_ = static_cast<double>(total);
    totalSeconds_ = totalMilliseconds_ / 1000;
}

QString TimeCode::description() const {
    return QString::asprintf("%2lld:%2lld:%2lld,%3lld", static_cast<long long>(hours_),
                             static_cast<long long>(minutes_), static_cast<long long>(seconds_),
                             static_cast<long long>(milliseconds_));
}

void appendClockTime(QString& out, const TimeCode& time, bool withHours) {
    if (withHours) {
        appendPadded(out, time.hours(), 2);
        out += u':';
    }
    appendPadded(out, time.minutes(), 2);
    out += u':';
    appendPadded(out, time.seconds(), 2);
    out += u'.';
    appendPadded(out, time.milliseconds(), 3);
}

} // namespace quillery
