// Movie audio through libavformat, libavcodec and libswresample: one audio stream demuxed
// (every other stream discarded before it is read), decoded from its start or from a given
// time, and converted to interleaved 32-bit float at the stream's own rate and channel
// count or at ones asked for. Also the container probe.
#include "AudioSampleSource.h"
#include "FFmpegContainer.h"
#include "MediaProbe.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace quillery {

namespace {

// Frames gathered into one buffer before it is handed on: a read of the waveform's size.
constexpr std::size_t kFramesPerBuffer = 4096;

// The stream index of the trackNumber-th audio stream, or -1.
int audioStreamIndex(const AVFormatContext* context, int trackNumber) {
    int seen = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        if (context->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        if (seen++ == trackNumber)
            return static_cast<int>(i);
    }
    return -1;
}

// Which stream to decode, from when, and in what form; 0 keeps the stream's own.
struct StreamRequest {
    int streamIndex = -1;
    double startSeconds = 0;
    int sampleRate = 0;
    int channels = 0;
};

class FFmpegAudioSource : public AudioSampleSource {
public:
    FFmpegAudioSource(FormatPtr format, const StreamRequest& request)
        : format_(std::move(format)), request_(request) {
        if (format_ && !openTrack())
            decoder_.reset();
        if (decoder_ && request_.startSeconds > 0)
            seekToStart();
    }

    AudioStreamDescription description() const override { return description_; }
    double duration() const override { return format_ ? containerDuration(format_.get()) : 0; }

