#include "PreviewRenderer.h"

#include "CompositionProducer.h"
#include "Localization.h"
#include "MediaEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <memory>
#include <mlt++/Mlt.h>

namespace quillery {

namespace {

// How often the rendering's progress is reported.
constexpr int kProgressIntervalMs = 50;
// Starts of a consumer whose thread ended before taking a frame.
constexpr int kAttempts = 3;

bool takesH264(const QString& path) {
    static const QStringList kContainers = {"mp4", "m4v", "mov", "mkv"};
    return kContainers.contains(QFileInfo(path).suffix().toLower());
}

void chooseCodecs(Mlt::Consumer& consumer, const QString& path) {
    consumer.set("frequency", 48000);
    consumer.set("channels", 2);
    if (!takesH264(path))
        return;
    consumer.set("vcodec", "libx264");
    consumer.set("preset", "veryfast");
    consumer.set("crf", 18);
    consumer.set("pix_fmt", "yuv420p");
    consumer.set("acodec", "aac");
    consumer.set("ab", "192k");
}

// What the consumer's thread reports. Its own stopped state cannot be polled: the consumer
// marks itself running only after starting its thread, so a thread that gets there first
// finds itself stopped, ends without taking a frame, and is then left marked running.
struct ConsumerReport {
    std::atomic<bool> stopped = false;
    std::atomic<int> framesShown = 0;
};

void onConsumerStopped(mlt_properties, void* report, mlt_event_data) {
    static_cast<ConsumerReport*>(report)->stopped = true;
}

void onFrameShown(mlt_properties, void* report, mlt_event_data) {
    ++static_cast<ConsumerReport*>(report)->framesShown;
}

enum class Pass { Finished, Idle, Cancelled, Failed };

// One pass over the composition from its start, at normal speed: a producer found paused
// ends the rendering at once. Idle when the consumer's thread ended before taking a frame.
Pass renderPass(Mlt::Consumer& consumer, Mlt::Producer& producer,
                const PreviewRenderProgress& progress) {
    ConsumerReport report;
    const std::unique_ptr<Mlt::Event> stoppedEvent(
        consumer.listen("consumer-stopped", &report, &onConsumerStopped));
    const std::unique_ptr<Mlt::Event> shownEvent(
        consumer.listen("consumer-frame-show", &report, &onFrameShown));
    producer.seek(0);
    producer.set_speed(1);
    if (consumer.start() != 0)
        return Pass::Failed;
    const double length = std::max(1, producer.get_length());
    while (!report.stopped) {
        if (progress && !progress(std::min(1.0, producer.position() / length))) {
            consumer.stop();
            return Pass::Cancelled;
        }
        QThread::msleep(kProgressIntervalMs);
    }
    consumer.stop();
    return report.framesShown > 0 ? Pass::Finished : Pass::Idle;
}

PreviewRenderResult failed(const QString& path) {
    QFile::remove(path);
    return {PreviewRenderResult::Status::Failed,
            localized("The preview could not be written to \"%1\".").arg(path)};
}

} // namespace

PreviewRenderResult renderPreview(const MoviePlayerItem& preview, const QString& path,
                                  const PreviewRenderProgress& progress) {
    if (!preview.composition || !initialiseMediaEngine())
        return failed(path);
    Mlt::Profile profile;
    setProfileForComposition(profile, *preview.composition);
    const std::unique_ptr<Mlt::Producer> producer =
        makeCompositionProducer(profile, *preview.composition);
    Mlt::Consumer consumer(profile, "avformat", QFile::encodeName(path).constData());
    if (!consumer.is_valid())
        return failed(path);
    chooseCodecs(consumer, path);
    // Every frame, however long it takes, and stop at the end.
    consumer.set("real_time", -1);
    consumer.set("terminate_on_pause", 1);
    consumer.connect(*producer);
    Pass pass = Pass::Idle;
    for (int attempt = 0; attempt < kAttempts && pass == Pass::Idle; ++attempt)
        pass = renderPass(consumer, *producer, progress);
    if (pass == Pass::Cancelled) {
        QFile::remove(path);
        return {PreviewRenderResult::Status::Cancelled, QString()};
    }
    if (pass != Pass::Finished || QFileInfo(path).size() <= 0)
        return failed(path);
    if (progress)
        progress(1.0);
    return {PreviewRenderResult::Status::Written, QString()};
}

} // namespace quillery
