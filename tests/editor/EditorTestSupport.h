// A shown script editor at 25 fps with doubles for its surroundings: a player whose clock
// the test moves, a delegate that records what it is told, and a log of the editor's
// notifications.
#pragma once

#include "FpsGuard.h"
#include "NotificationNames.h"
#include "QYMoviePlayerControl.h"
#include "QYNotificationCenter.h"
#include "SubtitleTextView.h"
#include "SubtitleTextViewDelegate.h"

#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace quillery::test {

class FakePlayer : public QYMoviePlayerControl {
public:
    bool hasMovie() const override { return true; }
    bool isPlaying() const override { return playing; }
    bool isRepeatingSubtitle() const override { return false; }
    MediaTime currentTime() const override { return MediaTime::makeWithSeconds(clock, 25000); }
    MediaTime duration() const override { return MediaTime::makeWithSeconds(length, 25000); }
    void play() override { playing = true, calls << "play"; }
    void stopRepeatPlaySubtitle(bool) override { playing = false, calls << "stop"; }
    void rewind() override { calls << "rewind"; }
    void fastForward() override { calls << "fastForward"; }
    void speedForward() override { calls << "speedForward"; }
    void speedBackward() override { calls << "speedBackward"; }
    void setCurrentTime(double seconds) override { clock = seconds; }

    bool playing = false;
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

class EditorTest : public testing::Test {
protected:
    void SetUp() override {
        view.setTextViewDelegate(&delegate);
        view.setMoviePlayer(&player);
        view.resize(600, 400);
        view.show();
    }
    void load(const QString& text) { view.replaceWholeText(text); }
    void select(qsizetype location, qsizetype length = 0) {
        view.setSelectedRange({location, length});
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view, key, modifiers);
    }
    QString text() const { return view.toPlainText(); }
    SubtitleLinePtr line(qsizetype i) const { return view.getAllSubtitles().value(i); }

    FpsGuard guard{25};
    FakePlayer player;
    RecordingDelegate delegate;
    SubtitleTextView view;
};

} // namespace quillery::test
