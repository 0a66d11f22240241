// The file form of finished waveform stores, shared by the on-disk cache and
// `quillery-cli waveform`. Little-endian throughout:
//
//   "QYWAVEF1"                      8 bytes
//   version                         uint32 (1)
//   source key length, source key   uint32, UTF-8 bytes (movie path, size, time, track)
//   store count                     uint32
//   per store: track number int32, source rate float64, channels uint32,
//              block size uint32, duration float64, value count uint32 (per channel),
//              then every channel's values in turn (one byte each)
//   MD5 of everything above         16 bytes
//
// A file that is cut short, has another checksum, or whose counts disagree with the rate
// and duration they come from is refused whole.
#pragma once

#include "WaveformAudioDataStore.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace quillery {

using WaveformStorePtr = std::shared_ptr<WaveformAudioDataStore>;

struct WaveformFileContents {
    QString sourceKey;
    std::vector<WaveformStorePtr> stores;
};

QByteArray encodeWaveformFile(const QString& sourceKey,
                              const std::vector<const WaveformAudioDataStore*>& stores);
std::optional<WaveformFileContents> decodeWaveformFile(const QByteArray& bytes);

} // namespace quillery
