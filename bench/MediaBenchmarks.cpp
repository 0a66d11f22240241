// Speed of the waveform and the player's tick: repainting a 1920-pixel waveform of a
// 2-hour movie, showing a cached 2-hour waveform, the level reduction itself, and the
// 30 Hz tick's own work with a 10,000-line script.
#include "QYMainWindowController.h"
#include "QYMoviePlayerViewController.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "SubtitleTextView.h"
#include "WaveformLayer.h"
#include "WaveformStoreCache.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr double kTwoHours = 2 * 3600;

// A complete stereo store of a 2-hour movie with a level that changes every value.
WaveformStorePtr twoHourStore() {
    AudioStreamDescription source{48000, 2, 32};
    AudioStreamDescription target = source;
    target.sampleRate = 300;
    auto store = std::make_shared<WaveformAudioDataStore>(source, target, kTwoHours);
    std::vector<std::vector<uint8_t>> channels(2, std::vector<uint8_t>(store->mTotalLength()));
    for (std::size_t i = 0; i < channels[0].size(); ++i) {
        channels[0][i] = static_cast<uint8_t>(i * 7 % 200);
        channels[1][i] = static_cast<uint8_t>(i * 13 % 200);
    }
    store->restore(std::move(channels));
    return store;
}

struct Settings {
    QTemporaryDir folder;
    QYSetting settings{folder.filePath("settings.json")};
};

void BM_WaveformRepaint1920(benchmark::State& state) {
    Settings preferences;
    preferences.settings.waveFormZoomRate = 0.5;
    WaveformLayer layer(preferences.settings);
    layer.setMCurrentDrawRect(QRectF(0, 0, 1920, 300));
    layer.addDataStore(twoHourStore());
    layer.setDisplayStyle(static_cast<int>(state.range(0)));
    QImage image(1920, 300, QImage::Format_RGB32);
    double origin = 0;
    for (auto _ : state) {
        // A different stretch of the movie each time, playhead inside the window.
        origin = origin + 50000 > layer.getTotalLength() - 1920 ? 0 : origin + 50000;
        layer.setNewOriginX(origin);
        image.fill(Qt::white);
        QPainter painter(&image);
        layer.draw(painter);
    }
}
BENCHMARK(BM_WaveformRepaint1920)
    ->Arg(WaveformLayer::BothChannels)
    ->Arg(WaveformLayer::LeftChannel)
    ->Unit(benchmark::kMicrosecond);

void BM_CachedTwoHourWaveformShown(benchmark::State& state) {
    QTemporaryDir folder;
    const QString movie = folder.filePath("movie.mp4");
    QFile file(movie);
    file.open(QIODevice::WriteOnly);
    file.write("a movie's bytes");
    file.close();
    const WaveformStoreCache cache(folder.filePath("cache"));
    WaveformStorePtr store = twoHourStore();
    cache.save(movie, *store);
    store.reset();
    Settings preferences;
    QImage image(1920, 300, QImage::Format_RGB32);
    for (auto _ : state) {
        WaveformLayer layer(preferences.settings);
        layer.setMCurrentDrawRect(QRectF(0, 0, 1920, 300));
        layer.addDataStore(cache.load(movie, 0));
        QPainter painter(&image);
        layer.draw(painter);
    }
}
BENCHMARK(BM_CachedTwoHourWaveformShown)->Unit(benchmark::kMillisecond);

void BM_LevelReductionPerSecondOfStereo(benchmark::State& state) {
    AudioStreamDescription source{48000, 2, 32};
    AudioStreamDescription target = source;
    target.sampleRate = 300;
    std::vector<float> samples(2 * 4096);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(i % 97) / 97.0f;
    for (auto _ : state) {
        WaveformAudioDataStore store(source, target, 1.0);
        for (int frames = 0; frames < 48000; frames += 4096)
            store.addSamples(samples.data(), std::min(4096, 48000 - frames));
        benchmark::DoNotOptimize(store.getData(0, 10));
    }
}
BENCHMARK(BM_LevelReductionPerSecondOfStereo)->Unit(benchmark::kMicrosecond);

QString tenThousandLines() {
    QString script;
    for (int i = 0; i < 10000; ++i) {
        const int start = i * 3;
        script += QString::asprintf("[%02d:%02d:%02d.00]Line %d[%02d:%02d:%02d.12]\n", start / 3600,
                                    start / 60 % 60, start % 60, i, start / 3600, start / 60 % 60,
                                    (start + 2) % 60);
    }
    script.chop(1);
    return script;
}

void BM_TimeTickWithTenThousandLines(benchmark::State& state) {
    QYTimeUtility::sharedInstance().setFPS(25);
    Settings preferences;
    QYMainWindowController window(nullptr, &preferences.settings);
    window.resize(1400, 900);
    window.show();
    window.replaceTextInTextView(tenThousandLines());
    QApplication::processEvents();
    QYMoviePlayerViewController& player = *window.moviePlayer();
    double t = 15000;
    for (auto _ : state) {
        // From the middle of the script on, where the line queries scan longest.
        t = t > 29900 ? 15000 : t + 1.0 / 30;
        player.timeTick(t);
    }
}
BENCHMARK(BM_TimeTickWithTenThousandLines)->Unit(benchmark::kMicrosecond);

} // namespace
