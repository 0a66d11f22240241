// The test movies, made with ffmpeg by make-test-media.sh once per build folder (ctest
// runs it as a fixture before the tests that need them; a test binary started by hand
// makes them itself).
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <gtest/gtest.h>

namespace quillery::test {

class TestMedia {
public:
    static const TestMedia& shared() {
        static const TestMedia media;
        return media;
    }
    static bool available() { return !QStandardPaths::findExecutable("ffmpeg").isEmpty(); }

    static QString path(const QString& name) {
        return QStringLiteral(QUILLERY_TEST_MEDIA_DIR "/") + name;
    }
    // 60 s at 25 fps, 160 x 90, stereo AAC: a sine of amplitude 0.5 on the left, silence
    // on the right.
    QString movie() const { return path("movie.mp4"); }
    // 12 s, two stereo audio tracks of sines.
    QString twoTracks() const { return path("two-tracks.mkv"); }
    // 12 s of video only.
    QString noAudio() const { return path("no-audio.mp4"); }
    // Exactly 10.0 s.
    QString tenSeconds() const { return path("ten-seconds.mp4"); }
    // 10.5 s of mono 48 kHz float PCM: 0.5 for 1 s, 1.3 for 1 s, 0.001 for 1 s, then 0.
    QString levels() const { return path("levels.wav"); }
    bool made() const { return made_; }

private:
    TestMedia() {
        QProcess script;
        script.start("bash", {QUILLERY_TEST_MEDIA_SCRIPT, QUILLERY_TEST_MEDIA_DIR});
        made_ = script.waitForFinished(180000) && script.exitCode() == 0;
    }

    bool made_ = false;
};

// Runs the event loop until `done` holds or the time is up; whether it holds.
inline bool waitFor(const std::function<bool()>& done, int milliseconds = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Skips the test when ffmpeg is missing, fails it when the media could not be made.
#define QUILLERY_REQUIRE_TEST_MEDIA()                                                              \
    do {                                                                                           \
        if (!test::TestMedia::available())                                                         \
            GTEST_SKIP() << "ffmpeg is not installed";                                             \
        ASSERT_TRUE(test::TestMedia::shared().made());                                             \
    } while (false)

} // namespace quillery::test
