// The process-wide frame rate and every conversion between seconds, media times and
// the bracketed frame-based time strings of the script text ([HH:MM:SS.FF], FF a frame
// index within the second). The same script text means different times at different
// rates: nothing converted earlier is recomputed when the rate changes.
#pragma once

#include "MediaTime.h"

#include <QString>

namespace quillery {

// The fields of a time string as read: integers with the lenient reading of the script
// format. valid is false when the seconds part does not hold exactly one ".".
struct TimeStringFields {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    int32_t frames = 0;
    bool valid = false;

    // H x 3600 + M x 60 + S in 32 bits; wraps like the integer arithmetic it stands for.
    int32_t wholeSeconds() const;
};

class QYTimeUtility {
public:
    static QYTimeUtility& sharedInstance();

    // 0 stores 30; fractional rates such as 29.97 are stored exactly as given.
    void setFPS(double fps);
    double getFPS() const { return fps_; }

    // The empty string for negative seconds (an unset time), else "[" + raw + "]".
    QString timeStringFromTimeInterval(double seconds) const;
    QString rawTimeStringFromTimeInterval(double seconds) const;
    QString timeStringFromCMTime(const MediaTime& time) const;
    QString rawTimeStringFromCMTime(const MediaTime& time) const;

    // -1 when the seconds part does not hold exactly one ".". The fraction is a frame
    // count, so [00:00:01.123] means 123 frames, not 123 ms.
    double timeIntervalFromString(const QString& timeString) const;
    double timeIntervalFromFields(const TimeStringFields& fields) const;
    // As above with the fraction floored to whole hundredths of a second.
    double timeIntervalFromStringWithFloor(const QString& timeString) const;
    // Counts thousandths of a frame (timescale fps x 1000); indefinite when malformed.
    MediaTime cmTimeFromTimeString(const QString& timeString) const;

    static double roundedTimeInteval(double seconds);
    MediaTime getCMTimeWithFrame(int64_t frames) const;
    MediaTime getCMTimeWithTimeInteval(double seconds) const;
    // One arrow-key nudge of stepFrames frames; the decrease stops at zero.
    MediaTime increasedCMTime(const MediaTime& time, int stepFrames) const;
    MediaTime decreasedCMTime(const MediaTime& time, int stepFrames) const;

    // Splits "[HH:MM:SS.FF]" (brackets optional) into its fields.
    static TimeStringFields timeStringFields(QStringView timeString);

    static QString changeFloat(const QString& decimal);
    // "N/Ds" or "Ns", the rational time notation of Final Cut Pro X; a null string is 0.
    static MediaTime getCMTimeWithDurationString(const QString& duration);

private:
    QYTimeUtility() = default;
    int32_t frameTimescale() const;

    double fps_ = 30.0;
};

// Sets the process-wide frame rate for as long as it lives, then restores the earlier one.
class FrameRateScope {
public:
    explicit FrameRateScope(double fps);
    ~FrameRateScope();
    FrameRateScope(const FrameRateScope&) = delete;
    FrameRateScope& operator=(const FrameRateScope&) = delete;

private:
    double saved_;
};

} // namespace quillery
