// A source file's tracks for the assembly, read from its container with libavformat:
// every audio stream and every video stream that is not an attached picture, with their
// size, orientation and length.
#include "FFmpegContainer.h"
#include "MediaComposition.h"

extern "C" {
#include <libavutil/display.h>
}

#include <QFileInfo>

namespace quillery {

namespace {

// The orientation matrix a movie file stores for its pictures, 16.16 fixed point.
AffineTransform preferredTransformOf(const AVStream* stream) {
    const auto* matrix = reinterpret_cast<const int32_t*>(
        av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (matrix == nullptr)
        return {};
    const auto fixed = [](int32_t value) {
        return value / 65536.0;
    };
    return {fixed(matrix[0]), fixed(matrix[1]), fixed(matrix[3]),
            fixed(matrix[4]), fixed(matrix[6]), fixed(matrix[7])};
}

MediaTime durationOf(const AVFormatContext* context, const AVStream* stream) {
    if (stream->duration > 0 && stream->time_base.den > 0)
        return MediaTime::make(stream->duration * stream->time_base.num, stream->time_base.den);
    if (context->duration > 0)
        return MediaTime::make(context->duration, AV_TIME_BASE);
    return MediaTime::invalid();
}

} // namespace

MediaAssetPtr MediaAsset::assetWithPath(const QString& path) {
    auto asset = std::make_shared<MediaAsset>();
    asset->path_ = path;
    asset->exists_ = QFileInfo(path).isFile();
    const FormatPtr context = asset->exists_ ? openContainerQuickly(path) : nullptr;
    if (!context)
        return asset;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        MediaAssetTrack track;
        track.path = path;
        track.streamIndex = static_cast<int>(i);
        track.duration = durationOf(context.get(), stream);
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && !isPicture(stream)) {
            track.mediaType = MediaType::Video;
            track.naturalSize = QSizeF(parameters->width, parameters->height);
            track.preferredTransform = preferredTransformOf(stream);
        } else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO) {
            track.mediaType = MediaType::Audio;
        } else {
            continue;
        }
        asset->tracks_ << track;
    }
    return asset;
}

} // namespace quillery
