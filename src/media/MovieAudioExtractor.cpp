#include "MovieAudioExtractor.h"

#include "NotificationNames.h"
#include "QYLog.h"
#include "QYNotificationCenter.h"
#include "QuilleryMoviePlayerItem.h"
#include "WaveformStoreCache.h"
#include "WaveformStoreSink.h"

#include <QElapsedTimer>

namespace quillery {

namespace {

// Decoded buffers waiting for the main thread; the decoder waits when this many are.
constexpr std::size_t kMostBuffersWaiting = 16;
// The main thread is woken for this many buffers at a time (about 0.7 s of 48 kHz sound,
// decoded in a millisecond or two): waking it for every buffer costs more than reducing it.
constexpr std::size_t kBuffersPerHandOver = 8;
// The main thread's share of one event-loop turn, so the window stays responsive.
constexpr qint64 kDrainBudgetNanoseconds = 4'000'000;

} // namespace

MovieAudioExtractor::MovieAudioExtractor() = default;

MovieAudioExtractor::~MovieAudioExtractor() {
    stopExtracting();
    QY_DBG("Remove Extractor, release resource");
}

void MovieAudioExtractor::DoStartMovieAudioExtraction(const QuilleryMoviePlayerItem& item, double,
                                                      double) {
    if (!item.mainMovie)
        return;
    if (const std::shared_ptr<const PreviewComposition> preview = item.mainMovie->composition) {
        startExtraction([preview] { return openCompositionAudioSource(*preview); });
        return;
    }
    const QString path = item.mainMovie->path;
    const int track = extractTrackNumber_;
    startExtraction([path, track] { return openMovieAudioSource(path, track); }, path);
}

void MovieAudioExtractor::startExtraction(SourceFactory makeSource, const QString& moviePath) {
    stopExtracting();
    stopExtract_ = false;
    moviePath_ = moviePath;
    store_.reset();
    emit progressChanged(0);
    if (restoreFromCache())
        return;
    {
        const std::lock_guard guard(mutex_);
        workerStop_ = sourceEnded_ = drainScheduled_ = false;
        ready_.clear();
    }
    worker_ = std::thread([this, makeSource = std::move(makeSource)] { decode(makeSource); });
}

bool MovieAudioExtractor::restoreFromCache() {
    if (cache_ == nullptr || moviePath_.isEmpty())
        return false;
    WaveformStorePtr cached = cache_->load(moviePath_, extractTrackNumber_);
    if (!cached)
        return false;
    store_ = std::move(cached);
    if (layer_)
        layer_->addDataStore(store_);
    complete();
    return true;
}

void MovieAudioExtractor::stopExtracting() {
    stopExtract_ = true;
    if (worker_.joinable()) {
        {
            const std::lock_guard guard(mutex_);
            workerStop_ = true;
        }
        roomForBuffers_.notify_all();
        worker_.join();
        QY_DBG("Stop extracting");
    }
    const std::lock_guard guard(mutex_);
    ready_.clear();
    spare_.clear();
}

// --- The worker thread ------------------------------------------------------------------

void MovieAudioExtractor::decode(SourceFactory makeSource) {
    std::unique_ptr<AudioSampleSource> source = makeSource();
    const AudioStreamDescription description = source->description();
    const double duration = source->duration();
    QMetaObject::invokeMethod(
        this, [this, description, duration] { createStore(description, duration); },
        Qt::QueuedConnection);
    bool more = description.sampleRate > 0;
    while (more) {
        AudioBuffer buffer;
        {
            std::unique_lock lock(mutex_);
            roomForBuffers_.wait(
                lock, [this] { return workerStop_ || ready_.size() < kMostBuffersWaiting; });
            if (workerStop_)
                return;
            if (!spare_.empty()) {
                buffer = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        more = source->readNextBuffer(buffer);
        const std::lock_guard guard(mutex_);
        if (more)
            ready_.push_back(std::move(buffer));
        if (ready_.size() >= kBuffersPerHandOver)
            scheduleDrain();
    }
    const std::lock_guard guard(mutex_);
    sourceEnded_ = true;
    scheduleDrain();
}

// Called with mutex_ held.
void MovieAudioExtractor::scheduleDrain() {
    if (drainScheduled_)
        return;
    drainScheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { drainBuffers(); }, Qt::QueuedConnection);
}

// --- The owning thread --------------------------------------------------------------------

void MovieAudioExtractor::createStore(const AudioStreamDescription& description, double duration) {
    if (stopExtract_)
        return;
    AudioStreamDescription target = description;
    target.sampleRate = CalcBestSampleRate();
    QY_DBG("The channel count is : %d", int(description.channelsPerFrame));
    QY_DBG("The sample rate is : %f", description.sampleRate);
    QY_DBG("The bit depth is : %d", int(description.bitsPerChannel));
    store_ = std::make_shared<WaveformAudioDataStore>(description, target, duration);
    store_->setTrackNumber(extractTrackNumber_);
    totalFrames_ = duration * description.sampleRate;
    framesRead_ = 0;
    if (layer_)
        layer_->addDataStore(store_);
}

void MovieAudioExtractor::drainBuffers() {
    if (stopExtract_ || !store_)
        return;
    QElapsedTimer budget;
    budget.start();
    bool ended = false;
    while (true) {
        AudioBuffer buffer;
        {
            const std::lock_guard guard(mutex_);
            if (ready_.empty()) {
                drainScheduled_ = false;
                ended = sourceEnded_;
                break;
            }
            if (budget.nsecsElapsed() > kDrainBudgetNanoseconds) {
                QMetaObject::invokeMethod(
                    this, [this] { drainBuffers(); }, Qt::QueuedConnection);
                break;
            }
            buffer = std::move(ready_.front());
            ready_.pop_front();
        }
        roomForBuffers_.notify_one();
        store_->addSamples(buffer.samples.data(), buffer.frames);
        framesRead_ += static_cast<double>(buffer.frames);
        const std::lock_guard guard(mutex_);
        spare_.push_back(std::move(buffer));
    }
    if (totalFrames_ > 0)
        emit progressChanged(static_cast<int>(std::min(1.0, framesRead_ / totalFrames_) * 200));
    if (ended) {
        if (cache_ && !moviePath_.isEmpty() && store_->mTotalLength() > 0)
            cache_->save(moviePath_, *store_);
        complete();
    } else if (layer_) {
        layer_->setNeedsDisplay();
    }
}

void MovieAudioExtractor::complete() {
    {
        // A finished track holds its store and nothing more.
        const std::lock_guard guard(mutex_);
        spare_ = {};
    }
    store_->setLoadComplete(true);
    emit progressChanged(200);
    if (layer_)
        layer_->setNeedsDisplay();
    QYNotificationCenter::sharedInstance().postNotificationName(kLoadWaveFormFinishedNotification);
    emit extractionFinished();
}

} // namespace quillery
