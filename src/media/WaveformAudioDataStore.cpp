#include "WaveformAudioDataStore.h"

#include <algorithm>
#include <cmath>

namespace quillery {

namespace {

// Full scale (a sample of magnitude 1.0) is 200; louder samples saturate at 255.
constexpr float kFullScaleLevel = 200.0f;
constexpr float kSaturatedLevel = 255.0f;

} // namespace

uint8_t calcSamepleFromDataBlock(const float* samples, std::size_t count, std::size_t stride,
                                 uint8_t level) {
    // The level is monotonic in |x|, so the loudest sample decides it: one conversion per
    // block instead of one per sample. NaN never compares above and is passed over.
    float loudest = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        const float magnitude = std::fabs(samples[i * stride]);
        if (magnitude > loudest)
            loudest = magnitude;
    }
    const float v = loudest * kFullScaleLevel;
    if (!(v > static_cast<float>(level)))
        return level;
    return v > kSaturatedLevel ? 255 : static_cast<uint8_t>(v);
}

WaveformAudioDataStore::WaveformAudioDataStore(const AudioStreamDescription& source,
                                               const AudioStreamDescription& target, double length)
    : source_(source), target_(target), length_(length) {
    // Both truncated: 160 source frames a value at 48 kHz, 147 at 44.1 kHz.
    const double block = target.sampleRate > 0 ? source.sampleRate / target.sampleRate : 0;
    blockSize_ = block >= 1 && block < 65536 ? static_cast<uint16_t>(block) : 0;
    totalLength_ = totalLengthFor(target, length);
    data_.assign(source.channelsPerFrame, std::vector<uint8_t>(totalLength_, 0));
    openBlockPeak_.assign(source.channelsPerFrame, 0);
}

uint32_t WaveformAudioDataStore::totalLengthFor(const AudioStreamDescription& target,
                                                double length) {
    const double values = length > 0 ? target.sampleRate * length : 0;
    return values < 4294967295.0 ? static_cast<uint32_t>(values) : 0;
}

void WaveformAudioDataStore::addSamples(const float* interleaved, std::size_t frames) {
    const std::size_t channels = data_.size();
    if (blockSize_ == 0 || channels == 0)
        return;
    std::size_t position = 0;
    while (position < frames) {
        if (openBlockFrames_ == blockSize_)
            storeOpenBlock(); // a later frame has arrived: the full block is final
        const std::size_t take =
            std::min<std::size_t>(blockSize_ - openBlockFrames_, frames - position);
        const float* first = interleaved + position * channels;
        for (std::size_t c = 0; c < channels; ++c)
            openBlockPeak_[c] =
                calcSamepleFromDataBlock(first + c, take, channels, openBlockPeak_[c]);
        openBlockFrames_ += static_cast<uint32_t>(take);
        position += take;
    }
}

void WaveformAudioDataStore::storeOpenBlock() {
    if (writeIndex_ < totalLength_) {
        for (std::size_t c = 0; c < data_.size(); ++c)
            data_[c][writeIndex_] = openBlockPeak_[c];
    }
    ++writeIndex_;
    openBlockFrames_ = 0;
    std::fill(openBlockPeak_.begin(), openBlockPeak_.end(), 0);
}

uint8_t WaveformAudioDataStore::getData(int channel, uint32_t index) const {
    if (channel < 0 || static_cast<std::size_t>(channel) >= data_.size() || index >= totalLength_)
        return 0;
    return data_[channel][index];
}

uint8_t WaveformAudioDataStore::getAveragedChannelData(uint32_t index) const {
    const std::lock_guard guard(lock_);
    if (index >= totalLength_ || data_.empty())
        return 0;
    unsigned sum = 0;
    for (const std::vector<uint8_t>& channel : data_)
        sum += channel[index];
    return static_cast<uint8_t>(sum / data_.size());
}

bool WaveformAudioDataStore::restore(std::vector<std::vector<uint8_t>> channels) {
    if (channels.size() != data_.size())
        return false;
    for (const std::vector<uint8_t>& channel : channels) {
        if (channel.size() != totalLength_)
            return false;
    }
    data_ = std::move(channels);
    writeIndex_ = totalLength_;
    mReadComplete = true;
    return true;
}

} // namespace quillery
