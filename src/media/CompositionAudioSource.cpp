// The sound of an assembled preview for its waveform: every audio track of the composition
// summed at unit gain, whatever volume the mix plays it at, and clipped to full scale, as
// one stereo 48 kHz stream. Each clip is decoded with libav from its in-point while the
// stream passes over it; only the clips under the current buffer are open.
#include "AudioSampleSource.h"
#include "MediaComposition.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace quillery {

namespace {

constexpr int kSampleRate = 48000;
constexpr int kChannels = 2;
constexpr std::size_t kFramesPerBuffer = 4096;

int64_t sampleAt(const MediaTime& time) {
    return time.isNumeric() ? std::llround(time.seconds() * kSampleRate) : 0;
}

// One clip of an audio track, in samples of the stream.
struct SoundClip {
    int64_t start = 0;
    int64_t end = 0;
    QString path;
    int streamIndex = -1;
    double sourceStart = 0;
};

// A clip being played: its decoder and what it decoded but has not yet handed on.
struct OpenClip {
    SoundClip clip;
    std::unique_ptr<AudioSampleSource> decoder;
    AudioBuffer decoded;
    std::size_t used = 0;
    int64_t position = 0;

    // Adds the clip's sound from `position` to `until` into out (which starts at `origin`);
    // false once the clip has nothing more to give.
    bool addInto(float* out, int64_t origin, int64_t until) {
        while (position < until) {
            if (used == decoded.frames) {
                used = 0;
                if (!decoder->readNextBuffer(decoded))
                    return false;
            }
            const auto count = static_cast<std::size_t>(
                std::min<int64_t>(until - position, decoded.frames - used));
            const float* from = decoded.samples.data() + used * kChannels;
            float* to = out + (position - origin) * kChannels;
            for (std::size_t i = 0; i < count * kChannels; ++i)
                to[i] += from[i];
            used += count;
            position += static_cast<int64_t>(count);
        }
        return position < clip.end;
    }
};

class CompositionAudioSource : public AudioSampleSource {
public:
    explicit CompositionAudioSource(const PreviewComposition& preview)
        : length_(sampleAt(preview.composition.duration())),
          duration_(preview.composition.duration().seconds()) {
        for (const CompositionTrackPtr& track :
             preview.composition.tracksWithMediaType(MediaType::Audio)) {
            for (const CompositionSegment& segment : track->segments()) {
                if (!segment.source)
                    continue;
                SoundClip clip{sampleAt(segment.target.start), sampleAt(segment.target.end()),
                               segment.source->path, segment.source->streamIndex,
                               segment.sourceStart.seconds()};
                if (clip.end > clip.start)
                    waiting_.push_back(clip);
            }
        }
        std::stable_sort(waiting_.begin(), waiting_.end(),
                         [](const SoundClip& a, const SoundClip& b) { return a.start < b.start; });
    }

    AudioStreamDescription description() const override {
        return {static_cast<double>(kSampleRate), kChannels, 32};
    }
    double duration() const override { return duration_; }

    bool readNextBuffer(AudioBuffer& buffer) override {
        const int64_t end = std::min<int64_t>(position_ + kFramesPerBuffer, length_);
        buffer.frames = static_cast<std::size_t>(std::max<int64_t>(0, end - position_));
        buffer.samples.assign(buffer.frames * kChannels, 0.0f);
        if (buffer.frames == 0)
            return false;
        while (!waiting_.empty() && waiting_.front().start < end) {
            open(waiting_.front());
            waiting_.pop_front();
        }
        for (auto clip = playing_.begin(); clip != playing_.end();) {
            const int64_t until = std::min(end, clip->clip.end);
            const bool more = clip->addInto(buffer.samples.data(), position_, until);
            clip = more ? clip + 1 : playing_.erase(clip);
        }
        for (float& sample : buffer.samples)
            sample = std::clamp(sample, -1.0f, 1.0f);
        position_ = end;
        return true;
    }

private:
    void open(const SoundClip& clip) {
        OpenClip opened;
        opened.clip = clip;
        opened.position = clip.start;
        opened.decoder = openAudioStreamSource(clip.path, clip.streamIndex, clip.sourceStart,
                                               kSampleRate, kChannels);
        playing_.push_back(std::move(opened));
    }

    int64_t length_;
    double duration_;
    int64_t position_ = 0;
    std::deque<SoundClip> waiting_;
    std::vector<OpenClip> playing_;
};

} // namespace

std::unique_ptr<AudioSampleSource> openCompositionAudioSource(const PreviewComposition& preview) {
    return std::make_unique<CompositionAudioSource>(preview);
}

} // namespace quillery
