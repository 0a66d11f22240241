#include "MediaEngine.h"

#include "CompositionProducer.h"
#include "QuilleryMoviePlayerItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <mlt++/Mlt.h>
#include <mutex>

namespace quillery {

namespace {

// The modules playback needs; the Qt 5 and other heavy modules of the system folder are
// left out.
const char* const kModules[] = {"core", "avformat",  "sdl2",     "xml",
                                "plus", "normalize", "resample", "rtaudio"};

std::mutex engineMutex;
Mlt::Repository* repository = nullptr;

// Points the link at the target in one step, so that its name is never missing: the new
// link is made in the staging folder (the engine loads whatever the module folder holds)
// and moved over the old one.
void replaceLink(const QString& link, const QString& target, const QString& staging) {
    const QString staged = QStringLiteral("%1/%2.%3")
                               .arg(staging, QFileInfo(link).fileName())
                               .arg(QCoreApplication::applicationPid());
    QFile::remove(staged);
    if (QFile::link(target, staged) && std::rename(QFile::encodeName(staged).constData(),
                                                   QFile::encodeName(link).constData()) != 0)
        QFile::remove(staged);
}

// A folder holding links to the modules we use. Every engine of ours on the machine (a
// second editor, test programs run side by side) starts from the same folder while others
// may be reading it, so a link is only replaced when it no longer leads to the system's
// module (an updated system), and never taken away meanwhile.
QString moduleFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString folder = cache + "/mlt-modules";
    QDir().mkpath(folder);
    for (const char* name : kModules) {
        const QString file = QStringLiteral("libmlt%1.so").arg(QLatin1String(name));
        const QString module = QStringLiteral(QUILLERY_MLT_MODULE_DIR "/") + file;
        const QString link = folder + u'/' + file;
        if (QFileInfo(link).symLinkTarget() != module)
            replaceLink(link, module, cache);
    }
    return folder;
}

} // namespace

bool initialiseMediaEngine() {
    const std::lock_guard guard(engineMutex);
    if (repository == nullptr) {
        // SDL would otherwise take SIGINT and SIGTERM for itself, and the editor would no
        // longer end when the system asks it to.
        qputenv("SDL_NO_SIGNAL_HANDLERS", "1");
        mlt_log_set_level(MLT_LOG_QUIET);
        repository = Mlt::Factory::init(QFile::encodeName(moduleFolder()).constData());
    }
    return repository != nullptr;
}

void shutdownMediaEngine() {
    const std::lock_guard guard(engineMutex);
    if (repository != nullptr)
        Mlt::Factory::close();
    repository = nullptr;
}

struct MoviePlayback::Engine {
    // A movie file stays open for as long as it plays, and the engine reads it through
    // this handle: the engine opens files again while playing, and a movie deleted or
    // moved meanwhile must not leave it without one.
    QFile movie;
    Mlt::Profile profile;
    std::unique_ptr<Mlt::Producer> producer;
    std::unique_ptr<Mlt::Consumer> consumer;
    std::unique_ptr<Mlt::Event> frameShownEvent;

    static void onFrameShown(mlt_properties, void* self, mlt_event_data data) {
        static_cast<MoviePlayback*>(self)->deliverFrame(mlt_event_data_to_frame(data));
    }

    ~Engine() {
        // The consumer goes first: it stops its thread before the producer it reads dies.
        if (consumer)
            consumer->stop();
        frameShownEvent.reset();
        consumer.reset();
        producer.reset();
    }
};

MoviePlayback::MoviePlayback(QObject* parent) : QObject(parent) {}

MoviePlayback::~MoviePlayback() {
    close();
}

bool MoviePlayback::open(const MoviePlayerItem& movie, bool withSound) {
    close();
    if (!initialiseMediaEngine())
        return false;
    auto engine = std::make_unique<Engine>();
    if (movie.composition) {
        setProfileForComposition(engine->profile, *movie.composition);
        engine->producer = makeCompositionProducer(engine->profile, *movie.composition);
    } else if (!openFile(*engine, movie.path)) {
        return false;
    }
    return start(std::move(engine), withSound);
}

bool MoviePlayback::openFile(Engine& engine, const QString& path) {
    engine.movie.setFileName(path);
    if (!engine.movie.open(QIODevice::ReadOnly))
        return false;
    const QByteArray resource =
        "avformat:/proc/self/fd/" + QByteArray::number(engine.movie.handle());
    {
        // The profile (rate, size) comes from the file; the producer is then made again
        // for that profile.
        Mlt::Producer probe(engine.profile, resource.constData());
        if (!probe.is_valid())
            return false;
        engine.profile.from_producer(probe);
        engine.profile.set_explicit(1);
    }
    engine.producer = std::make_unique<Mlt::Producer>(engine.profile, resource.constData());
    return true;
}

