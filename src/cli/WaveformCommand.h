// `quillery-cli waveform`: the editor's own extractors read a movie's audio tracks into
// waveform stores, which are returned in the waveform file form (WaveformStoreFile.h).
#pragma once

#include <QByteArray>
#include <QString>

namespace quillery::cli {

inline constexpr int kAllTracks = -1;

struct WaveformRun {
    QByteArray file; // the stores, encoded
    int trackCount = 0;
    double seconds = 0; // the extraction's wall time
    QString error;      // why nothing was extracted
};

// Runs the extractors on the calling thread's event loop until every track is read.
WaveformRun extractWaveforms(const QString& moviePath, int track);

} // namespace quillery::cli
