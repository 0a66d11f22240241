// The level curve of one audio track: for every channel one byte per 1/300 s holding the
// peak of that stretch (200 for a full-scale sample, 255 for anything louder). The
// waveform draws these bytes and takes its time base from them. Sized once from the
// movie's duration; decoded samples arrive in buffers of any size and are reduced in
// blocks of (source rate / 300, truncated) frames that continue across buffers.
#pragma once

#include <QString>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace quillery {

// The parts of an audio stream description the waveform uses.
struct AudioStreamDescription {
    double sampleRate = 0;
    uint32_t channelsPerFrame = 0;
    uint32_t bitsPerChannel = 32;
};

// The display rate: stored values per second of the waveform.
inline constexpr double kWaveformValuesPerSecond = 300.0;

// The level of the loudest sample: starts at `level`; each |x| x 200 (single precision)
// above it raises it, to 255 when above 255, else truncated.
uint8_t calcSamepleFromDataBlock(const float* samples, std::size_t count, std::size_t stride,
                                 uint8_t level);

class WaveformAudioDataStore {
public:
    // length: the movie's duration in seconds.
    WaveformAudioDataStore(const AudioStreamDescription& source,
                           const AudioStreamDescription& target, double length);

    // The values a store of that length keeps per channel at the target rate: truncated,
    // and 0 when the count does not fit 32 bits.
    static uint32_t totalLengthFor(const AudioStreamDescription& target, double length);

    // One decoded buffer: `frames` frames of interleaved 32-bit floats.
    void addSamples(const float* interleaved, std::size_t frames);
    // 0 outside the store, or for a channel the track does not have.
    uint8_t getData(int channel, uint32_t index) const;
    // The integer mean of all channels at the index; 0 outside the store.
    uint8_t getAveragedChannelData(uint32_t index) const;

    void setLoadComplete(bool complete) { mReadComplete = complete; }
    bool isLoadComplete() const { return mReadComplete; }
    uint32_t mTotalLength() const { return totalLength_; }
    uint16_t mDataBlockSize() const { return blockSize_; }
    uint32_t channelCount() const { return static_cast<uint32_t>(data_.size()); }
    uint32_t writtenLength() const { return std::min(writeIndex_, totalLength_); }
    const AudioStreamDescription& mASBD() const { return source_; }
    const AudioStreamDescription& mTargetASBD() const { return target_; }
    double length() const { return length_; }
    std::span<const uint8_t> mData(int channel) const { return data_.at(channel); }
    int trackNumber() const { return trackNumber_; }
    void setTrackNumber(int track) { trackNumber_ = track; }

    // Fills a store whose values were kept earlier (the on-disk cache): the bytes of every
    // channel, each exactly mTotalLength long, and marks it complete.
    bool restore(std::vector<std::vector<uint8_t>> channels);

private:
    void storeOpenBlock();

    AudioStreamDescription source_;
    AudioStreamDescription target_;
    double length_ = 0;
    uint16_t blockSize_ = 0;
    uint32_t totalLength_ = 0;
    std::vector<std::vector<uint8_t>> data_;
    uint32_t writeIndex_ = 0;
    // Frames in the open block so far and each channel's peak in it. A block is stored
    // only once a later frame arrives, so the block that ends the stream never is.
    uint32_t openBlockFrames_ = 0;
    std::vector<uint8_t> openBlockPeak_;
    bool mReadComplete = false;
    int trackNumber_ = 0;
    mutable std::mutex lock_;
};

} // namespace quillery
