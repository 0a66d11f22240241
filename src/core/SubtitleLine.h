// One subtitle: the record the script editor keeps per text line and that the waveform,
// the player overlay, the readers and the writers all share. Lines are shared by
// reference (SubtitleLinePtr) and identity matters: a view that holds a line sees every
// change made through any other holder, and is told of it by the change signals.
#pragma once

#include "TimeCode.h"

#include <QObject>
#include <QString>
#include <memory>

namespace quillery {

class SubtitleLine;
using SubtitleLinePtr = std::shared_ptr<SubtitleLine>;

class SubtitleLine : public QObject {
    Q_OBJECT

public:
    // Start and end unset (-1), empty text, a fresh identifier.
    SubtitleLine();
    // A copy that keeps the identifier but owns its own time codes; the numerators
    // are not copied.
    static SubtitleLinePtr copyOf(const SubtitleLine& other);
    static SubtitleLinePtr create() { return std::make_shared<SubtitleLine>(); }

    // Every start setter keeps startTime, startTimeCode and startTimeString in step;
    // startTime is always rounded up to a whole millisecond. The same for the end.
    void setStartTime(double seconds);
    void setStartTimeCode(const TimeCode& timeCode);
    void setEndTime(double seconds);
    void setEndTimeCode(const TimeCode& timeCode);
    void setText(const QString& text);
    // Takes over another line's start, end and text as they stand. Times are copied, not
    // rounded again: rounding an already rounded time can move it up a millisecond.
    void assignTimesAndText(const SubtitleLine& other);

    double startTime() const { return startTime_; }
    double endTime() const { return endTime_; }
    const QString& getStartTimeString() const { return startTimeString_; }
    const QString& getEndTimeString() const { return endTimeString_; }
    const TimeCode& startTimeCode() const { return startTimeCode_; }
    const TimeCode& endTimeCode() const { return endTimeCode_; }
    const QString& text() const { return text_; }

    // The line as the script text holds it: start string, text, end string.
    QString getSubtitleLineString() const;
    int getSubtitleLineStringLength() const;

    bool isStartTimeValid() const { return startTime_ >= 0; }
    bool isEndTimeValid() const { return endTime_ >= 0; }
    bool isValid() const { return isStartTimeValid() && isEndTimeValid(); }
    // An open-ended line (start set, no end) covers every time after its start.
    bool isTimeInTimeRange(double seconds) const;
    TimeCode duration() const;
    bool isEqualToSubtitle(const SubtitleLine& other) const;
    void calculateTimeCodesFromFrameNumbers(double frameRate);
    QString description() const;

    bool isForced = false;
    bool isComment = false;
    bool isStartTimeError = false;
    bool isEndTimeError = false;
    int64_t number = 0;
    int64_t startFrame = 0;
    int64_t endFrame = 0;
    QString extra;
    QString actor;
    QString effect;
    int64_t layer = 0;
    QString subtitleLineId;
    QString language;
    QString style;
    int64_t startNumerator = 0;
    int64_t endNumerator = 0;
    QString mDescription;

signals:
    void startTimeChanged();
    void endTimeChanged();
    void textChanged();

private:
    double startTime_ = -1;
    double endTime_ = -1;
    QString startTimeString_;
    QString endTimeString_;
    QString text_;
    TimeCode startTimeCode_;
    TimeCode endTimeCode_;
};

} // namespace quillery
