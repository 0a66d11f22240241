#include "FFmpegContainer.h"

#include "FFmpegLog.h"

#include <QFile>

namespace quillery {

namespace {

FormatPtr openInput(const QString& path, QString* error) {
    silenceFFmpegLog();
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(path);
    const int status = avformat_open_input(&raw, name.constData(), nullptr, nullptr);
    if (status < 0) {
        if (error)
            *error = ffmpegErrorText(status);
        return nullptr;
    }
    return FormatPtr(raw);
}

bool headerDescribesStreams(const AVFormatContext* context) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* parameters = context->streams[i]->codecpar;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO &&
            (parameters->width <= 0 || parameters->height <= 0))
            return false;
        if (parameters->codec_type == AVMEDIA_TYPE_AUDIO &&
            (parameters->sample_rate <= 0 || parameters->ch_layout.nb_channels <= 0))
            return false;
    }
    return context->nb_streams > 0 && context->duration > 0;
}

} // namespace

FormatPtr openContainer(const QString& path, QString* error) {
    FormatPtr context = openInput(path, error);
    if (!context)
        return nullptr;
    const int status = avformat_find_stream_info(context.get(), nullptr);
    if (status < 0) {
        if (error)
            *error = ffmpegErrorText(status);
        return nullptr;
    }
    return context;
}

FormatPtr openContainerQuickly(const QString& path) {
    FormatPtr context = openInput(path, nullptr);
    if (context && !headerDescribesStreams(context.get()) &&
        avformat_find_stream_info(context.get(), nullptr) < 0)
        return nullptr;
    return context;
}

bool isPicture(const AVStream* stream) {
    return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

double containerDuration(const AVFormatContext* context) {
    return context->duration > 0 ? static_cast<double>(context->duration) / AV_TIME_BASE : 0;
}

} // namespace quillery
