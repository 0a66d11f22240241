// The playback engine behind the movie player: one movie (a file, or a preview assembled
// from a timeline) played through MLT with its sound sent to the sound card, each picture
// handed over as an image when it is shown. Only our own types appear here; MLT stays
// inside the media layer's sources.
//
// The engine loads only the MLT modules it uses (from a folder of links), so Debian's
// Qt 5 module never enters our Qt 6 process.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace quillery {

struct MoviePlayerItem;

// Starts the engine once per process; false when it cannot start.
bool initialiseMediaEngine();
// Closes the engine; every MoviePlayback must be gone by then.
void shutdownMediaEngine();

class MoviePlayback : public QObject {
    Q_OBJECT

public:
    explicit MoviePlayback(QObject* parent = nullptr);
    ~MoviePlayback() override;

    // Opens the movie paused at its first frame; withSound false plays it silently (a
    // second movie laid over the first).
    bool open(const MoviePlayerItem& movie, bool withSound = true);
    void close();
    bool isOpen() const;

    // The frame rate of the profile the engine derives from the file (or the preview's
    // frame duration), as a fraction.
    int frameRateNumerator() const;
    int frameRateDenominator() const;
    double frameRate() const;
    int frameCount() const;
    QSize frameSize() const;

    // 0 pauses on the picture shown; negative plays backwards.
    void setSpeed(double speed);
    double speed() const { return speed_; }
    // Lands exactly on the frame, playing or not.
    void seek(int frame);
    // The frame whose picture was shown last (the engine reads ahead of it).
    int shownFrame() const { return shownFrame_.load(); }

signals:
    void frameShown(const QImage& picture, int frame);

private:
    struct Engine;
    friend struct Engine;
    // On the engine's thread: copies the picture and passes it to our thread.
    void deliverFrame(void* frame);
    bool openFile(Engine& engine, const QString& path);
    bool start(std::unique_ptr<Engine> engine, bool withSound);
    // Makes the frame (without one, the frame on screen) the next to show; returns it.
    int awaitFrame(std::optional<int> frame = std::nullopt);
    // Playing lets every picture through once the awaited one has come.
    void stopAwaitingShownFrame();
    // Whether the picture of the frame is shown; if so, it becomes the frame shown.
    bool admitShownFrame(int position);

    std::unique_ptr<Engine> engine_;
    double speed_ = 0;
    std::atomic<bool> playing_{false};
    std::atomic<int> shownFrame_{0};
    // A seek and a picture arriving on the engine's thread set the frames below one at a
    // time: a picture let through just before a seek must not overwrite the seek's frame.
    std::mutex shownFrameLock_;
    // After a seek or a pause, the frame to show next: pictures the engine had already
    // made for other frames are dropped (paused, until the next seek; playing, until the
    // frame arrives or a few pictures have gone by; play goes on awaiting it if it has
    // not come yet).
    int awaitedFrame_ = -1;
    bool awaitedFrameArrived_ = false;
    int droppedFrames_ = 0;
};

} // namespace quillery