    bool readNextBuffer(AudioBuffer& buffer) override {
        buffer.frames = 0;
        if (!decoder_)
            return false;
        while (buffer.frames < kFramesPerBuffer && !finished_) {
            const int status = avcodec_receive_frame(decoder_.get(), frame_.get());
            if (status == 0) {
                if (!appendFrame(buffer))
                    finished_ = true;
            } else if (status == AVERROR(EAGAIN)) {
                feedDecoder();
            } else {
                finished_ = true; // drained, or a decoding error: keep what we have
            }
        }
        return buffer.frames > 0;
    }

private:
    bool openTrack() {
        stream_ = request_.streamIndex;
        if (stream_ < 0 || stream_ >= static_cast<int>(format_->nb_streams) ||
            format_->streams[stream_]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            return false;
        for (unsigned i = 0; i < format_->nb_streams; ++i)
            format_->streams[i]->discard =
                static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        const AVCodecParameters* parameters = format_->streams[stream_]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
        if (codec == nullptr)
            return false;
        decoder_.reset(avcodec_alloc_context3(codec));
        if (!decoder_ || avcodec_parameters_to_context(decoder_.get(), parameters) < 0 ||
            avcodec_open2(decoder_.get(), codec, nullptr) < 0)
            return false;
        frame_.reset(av_frame_alloc());
        packet_.reset(av_packet_alloc());
        description_.sampleRate =
            request_.sampleRate > 0 ? request_.sampleRate : decoder_->sample_rate;
        description_.channelsPerFrame = static_cast<uint32_t>(
            request_.channels > 0 ? request_.channels : decoder_->ch_layout.nb_channels);
        return frame_ && packet_ && description_.sampleRate > 0 &&
               description_.channelsPerFrame > 0;
    }

    // Seeks to the key frame before the start; the frames decoded before the start are
    // dropped once the first one tells where decoding resumed.
    void seekToStart() {
        const AVRational base = format_->streams[stream_]->time_base;
        const auto stamp = static_cast<int64_t>(request_.startSeconds * base.den / base.num);
        av_seek_frame(format_.get(), stream_, stamp, AVSEEK_FLAG_BACKWARD);
        framesToDrop_ = -1;
    }

    void dropFramesBeforeStart(AudioBuffer& buffer, std::size_t from, std::size_t& converted) {
        const std::size_t channels = description_.channelsPerFrame;
        const std::size_t drop = std::min<std::size_t>(framesToDrop_, converted);
        float* first = buffer.samples.data() + from * channels;
        std::copy(first + drop * channels, first + converted * channels, first);
        converted -= drop;
        framesToDrop_ -= static_cast<int64_t>(drop);
    }

    void measureFramesToDrop() {
        const int64_t stamp = frame_->best_effort_timestamp;
        const AVRational base = format_->streams[stream_]->time_base;
        const double decodedFrom =
            stamp == AV_NOPTS_VALUE ? request_.startSeconds : stamp * av_q2d(base);
        framesToDrop_ = std::max<int64_t>(
            0, std::llround((request_.startSeconds - decodedFrom) * description_.sampleRate));
    }

    void feedDecoder() {
        while (true) {
            const int status = av_read_frame(format_.get(), packet_.get());
            if (status < 0) {
                avcodec_send_packet(decoder_.get(), nullptr); // end of file: drain
                return;
            }
            const bool ours = packet_->stream_index == stream_;
            if (ours)
                avcodec_send_packet(decoder_.get(), packet_.get());
            av_packet_unref(packet_.get());
            if (ours)
                return;
        }
    }

    // Converts the decoded frame to interleaved float at the end of the buffer.
    bool appendFrame(AudioBuffer& buffer) {
        if (!resampler_ && !openResampler())
            return false;
        if (framesToDrop_ < 0)
            measureFramesToDrop();
        const std::size_t channels = description_.channelsPerFrame;
        const int room = swr_get_out_samples(resampler_.get(), frame_->nb_samples);
        if (room < 0)
            return false;
        // Grown, never shrunk: a reused buffer is not cleared again for every read.
        const std::size_t needed = (buffer.frames + static_cast<std::size_t>(room)) * channels;
        if (buffer.samples.size() < needed)
            buffer.samples.resize(needed);
        auto* out = reinterpret_cast<uint8_t*>(buffer.samples.data() + buffer.frames * channels);
        const int converted =
            swr_convert(resampler_.get(), &out, room,
                        const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
        av_frame_unref(frame_.get());
        if (converted < 0)
            return false;
        auto kept = static_cast<std::size_t>(converted);
        if (framesToDrop_ > 0)
            dropFramesBeforeStart(buffer, buffer.frames, kept);
        buffer.frames += kept;
        return true;
    }

    bool openResampler() {
        AVChannelLayout input;
        if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
            av_channel_layout_copy(&input, &frame_->ch_layout) < 0)
            av_channel_layout_default(&input, frame_->ch_layout.nb_channels);
        AVChannelLayout output;
        if (request_.channels > 0 || av_channel_layout_copy(&output, &input) < 0)
            av_channel_layout_default(&output, static_cast<int>(description_.channelsPerFrame));
        SwrContext* raw = nullptr;
        const int status = swr_alloc_set_opts2(
            &raw, &output, AV_SAMPLE_FMT_FLT, static_cast<int>(description_.sampleRate), &input,
            static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&input);
        av_channel_layout_uninit(&output);
        resampler_.reset(raw);
        return status >= 0 && swr_init(raw) >= 0;
    }

    FormatPtr format_;
    std::unique_ptr<AVCodecContext, CodecFreer> decoder_;
    std::unique_ptr<SwrContext, ResamplerFreer> resampler_;
    std::unique_ptr<AVFrame, FrameFreer> frame_;
    std::unique_ptr<AVPacket, PacketFreer> packet_;
    StreamRequest request_;
    AudioStreamDescription description_;
    int stream_ = -1;
    bool finished_ = false;
    // Frames still to drop before the start; -1 until the first decoded frame says.
    int64_t framesToDrop_ = 0;
};

bool hasDecoder(const AVStream* stream) {
    return avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
}

} // namespace

std::unique_ptr<AudioSampleSource> openMovieAudioSource(const QString& path, int trackNumber) {
    FormatPtr format = openContainer(path, nullptr);
    const int stream = format ? audioStreamIndex(format.get(), trackNumber) : -1;
    return std::make_unique<FFmpegAudioSource>(std::move(format), StreamRequest{stream});
}

std::unique_ptr<AudioSampleSource> openAudioStreamSource(const QString& path, int streamIndex,
                                                         double startSeconds, int sampleRate,
                                                         int channels) {
    return std::make_unique<FFmpegAudioSource>(
        openContainerQuickly(path), StreamRequest{streamIndex, startSeconds, sampleRate, channels});
}

MediaProbe MediaProbe::probe(const QString& path) {
    MediaProbe result;
    const FormatPtr context = openContainer(path, &result.error);
    if (!context)
        return result;
    result.opened = true;
    result.duration = containerDuration(context.get());
    result.playable = true;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream* stream = context->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_AUDIO) {
            ++result.audioTrackCount;
        } else if (type == AVMEDIA_TYPE_VIDEO && !isPicture(stream) && !result.hasVideo) {
            result.hasVideo = true;
            const AVRational rate = av_guess_frame_rate(context.get(), stream, nullptr);
            result.frameRate = rate.den > 0 ? av_q2d(rate) : 0;
            result.frameSize = QSize(stream->codecpar->width, stream->codecpar->height);
        } else {
            continue;
        }
        if (!hasDecoder(stream)) {
            result.playable = false;
            result.error =
                QStringLiteral("No decoder for %1.")
                    .arg(QString::fromUtf8(avcodec_get_name(stream->codecpar->codec_id)));
        }
    }
    return result;
}

} // namespace quillery
