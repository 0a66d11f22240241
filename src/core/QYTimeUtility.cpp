#include "QYTimeUtility.h"

#include "ITTime.h"
#include "NumberText.h"

#include <QStringList>
#include <cmath>

namespace quillery {

int32_t TimeStringFields::wholeSeconds() const {
    const uint32_t sum = static_cast<uint32_t>(hours) * 3600u +
                         static_cast<uint32_t>(minutes) * 60u + static_cast<uint32_t>(seconds);
    return static_cast<int32_t>(sum);
}

TimeStringFields QYTimeUtility::timeStringFields(QStringView timeString) {
    QStringView body = timeString;
    while (!body.isEmpty() && (body.front() == u'[' || body.front() == u']'))
        body = body.mid(1);
    while (!body.isEmpty() && (body.back() == u'[' || body.back() == u']'))
        body.chop(1);

    // Fields are found by position rather than by splitting: this runs for every time
    // string of every script line read.
    TimeStringFields fields;
    const qsizetype firstColon = body.indexOf(u':');
    const qsizetype secondColon = firstColon < 0 ? -1 : body.indexOf(u':', firstColon + 1);
    if (secondColon < 0)
        return fields;
    const qsizetype thirdColon = body.indexOf(u':', secondColon + 1);
    const QStringView secondsPart =
        body.sliced(secondColon + 1, (thirdColon < 0 ? body.size() : thirdColon) - secondColon - 1);
    const qsizetype dot = secondsPart.indexOf(u'.');
    if (dot < 0 || secondsPart.indexOf(u'.', dot + 1) >= 0)
        return fields;
    fields.hours = intValue(body.first(firstColon));
    fields.minutes = intValue(body.sliced(firstColon + 1, secondColon - firstColon - 1));
    fields.seconds = intValue(secondsPart.first(dot));
    fields.frames = intValue(secondsPart.sliced(dot + 1));
    fields.valid = true;
    return fields;
}

QYTimeUtility& QYTimeUtility::sharedInstance() {
    static QYTimeUtility instance;
    return instance;
}

void QYTimeUtility::setFPS(double fps) {
    fps_ = fps == 0 ? 30.0 : fps;
}

int32_t QYTimeUtility::frameTimescale() const {
    return toInt32(fps_ * 1000);
}

QString QYTimeUtility::timeStringFromTimeInterval(double seconds) const {
    if (seconds < 0)
        return QString();
    return u'[' + rawTimeStringFromTimeInterval(seconds) + u']';
}

QString QYTimeUtility::rawTimeStringFromTimeInterval(double seconds) const {
    const ITTime split(seconds);
    int32_t h = split.getHours();
    int32_t m = split.getMinutes();
    int32_t s = split.getSeconds();
    // The fraction goes through single precision on purpose: at an exact half frame
    // (20 ms at 25 fps) it lands just below .5 and so rounds down.
    const float fraction = static_cast<float>(split.getMilliSeconds()) / 1000.0f;
    int32_t ff = toInt32(std::round(static_cast<double>(fraction) * fps_));
    if (ff >= fps_) {
        ff = 0;
        if (++s == 60) {
            s = 0;
            if (++m == 60) {
                m = 0;
                ++h;
            }
        }
    }
    QString text;
    text.reserve(11);
    appendPadded(text, h, 2);
    text += u':';
    appendPadded(text, m, 2);
    text += u':';
    appendPadded(text, s, 2);
    text += u'.';
    appendPadded(text, ff, 2);
    return text;
}

QString QYTimeUtility::timeStringFromCMTime(const MediaTime& time) const {
    return u'[' + rawTimeStringFromCMTime(time) + u']';
}

QString QYTimeUtility::rawTimeStringFromCMTime(const MediaTime& time) const {
    // A time without a numeric value prints as zero rather than as garbage.
    return rawTimeStringFromTimeInterval(time.isNumeric() ? time.seconds() : 0.0);
}

double QYTimeUtility::timeIntervalFromString(const QString& timeString) const {
    return timeIntervalFromFields(timeStringFields(timeString));
}

double QYTimeUtility::timeIntervalFromFields(const TimeStringFields& f) const {
    if (!f.valid)
        return -1.0;
    return f.frames / fps_ + f.wholeSeconds();
}

double QYTimeUtility::timeIntervalFromStringWithFloor(const QString& timeString) const {
    const TimeStringFields f = timeStringFields(timeString);
    if (!f.valid)
        return -1.0;
    return std::floor(f.frames / fps_ * 100) / 100 + f.wholeSeconds();
}

MediaTime QYTimeUtility::cmTimeFromTimeString(const QString& timeString) const {
    const TimeStringFields f = timeStringFields(timeString);
    if (!f.valid)
        return MediaTime::indefiniteTime();
    const double thousandths = (f.frames + f.wholeSeconds() * fps_) * 1000;
    return MediaTime::make(static_cast<int64_t>(std::trunc(thousandths)), frameTimescale());
}

double QYTimeUtility::roundedTimeInteval(double seconds) {
    // Narrowed to single precision on purpose: stored times and the probes compared with
    // them are rounded the same way, so they compare exactly (coarser than 1 ms past ~4.6 h).
    const float milliseconds = static_cast<float>(seconds * 1000);
    return static_cast<double>(std::ceil(milliseconds) / 1000.0f);
}

MediaTime QYTimeUtility::getCMTimeWithFrame(int64_t frames) const {
    return MediaTime::make(frames * 1000, frameTimescale());
}

MediaTime QYTimeUtility::getCMTimeWithTimeInteval(double seconds) const {
    return MediaTime::makeWithSeconds(seconds, frameTimescale());
}

MediaTime QYTimeUtility::increasedCMTime(const MediaTime& time, int stepFrames) const {
    return add(time, getCMTimeWithFrame(stepFrames));
}

MediaTime QYTimeUtility::decreasedCMTime(const MediaTime& time, int stepFrames) const {
    const MediaTime step = getCMTimeWithFrame(stepFrames);
    if (compare(time, step) == -1)
        return MediaTime::zero();
    return subtract(time, step);
}

QString QYTimeUtility::changeFloat(const QString& decimal) {
    qsizetype end = decimal.size();
    while (end > 0 && decimal[end - 1] == u'0')
        --end;
    if (end > 0 && decimal[end - 1] == u'.')
        --end;
    return end == 0 ? QStringLiteral("0") : decimal.left(end);
}

MediaTime QYTimeUtility::getCMTimeWithDurationString(const QString& duration) {
    if (duration.isNull())
        return MediaTime::zero();
    QString digits = duration;
    digits.remove(u's');
    const QStringList parts = digits.split(u'/');
    const int64_t value = longLongValue(parts[0]);
    const int32_t timescale = parts.size() == 2 ? intValue(parts[1]) : 1;
    return MediaTime::make(value, timescale);
}

FrameRateScope::FrameRateScope(double fps) : saved_(QYTimeUtility::sharedInstance().getFPS()) {
    QYTimeUtility::sharedInstance().setFPS(fps);
}

FrameRateScope::~FrameRateScope() {
    QYTimeUtility::sharedInstance().setFPS(saved_);
}

} // namespace quillery
