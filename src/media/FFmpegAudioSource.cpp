// Movie audio through libavformat, libavcodec and libswresample: one audio stream demuxed
// (every other stream discarded before it is read), decoded, and converted to interleaved
// 32-bit float at the stream's own rate and channel count. Also the container probe.
#include "AudioSampleSource.h"
#include "FFmpegLog.h"
#include "MediaProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <QFile>

namespace quillery {

namespace {

// Frames gathered into one buffer before it is handed on: a read of the waveform's size.
constexpr std::size_t kFramesPerBuffer = 4096;

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct ResamplerFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;

FormatPtr openContainer(const QString& path, QString* error) {
    silenceFFmpegLog();
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int status = avformat_open_input(&raw, name.constData(), nullptr, nullptr);
    if (status < 0) {
        if (error)
            *error = ffmpegErrorText(status);
        return nullptr;
    }
    FormatPtr context(raw);
    status = avformat_find_stream_info(context.get(), nullptr);
    if (status < 0) {
        if (error)
            *error = ffmpegErrorText(status);
        return nullptr;
    }
    return context;
}

bool isPicture(const AVStream* stream) {
    return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

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

double containerDuration(const AVFormatContext* context) {
    return context->duration > 0 ? static_cast<double>(context->duration) / AV_TIME_BASE : 0;
}

class FFmpegAudioSource : public AudioSampleSource {
public:
    FFmpegAudioSource(const QString& path, int trackNumber) {
        format_ = openContainer(path, nullptr);
        if (format_ && !openTrack(trackNumber))
            decoder_.reset();
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
    bool openTrack(int trackNumber) {
        stream_ = audioStreamIndex(format_.get(), trackNumber);
        if (stream_ < 0)
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
        description_.sampleRate = decoder_->sample_rate;
        description_.channelsPerFrame = static_cast<uint32_t>(decoder_->ch_layout.nb_channels);
        return frame_ && packet_ && description_.sampleRate > 0 &&
               description_.channelsPerFrame > 0;
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
        buffer.frames += static_cast<std::size_t>(converted);
        return true;
    }

    bool openResampler() {
        AVChannelLayout layout;
        if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
            av_channel_layout_copy(&layout, &frame_->ch_layout) < 0)
            av_channel_layout_default(&layout, static_cast<int>(description_.channelsPerFrame));
        SwrContext* raw = nullptr;
        const int status = swr_alloc_set_opts2(
            &raw, &layout, AV_SAMPLE_FMT_FLT, frame_->sample_rate, &layout,
            static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&layout);
        resampler_.reset(raw);
        return status >= 0 && swr_init(raw) >= 0;
    }

    FormatPtr format_;
    std::unique_ptr<AVCodecContext, CodecFreer> decoder_;
    std::unique_ptr<SwrContext, ResamplerFreer> resampler_;
    std::unique_ptr<AVFrame, FrameFreer> frame_;
    std::unique_ptr<AVPacket, PacketFreer> packet_;
    AudioStreamDescription description_;
    int stream_ = -1;
    bool finished_ = false;
};

bool hasDecoder(const AVStream* stream) {
    return avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
}

} // namespace

std::unique_ptr<AudioSampleSource> openMovieAudioSource(const QString& path, int trackNumber) {
    return std::make_unique<FFmpegAudioSource>(path, trackNumber);
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
