// Reads one audio track into a WaveformAudioDataStore while the window stays live: a
// worker thread opens and decodes the source, and the decoded buffers are handed to the
// store on the thread that owns the extractor (the main thread), a few per turn of its
// event loop, so the waveform fills from left to right while the user plays and edits.
// A finished store can be kept in a WaveformStoreCache and is then restored at once.
#pragma once

#include "AudioSampleSource.h"
#include "WaveformStoreFile.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillery {

class WaveformStoreCache;
class WaveformStoreSink;
struct QuilleryMoviePlayerItem;

class MovieAudioExtractor : public QObject {
    Q_OBJECT

public:
    using SourceFactory = std::function<std::unique_ptr<AudioSampleSource>()>;

    MovieAudioExtractor();
    ~MovieAudioExtractor() override;

    void setExtractTrackNumber(int track) { extractTrackNumber_ = track; }
    int extractTrackNumber() const { return extractTrackNumber_; }
    void setWaveformLayer(std::shared_ptr<WaveformStoreSink> layer) { layer_ = std::move(layer); }
    // Where finished stores of movie files are kept; none by default.
    void setCache(const WaveformStoreCache* cache) { cache_ = cache; }

    // Reads the extractor's track of the item's main movie, the whole track (the two
    // times are accepted for the caller's sake and not used); of an assembled preview, its
    // audio tracks summed into one.
    void DoStartMovieAudioExtraction(const QuilleryMoviePlayerItem& item, double from, double to);
    // Reads any source, made on the worker thread; a non-empty moviePath names the file
    // the cache keys the finished store by.
    void startExtraction(SourceFactory makeSource, const QString& moviePath = QString());
    void stopExtracting();

    WaveformStorePtr mDataStore() const { return store_; }
    static double CalcBestSampleRate() { return kWaveformValuesPerSecond; }

signals:
    // 200 x the share of the track read so far.
    void progressChanged(int value);
    // The whole track has been read (not sent when stopped).
    void extractionFinished();

private:
    void decode(SourceFactory makeSource);
    void createStore(const AudioStreamDescription& description, double duration);
    void drainBuffers();
    void complete();
    void scheduleDrain();
    bool restoreFromCache();

    int extractTrackNumber_ = 0;
    std::shared_ptr<WaveformStoreSink> layer_;
    const WaveformStoreCache* cache_ = nullptr;
    WaveformStorePtr store_;
    QString moviePath_;
    double totalFrames_ = 0;
    double framesRead_ = 0;
    bool stopExtract_ = false;

    // Shared with the worker thread, under mutex_.
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable roomForBuffers_;
    std::deque<AudioBuffer> ready_;
    std::vector<AudioBuffer> spare_;
    bool workerStop_ = false;
    bool sourceEnded_ = false;
    bool drainScheduled_ = false;
};

} // namespace quillery