bool MoviePlayback::start(std::unique_ptr<Engine> engine, bool withSound) {
    if (!engine->producer->is_valid() || engine->producer->get_length() <= 0)
        return false;
    if (!withSound)
        engine->producer->set("audio_index", -1);
    engine->consumer = std::make_unique<Mlt::Consumer>(engine->profile, "sdl2_audio");
    if (!engine->consumer->is_valid())
        return false;
    engine->consumer->set("terminate_on_pause", 0);
    engine->consumer->set("scrub_audio", 1);
    // A silent movie opens no sound device at all: two players opening theirs at once
    // race in SDL's start-up, and the second may not get the device asked for.
    if (!withSound)
        engine->consumer->set("audio_off", 1);
    engine->consumer->connect(*engine->producer);
    engine->frameShownEvent.reset(engine->consumer->listen(
        "consumer-frame-show", this, reinterpret_cast<mlt_listener>(&Engine::onFrameShown)));
    engine->producer->set_speed(0);
    engine->producer->seek(0);
    shownFrame_ = 0;
    speed_ = 0;
    if (engine->consumer->start() != 0)
        return false;
    engine_ = std::move(engine);
    engine_->consumer->set("refresh", 1);
    return true;
}

void MoviePlayback::close() {
    engine_.reset();
    speed_ = 0;
    playing_ = false;
    shownFrame_ = 0;
    awaitedFrame_ = -1;
}

bool MoviePlayback::isOpen() const {
    return engine_ != nullptr;
}

int MoviePlayback::frameRateNumerator() const {
    return engine_ ? engine_->profile.frame_rate_num() : 0;
}

int MoviePlayback::frameRateDenominator() const {
    return engine_ ? engine_->profile.frame_rate_den() : 1;
}

double MoviePlayback::frameRate() const {
    return engine_ ? engine_->profile.fps() : 0;
}

int MoviePlayback::frameCount() const {
    return engine_ ? engine_->producer->get_length() : 0;
}

QSize MoviePlayback::frameSize() const {
    return engine_ ? QSize(engine_->profile.width(), engine_->profile.height()) : QSize();
}

void MoviePlayback::setSpeed(double speed) {
    if (!engine_ || speed == speed_)
        return;
    speed_ = speed;
    playing_ = speed != 0;
    if (speed == 0) {
        // Hold the picture on screen: the producer runs ahead of it, so go back there.
        const int held = awaitFrame();
        engine_->producer->set_speed(0);
        engine_->producer->seek(held);
        engine_->consumer->purge();
    } else {
        stopAwaitingShownFrame();
        engine_->producer->set_speed(speed);
    }
    // After a pause the consumer waits for a refresh as well as the speed.
    engine_->consumer->set("refresh", 1);
}

void MoviePlayback::seek(int frame) {
    if (!engine_)
        return;
    frame = std::clamp(frame, 0, std::max(0, frameCount() - 1));
    // The tick reads the frame before its picture arrives: the seek is what the user sees
    // next.
    awaitFrame(frame);
    engine_->producer->seek(frame);
    engine_->consumer->purge();
    engine_->consumer->set("refresh", 1);
}

int MoviePlayback::awaitFrame(std::optional<int> frame) {
    const std::lock_guard guard(shownFrameLock_);
    if (frame)
        shownFrame_ = *frame;
    droppedFrames_ = 0;
    awaitedFrameArrived_ = false;
    awaitedFrame_ = shownFrame_;
    return awaitedFrame_;
}

void MoviePlayback::stopAwaitingShownFrame() {
    // Playing from a seek whose picture is still to come, the pictures made before the seek
    // stay out.
    const std::lock_guard guard(shownFrameLock_);
    if (awaitedFrameArrived_)
        awaitedFrame_ = -1;
}

bool MoviePlayback::admitShownFrame(int position) {
    // Playing, a frame that never comes must not freeze the picture: a few are enough.
    constexpr int kMostDroppedWhilePlaying = 12;
    const std::lock_guard guard(shownFrameLock_);
    const bool admitted = awaitedFrame_ < 0 || position == awaitedFrame_ ||
                          (playing_ && ++droppedFrames_ > kMostDroppedWhilePlaying);
    if (!admitted)
        return false;
    awaitedFrameArrived_ = true;
    if (playing_)
        awaitedFrame_ = -1;
    shownFrame_ = position;
    return true;
}

void MoviePlayback::deliverFrame(void* frame) {
    if (frame == nullptr)
        return;
    Mlt::Frame shown(static_cast<mlt_frame>(frame));
    const int position = shown.get_position();
    mlt_image_format format = mlt_image_rgba;
    int width = 0;
    int height = 0;
    const uint8_t* pixels = shown.get_image(format, width, height);
    // Decided with the picture made, not before: a seek meanwhile makes it a stale one.
    if (!admitShownFrame(position))
        return;
    if (pixels == nullptr || width <= 0 || height <= 0 || format != mlt_image_rgba)
        return;
    QImage picture = QImage(pixels, width, height, width * 4, QImage::Format_RGBA8888).copy();
    QMetaObject::invokeMethod(
        this,
        [this, picture = std::move(picture), position] { emit frameShown(picture, position); },
        Qt::QueuedConnection);
}

} // namespace quillery
