// Opening media containers with libavformat, shared by the audio decoding, the container
// probe and the assembly's source files. Internal to the media layer: the one header here
// that brings libav in.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <QString>
#include <memory>

namespace quillery {

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

// Opens the container and reads its streams' details, decoding a little where the header
// does not give them; null (and the reason in `error`) when it cannot be read.
FormatPtr openContainer(const QString& path, QString* error);
// As openContainer, but trusts the header when it already gives every audio and video
// stream's size or rate: containers with an index (MP4, QuickTime, MXF, Matroska) then
// open without decoding anything.
FormatPtr openContainerQuickly(const QString& path);

// A picture attached to a music file, not a video track.
bool isPicture(const AVStream* stream);
// Seconds; 0 when the container does not say.
double containerDuration(const AVFormatContext* context);

} // namespace quillery
