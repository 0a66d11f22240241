// A time in milliseconds together with its hour, minute, second and millisecond parts.
// The subtitle-file readers build these from parsed fields and the writers print the
// parts; setting either side recomputes the other, so the two always agree.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace quillery {

// The longest time, either way, that every form of a time holds: the clock split that
// prints times keeps whole seconds in 32 bits. Anything longer cannot be converted.
inline constexpr int64_t kMaximumTimeMilliseconds = int64_t{2147483647} * 1000;

class TimeCode {
public:
    TimeCode() = default;
    explicit TimeCode(double totalMilliseconds);
    TimeCode(int64_t hours, int64_t minutes, int64_t seconds, int64_t milliseconds);

    // seconds x 1000 ms; -1 s makes the unset value of -1000 ms.
    static TimeCode fromSeconds(double seconds);
    static TimeCode timeCodeFromString(const QString& text);
    // Four numbers separated by ":", "," or "."; the fourth is whole milliseconds as
    // written (01,5 is 1 s 5 ms). -1 unless there are exactly four fields that convert.
    static double parseToMilliseconds(const QString& text);
    // The time of four integer fields (leading digits, as the readers take them), or
    // nothing when a field or the whole time is past kMaximumTimeMilliseconds: such a time
    // cannot be converted and is never wrapped or clamped.
    static std::optional<TimeCode> fromClockFields(QStringView hours, QStringView minutes,
                                                   QStringView seconds, QStringView milliseconds);

    void setTotalMilliseconds(double totalMilliseconds);
    void setTotalSeconds(double totalSeconds) { setTotalMilliseconds(totalSeconds * 1000); }
    void addTimeMilliseconds(int64_t milliseconds);

    bool isMaxTime() const { return isMaxTime_; }
    double totalMilliseconds() const { return totalMilliseconds_; }
    double totalSeconds() const { return totalSeconds_; }
    int64_t hours() const { return hours_; }
    int64_t minutes() const { return minutes_; }
    int64_t seconds() const { return seconds_; }
    int64_t milliseconds() const { return milliseconds_; }

    QString description() const;

private:
    void calculateTimeComponents();
    void calculateTotalMilliseconds();

    bool isMaxTime_ = false;
    double totalMilliseconds_ = 0;
    double totalSeconds_ = 0;
    int64_t hours_ = 0;
    int64_t minutes_ = 0;
    int64_t seconds_ = 0;
    int64_t milliseconds_ = 0;
};

// Appends HH:MM:SS.mmm, or MM:SS.mmm without hours, each field zero padded.
void appendClockTime(QString& out, const TimeCode& time, bool withHours);

} // namespace quillery
