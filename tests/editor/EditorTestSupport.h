// Doubles for the script editor's surroundings: a player whose clock the test moves, a
// delegate that records what it is told, and a log of the editor's notifications.
#pragma once

#include "NotificationNames.h"
#include "QYMoviePlayerControl.h"
#include "QYNotificationCenter.h"
#include "QYTimeUtility.h"
#include "SubtitleTextView.h"
#include "SubtitleTextViewDelegate.h"

#include <QStringList>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace quillery::test {

class FakePlayer : public QYMoviePlayerControl {
public:
    bool hasMovie() const override { return loaded; }
    bool isPlaying() const override { return playing; }
    bool isRepeatingSubtitle() const override { return repeating; }
    MediaTime currentTime() const override { return MediaTime::makeWithSeconds(clock, 25000); }
    MediaTime duration() const override { return MediaTime::makeWithSeconds(length, 25000); }
    void play() override { playing = true, calls << "play"; }
    void stopRepeatPlaySubtitle(bool) override {
        playing = repeating = false;
        calls << "stop";
    }
    void rewind() override { calls << "rewind"; }
    void fastForward() override { calls << "fastForward"; }
    void speedForward() override { calls << "speedForward"; }
    void speedBackward() override { calls << "speedBackward"; }
    void setCurrentTime(double seconds) override {
        clock = seconds;
        calls << QString("seek %1").arg(seconds);
    }

    bool loaded = true;
    bool playing = false;
    bool repeating = false;
    double clock = 0;
    double length = 600;
    QStringList calls;
};

class RecordingDelegate : public SubtitleTextViewDelegate {
public:
    void textViewDidChange() override { ++changes; }
    bool shouldResignFirstResponder() override { return true; }
    void didDragFileIntoTextView(const QList<QUrl>& files) override { dropped += files; }
    void didSelectedTimeCode(const MediaTime& time) override { selectedTimes << time.seconds(); }
    void decreaseWaveFormSlider() override { zoom << "x-"; }
    void increaseWaveFormSlider() override { zoom << "x+"; }
    void decreaseWaveFormYAxisZoomRate() override { zoom << "y-"; }
    void increaseWaveFormYAxisZoomRate() override { zoom << "y+"; }

    int changes = 0;
    QList<QUrl> dropped;
    QList<double> selectedTimes;
    QStringList zoom;
};

// Records the editor's add and delete notifications as "add 0", "delete 1", ...
class NotificationLog {
public:
    NotificationLog() {
        for (const QString& name : {kAddSubtitleLineToWaveFormNotification,
                                    kDeleteSubtitleLineFromWaveFormNotification}) {
            QYNotificationCenter::sharedInstance().addObserver(this, name, [this](const auto& n) {
                const bool added = n.name == kAddSubtitleLineToWaveFormNotification;
                entries << QString("%1 %2").arg(added ? "add" : "delete").arg(n.index());
                lines.append(n.subtitleLine());
            });
        }
    }
    ~NotificationLog() { QYNotificationCenter::sharedInstance().removeObserver(this); }
    void clear() {
        entries.clear();
        lines.clear();
    }

    QStringList entries;
    QList<SubtitleLinePtr> lines;
};

// Every text line has its record, and each record reads as its line.
inline void expectRecordsMatchText(const SubtitleTextView& view) {
    const QStringList textLines = view.toPlainText().split(u'\n');
    const auto& records = view.getAllSubtitles();
    ASSERT_EQ(records.size(), textLines.size()) << view.toPlainText().toStdString();
    for (qsizetype i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i]->getSubtitleLineString(), textLines[i]) << "line " << i;
}

} // namespace quillery::test
