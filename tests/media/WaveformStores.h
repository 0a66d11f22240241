// Waveform stores for tests, at 300 values a second as the extractor keeps them.
#pragma once

#include "WaveformStoreFile.h"

namespace quillery::test {

// An empty store for `seconds` of a source of this rate and channel count.
inline WaveformAudioDataStore emptyStore(double rate, uint32_t channels, double seconds) {
    const AudioStreamDescription source{rate, channels, 32};
    return WaveformAudioDataStore(source, {kWaveformValuesPerSecond, channels, 32}, seconds);
}

// A finished store of `seconds` of 48 kHz sound, each channel at its level throughout.
inline WaveformStorePtr storeOfLevels(double seconds, const std::vector<uint8_t>& levels) {
    const auto channels = static_cast<uint32_t>(levels.size());
    auto store = std::make_shared<WaveformAudioDataStore>(
        AudioStreamDescription{48000, channels, 32},
        AudioStreamDescription{kWaveformValuesPerSecond, channels, 32}, seconds);
    std::vector<std::vector<uint8_t>> data;
    for (const uint8_t level : levels)
        data.emplace_back(store->mTotalLength(), level);
    store->restore(std::move(data));
    return store;
}

} // namespace quillery::test
