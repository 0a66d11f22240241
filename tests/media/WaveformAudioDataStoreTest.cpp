// The level reduction: peaks per block of source frames, 200 for full scale, 255 for
// anything louder, blocks that continue across buffers, and the channel queries.
#include "WaveformStores.h"

#include <gtest/gtest.h>
#include <vector>

namespace quillery {
namespace {

using test::emptyStore;

TEST(WaveformAudioDataStore, ABlockKeepsItsLoudestSampleAtTwoHundredForFullScale) {
    const struct {
        const char* name;
        float sample;
        uint8_t level;
    } rows[] = {{"negative", -0.5f, 100},
                {"below saturation", 1.25f, 250},
                {"too loud", 1.3f, 255},
                {"truncated, not rounded", 0.0099f, 1}};
    for (const auto& row : rows) {
        WaveformAudioDataStore store = emptyStore(48000, 1, 1.0);
        const std::vector<float> second(48000, row.sample);
        store.addSamples(second.data(), second.size());
        EXPECT_EQ(store.getData(0, 298), row.level) << row.name;
    }
}

TEST(WaveformAudioDataStore, AnySplitIntoBuffersGivesTheValuesOfOneBuffer) {
    // 2.5 s of stereo 44.1 kHz with a level that changes every frame on each channel.
    const std::size_t frames = 110250;
    std::vector<float> samples(frames * 2);
    for (std::size_t f = 0; f < frames; ++f) {
        samples[2 * f] = static_cast<float>((f * 7919) % 1000) / 1000.0f;
        samples[2 * f + 1] = -static_cast<float>((f * 104729) % 1300) / 1000.0f;
    }
    WaveformAudioDataStore whole = emptyStore(44100, 2, 2.5);
    whole.addSamples(samples.data(), frames);
    for (const std::size_t size : {1, 7, 146, 147, 148, 1024, 4096, 65536}) {
        WaveformAudioDataStore split = emptyStore(44100, 2, 2.5);
        for (std::size_t at = 0; at < frames; at += size)
            split.addSamples(samples.data() + 2 * at, std::min(size, frames - at));
        for (int channel = 0; channel < 2; ++channel) {
            const auto a = whole.mData(channel);
            const auto b = split.mData(channel);
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()))
                << "buffers of " << size << " frames, channel " << channel;
        }
    }
}

TEST(WaveformAudioDataStore, ChannelsAreReducedApartAndAveragedOnRequest) {
    WaveformAudioDataStore store = emptyStore(48000, 2, 1.0);
    std::vector<float> frames(2 * 48000);
    for (std::size_t f = 0; f < 48000; ++f)
        frames[2 * f] = 0.5f; // left 100, right silent
    store.addSamples(frames.data(), 48000);
    EXPECT_EQ(store.getData(0, 10), 100);
    EXPECT_EQ(store.getData(1, 10), 0);
    EXPECT_EQ(store.getAveragedChannelData(10), 50);
    // Outside the store: a third channel, or the index one past the end.
    EXPECT_EQ(store.getData(2, 10), 0);
    EXPECT_EQ(store.getData(0, store.mTotalLength()), 0);
    EXPECT_EQ(store.getAveragedChannelData(store.mTotalLength()), 0);
}

TEST(WaveformAudioDataStore, ValuesPastTheDurationAreDropped) {
    WaveformAudioDataStore store = emptyStore(600, 1, 0.01); // three values
    const std::vector<float> samples(20, 0.5f);
    store.addSamples(samples.data(), samples.size());
    EXPECT_EQ(store.writtenLength(), 3u);
    EXPECT_EQ(store.getData(0, 2), 100);
    EXPECT_EQ(store.getData(0, 3), 0) << "nothing to draw past the end";
}

} // namespace
} // namespace quillery
