// Finished waveform stores kept in the user's cache folder, so that re-opening a movie
// shows its whole waveform at once. An entry is keyed by the movie's path, size,
// modification time and track: a changed movie misses the cache, and a damaged or stale
// entry is passed over and later rewritten.
#pragma once

#include "WaveformStoreFile.h"

namespace quillery {

class WaveformStoreCache {
public:
    // "waveforms" in QStandardPaths::CacheLocation.
    static QString defaultFolder();
    explicit WaveformStoreCache(QString folder = defaultFolder());

    // Path, size, modification time and track; empty when the movie is not a file.
    static QString sourceKey(const QString& moviePath, int track);
    // The complete store, or null when there is no valid entry.
    WaveformStorePtr load(const QString& moviePath, int track) const;
    bool save(const QString& moviePath, const WaveformAudioDataStore& store) const;

    QString entryPath(const QString& sourceKey) const;

private:
    QString folder_;
};

} // namespace quillery
