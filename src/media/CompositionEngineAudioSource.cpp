// An assembled preview's audio tracks at unit gain, rendered through the playback engine.
#include "AudioSampleSource.h"
#include "CompositionProducer.h"
#include "MediaComposition.h"
#include "MediaEngine.h"

#include <algorithm>
#include <mlt++/Mlt.h>

namespace quillery {

namespace {

constexpr int kSampleRate = 48000;
constexpr int kChannels = 2;
constexpr std::size_t kFramesPerBuffer = 4096;

class CompositionEngineAudioSource : public AudioSampleSource {
public:
    explicit CompositionEngineAudioSource(const PreviewComposition& preview)
        : duration_(preview.composition.duration().seconds()) {
        if (!initialiseMediaEngine())
            return;
        setProfileForComposition(profile_, preview);
        producer_ = makeCompositionProducer(profile_, preview, CompositionSound::TracksAtUnitGain);
    }

    AudioStreamDescription description() const override {
        return {static_cast<double>(kSampleRate), kChannels, 32};
    }
    double duration() const override { return duration_; }

    bool readNextBuffer(AudioBuffer& buffer) override {
        buffer.frames = 0;
        buffer.samples.clear();
        while (producer_ && buffer.frames < kFramesPerBuffer &&
               position_ < producer_->get_length()) {
            producer_->seek(position_);
            std::unique_ptr<Mlt::Frame> frame(producer_->get_frame());
            mlt_audio_format format = mlt_audio_f32le;
            int frequency = kSampleRate;
            int channels = kChannels;
            int samples = mlt_audio_calculate_frame_samples(static_cast<float>(profile_.fps()),
                                                            kSampleRate, position_);
            const auto* pcm =
                static_cast<const float*>(frame->get_audio(format, frequency, channels, samples));
            ++position_;
            if (pcm == nullptr || channels != kChannels)
                continue;
            buffer.samples.insert(buffer.samples.end(), pcm, pcm + samples * kChannels);
            buffer.frames += static_cast<std::size_t>(samples);
        }
        for (float& sample : buffer.samples)
            sample = std::clamp(sample, -1.0f, 1.0f);
        return buffer.frames > 0;
    }

private:
    Mlt::Profile profile_;
    std::unique_ptr<Mlt::Producer> producer_;
    double duration_;
    int position_ = 0;
};

} // namespace

std::unique_ptr<AudioSampleSource>
openCompositionAudioSourceThroughEngine(const PreviewComposition& preview) {
    return std::make_unique<CompositionEngineAudioSource>(preview);
}

} // namespace quillery
