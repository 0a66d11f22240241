#include "WaveformCommand.h"

#include "MovieAudioExtractor.h"
#include "QuilleryMoviePlayerItem.h"
#include "WaveformStoreCache.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>

namespace quillery::cli {

WaveformRun extractWaveforms(const QString& moviePath, int track) {
    WaveformRun run;
    if (!QFileInfo(moviePath).isFile()) {
        run.error = QStringLiteral("Can not read %1: no such file.").arg(moviePath);
        return run;
    }
    QElapsedTimer clock;
    clock.start();
    QuilleryMoviePlayerItem item;
    item.mainMovie = MoviePlayerItem::fromFile(moviePath);
    const int tracks = item.mainMovie->probe.audioTrackCount;
    if (!item.mainMovie->probe.opened || tracks == 0 || track >= tracks) {
        run.error = track >= tracks && tracks > 0
                        ? QStringLiteral("%1 has no audio track %2.").arg(moviePath).arg(track)
                        : QStringLiteral("%1 has no audio to read.").arg(moviePath);
        return run;
    }
    const int first = track == kAllTracks ? 0 : track;
    const int last = track == kAllTracks ? tracks - 1 : track;
    std::vector<std::unique_ptr<MovieAudioExtractor>> extractors;
    QEventLoop loop;
    int running = 0;
    for (int t = first; t <= last; ++t) {
        extractors.push_back(std::make_unique<MovieAudioExtractor>());
        MovieAudioExtractor& extractor = *extractors.back();
        extractor.setExtractTrackNumber(t);
        QObject::connect(&extractor, &MovieAudioExtractor::extractionFinished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
        ++running;
        extractor.DoStartMovieAudioExtraction(item, 0, item.mainMovie->duration());
    }
    if (running > 0)
        loop.exec();
    std::vector<const WaveformAudioDataStore*> stores;
    for (const auto& extractor : extractors)
        stores.push_back(extractor->mDataStore().get());
    run.file = encodeWaveformFile(WaveformStoreCache::sourceKey(moviePath, track), stores);
    run.trackCount = static_cast<int>(stores.size());
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return run;
}

} // namespace quillery::cli
