#include "SoftSubtitleMuxer.h"

#include "FFmpegLog.h"
#include "Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

namespace quillery {

namespace {

struct Target {
    const char* extension;
    const char* muxer;
    AVCodecID subtitleCodec;
};

constexpr Target kTargets[] = {
    {"mp4", "mp4", AV_CODEC_ID_MOV_TEXT}, {"m4v", "mp4", AV_CODEC_ID_MOV_TEXT},
    {"mov", "mov", AV_CODEC_ID_MOV_TEXT}, {"mkv", "matroska", AV_CODEC_ID_SUBRIP},
    {"webm", "webm", AV_CODEC_ID_WEBVTT},
};

constexpr AVRational kMilliseconds = {1, 1000};
constexpr int kIOBufferSize = 4096;
// Far more than one subtitle's text with its style records.
constexpr int kSubtitlePacketCapacity = 1 << 16;

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using InputFile = std::unique_ptr<AVFormatContext, InputCloser>;

struct OutputCloser {
    void operator()(AVFormatContext* context) const {
        avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
using OutputFile = std::unique_ptr<AVFormatContext, OutputCloser>;

struct CodecCloser {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using Codec = std::unique_ptr<AVCodecContext, CodecCloser>;

struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Packet = std::unique_ptr<AVPacket, PacketFreer>;

const Target* targetFor(const QString& path) {
    const QByteArray extension = QFileInfo(path).suffix().toLower().toUtf8();
    for (const Target& target : kTargets) {
        if (extension == target.extension)
            return &target;
    }
    return nullptr;
}

InputFile openMovie(const QString& path, int& error) {
    silenceFFmpegLog();
    AVFormatContext* context = nullptr;
    error = avformat_open_input(&context, QFile::encodeName(path).constData(), nullptr, nullptr);
    if (error < 0)
        return nullptr;
    InputFile movie(context);
    error = avformat_find_stream_info(context, nullptr);
    return error < 0 ? nullptr : std::move(movie);
}

bool isCopiedStream(const AVStream* stream) {
    const AVMediaType type = stream->codecpar->codec_type;
    return (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) ||
           type == AVMEDIA_TYPE_AUDIO;
}

// One subtitle in the track's own format.
struct Cue {
    int64_t start = 0; // milliseconds on the movie's timestamps
    int64_t duration = 0;
    QByteArray data;
};

// The SubRip text read back by FFmpeg's own SubRip reader from memory, so the cues keep
// its times and its markup.
class SubRipSource {
public:
    explicit SubRipSource(QByteArray text) : text_(std::move(text)) {}
    ~SubRipSource() {
        avformat_close_input(&context_);
        if (io_)
            av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
    SubRipSource(const SubRipSource&) = delete;
    SubRipSource& operator=(const SubRipSource&) = delete;

    int open() {
        auto* buffer = static_cast<uint8_t*>(av_malloc(kIOBufferSize));
        io_ = avio_alloc_context(buffer, kIOBufferSize, 0, this, &SubRipSource::read, nullptr,
                                 nullptr);
        context_ = avformat_alloc_context();
        if (io_ == nullptr || context_ == nullptr)
            return AVERROR(ENOMEM);
        context_->pb = io_;
        return avformat_open_input(&context_, nullptr, av_find_input_format("srt"), nullptr);
    }

    AVFormatContext* context() const { return context_; }

private:
    static int read(void* opaque, uint8_t* buffer, int size) {
        auto* self = static_cast<SubRipSource*>(opaque);
        const qsizetype left = self->text_.size() - self->offset_;
        if (left <= 0)
            return AVERROR_EOF;
        const int count = static_cast<int>(std::min<qsizetype>(left, size));
        memcpy(buffer, self->text_.constData() + self->offset_, count);
        self->offset_ += count;
        return count;
    }

    QByteArray text_;
    qsizetype offset_ = 0;
    AVIOContext* io_ = nullptr;
    AVFormatContext* context_ = nullptr;
};

// Removes the temporary file unless the export got as far as renaming it.
class TemporaryTarget {
public:
    explicit TemporaryTarget(const QString& target) {
        const QFileInfo info(target);
        QTemporaryFile file(
            info.dir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(info.fileName())));
        file.setAutoRemove(false);
        if (file.open())
            path_ = file.fileName();
    }
    ~TemporaryTarget() {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }
    TemporaryTarget(const TemporaryTarget&) = delete;
    TemporaryTarget& operator=(const TemporaryTarget&) = delete;

    const QString& path() const { return path_; }
    bool moveTo(const QString& target) {
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(path_).toStdString(),
                                QFile::encodeName(target).toStdString(), error);
        if (!error)
            path_.clear();
        return !error;
    }

private:
    QString path_;
};

class SoftSubtitleWriter {
public:
    SoftSubtitleWriter(const SoftSubtitleJob& job, const SoftSubtitleProgress& progress)
        : job_(job), progress_(progress) {}

    SoftSubtitleResult run();

private:
    SoftSubtitleResult failed(const QString& text) const {
        return {SoftSubtitleResult::Status::Failed, text};
    }
    std::optional<QString> openOutput(const Target& target);
    std::optional<QString> prepareCues(const Target& target);
    std::optional<QString> addSubtitleStream();
    std::optional<QString> copyPackets(bool& cancelled);
    std::optional<QString> finish();
    int writeCuesUntil(int64_t milliseconds);
    bool reportProgress();
    QString writeFailure(int error) const;

    const SoftSubtitleJob& job_;
    const SoftSubtitleProgress& progress_;
    InputFile movie_;
    // Declared before the output, so the file is closed before it is removed.
    std::unique_ptr<TemporaryTarget> temporary_;
    OutputFile output_;
    Codec encoder_;
    std::vector<int> streamMap_; // output index of each movie stream, -1 when dropped
    AVStream* subtitleStream_ = nullptr;
    std::vector<Cue> cues_;
    std::size_t nextCue_ = 0;
    int lastPermille_ = -1;
};

Codec openSubtitleDecoder(const AVStream* stream, int& error) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    Codec context(avcodec_alloc_context3(decoder));
    if (!decoder || !context) {
        error = AVERROR_DECODER_NOT_FOUND;
        return nullptr;
    }
    error = avcodec_parameters_to_context(context.get(), stream->codecpar);
    if (error >= 0) {
        context->pkt_timebase = stream->time_base;
        error = avcodec_open2(context.get(), decoder, nullptr);
    }
    return error < 0 ? nullptr : std::move(context);
}

// The encoder takes the decoder's style header, as a transcode does, so both agree on
// what the decoded markup means.
Codec openSubtitleEncoder(AVCodecID codecId, const AVCodecContext& decoder, bool globalHeader,
                          int& error) {
    const AVCodec* encoder = avcodec_find_encoder(codecId);
    Codec context(avcodec_alloc_context3(encoder));
    if (!encoder || !context) {
        error = AVERROR_ENCODER_NOT_FOUND;
        return nullptr;
    }
    context->time_base = kMilliseconds;
    if (decoder.subtitle_header_size > 0) {
        context->subtitle_header = static_cast<uint8_t*>(
            av_mallocz(static_cast<std::size_t>(decoder.subtitle_header_size) + 1));
        memcpy(context->subtitle_header, decoder.subtitle_header, decoder.subtitle_header_size);
        context->subtitle_header_size = decoder.subtitle_header_size;
    }
    if (globalHeader)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    error = avcodec_open2(context.get(), encoder, nullptr);
    return error < 0 ? nullptr : std::move(context);
}

// Decodes each SubRip cue and encodes it in the track's format.
std::optional<QString> SoftSubtitleWriter::prepareCues(const Target& target) {
    SubRipSource source(job_.subRipText);
    int error = source.open();
    const AVStream* stream =
        error >= 0 && source.context()->nb_streams == 1 ? source.context()->streams[0] : nullptr;
    Codec decoder = stream ? openSubtitleDecoder(stream, error) : nullptr;
    if (decoder)
        encoder_ = openSubtitleEncoder(target.subtitleCodec, *decoder,
                                       output_->oformat->flags & AVFMT_GLOBALHEADER, error);
    if (!encoder_)
        return localized("The subtitles could not be prepared: %1.").arg(ffmpegErrorText(error));

    // Script times count from the movie's start, which is where a player's clock is 0.
    const int64_t movieStart =
        movie_->start_time == AV_NOPTS_VALUE
            ? 0
            : av_rescale_q(movie_->start_time, AV_TIME_BASE_Q, kMilliseconds);
    Packet packet(av_packet_alloc());
    std::vector<uint8_t> buffer(kSubtitlePacketCapacity);
    while (av_read_frame(source.context(), packet.get()) >= 0) {
        AVSubtitle subtitle = {};
        int decoded = 0;
        if (avcodec_decode_subtitle2(decoder.get(), &subtitle, &decoded, packet.get()) >= 0 &&
            decoded && subtitle.num_rects > 0) {
            const int size = avcodec_encode_subtitle(encoder_.get(), buffer.data(),
                                                     static_cast<int>(buffer.size()), &subtitle);
            if (size > 0)
                cues_.push_back(
                    {movieStart + av_rescale_q(packet->pts, stream->time_base, kMilliseconds),
                     av_rescale_q(packet->duration, stream->time_base, kMilliseconds),
                     QByteArray(reinterpret_cast<const char*>(buffer.data()), size)});
        }
        avsubtitle_free(&subtitle);
        av_packet_unref(packet.get());
    }
    return std::nullopt;
}

QString SoftSubtitleWriter::writeFailure(int error) const {
    return localized("The file \"%1\" cannot be written: %2.")
        .arg(QFileInfo(job_.outputPath).fileName(), ffmpegErrorText(error));
}

// The output with a copy of every picture and sound stream of the movie.
std::optional<QString> SoftSubtitleWriter::openOutput(const Target& target) {
    AVFormatContext* context = nullptr;
    const int error = avformat_alloc_output_context2(
        &context, nullptr, target.muxer, QFile::encodeName(temporary_->path()).constData());
    if (error < 0)
        return writeFailure(error);
    output_.reset(context);
    av_dict_copy(&context->metadata, movie_->metadata, 0);
    for (unsigned i = 0; i < movie_->nb_streams; ++i) {
        const AVStream* source = movie_->streams[i];
        streamMap_.push_back(-1);
        if (!isCopiedStream(source))
            continue;
        if (avformat_query_codec(context->oformat, source->codecpar->codec_id,
                                 FF_COMPLIANCE_NORMAL) == 0)
            return localized("The movie's %1 (%2) cannot be stored in a .%3 file; choose "
                             "another file type.")
                .arg(QString::fromUtf8(av_get_media_type_string(source->codecpar->codec_type)),
                     QString::fromUtf8(avcodec_get_name(source->codecpar->codec_id)),
                     QString::fromUtf8(target.extension));
        AVStream* copy = avformat_new_stream(context, nullptr);
        if (copy == nullptr || avcodec_parameters_copy(copy->codecpar, source->codecpar) < 0)
            return writeFailure(AVERROR(ENOMEM));
        copy->codecpar->codec_tag = 0;
        copy->time_base = source->time_base;
        copy->disposition = source->disposition;
        av_dict_copy(&copy->metadata, source->metadata, 0);
        streamMap_.back() = copy->index;
    }
    if (context->nb_streams == 0)
        return localized("The movie has no picture or sound to copy.");
    return std::nullopt;
}

std::optional<QString> SoftSubtitleWriter::addSubtitleStream() {
    subtitleStream_ = avformat_new_stream(output_.get(), nullptr);
    if (subtitleStream_ == nullptr ||
        avcodec_parameters_from_context(subtitleStream_->codecpar, encoder_.get()) < 0)
        return writeFailure(AVERROR(ENOMEM));
    subtitleStream_->time_base = kMilliseconds;
    av_dict_set(&subtitleStream_->metadata, "language", job_.language.toUtf8().constData(), 0);
    return std::nullopt;
}

// Cues go in ahead of the first picture or sound packet that starts after them, so the
// muxer's interleaving never has to hold many.
int SoftSubtitleWriter::writeCuesUntil(int64_t milliseconds) {
    for (; nextCue_ < cues_.size() && cues_[nextCue_].start <= milliseconds; ++nextCue_) {
        const Cue& cue = cues_[nextCue_];
        Packet packet(av_packet_alloc());
        int error = av_new_packet(packet.get(), static_cast<int>(cue.data.size()));
        if (error < 0)
            return error;
        memcpy(packet->data, cue.data.constData(), cue.data.size());
        packet->stream_index = subtitleStream_->index;
        packet->pts = packet->dts =
            av_rescale_q(cue.start, kMilliseconds, subtitleStream_->time_base);
        packet->duration = av_rescale_q(cue.duration, kMilliseconds, subtitleStream_->time_base);
        error = av_interleaved_write_frame(output_.get(), packet.get());
        if (error < 0)
            return error;
    }
    return 0;
}

// Progress is the share of the movie's bytes read, reported when it moves by 0.1 %.
bool SoftSubtitleWriter::reportProgress() {
    const int64_t size = avio_size(movie_->pb);
    const int permille = size > 0 ? static_cast<int>(avio_tell(movie_->pb) * 1000 / size) : 0;
    if (permille == lastPermille_)
        return true;
    lastPermille_ = permille;
    return !progress_ || progress_(std::min(permille, 1000) / 1000.0);
}

std::optional<QString> SoftSubtitleWriter::copyPackets(bool& cancelled) {
    Packet packet(av_packet_alloc());
    int error = 0;
    while ((error = av_read_frame(movie_.get(), packet.get())) >= 0) {
        const AVStream* source = movie_->streams[packet->stream_index];
        const int target = streamMap_.at(packet->stream_index);
        if (target < 0) {
            av_packet_unref(packet.get());
            continue;
        }
        const int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
        if (time != AV_NOPTS_VALUE)
            error = writeCuesUntil(av_rescale_q(time, source->time_base, kMilliseconds));
        AVStream* copy = output_->streams[target];
        av_packet_rescale_ts(packet.get(), source->time_base, copy->time_base);
        packet->stream_index = target;
        packet->pos = -1;
        if (error >= 0)
            error = av_interleaved_write_frame(output_.get(), packet.get());
        av_packet_unref(packet.get());
        if (error < 0)
            return writeFailure(error);
        if (!reportProgress()) {
            cancelled = true;
            return std::nullopt;
        }
    }
    if (error != AVERROR_EOF)
        return localized("The movie \"%1\" cannot be read: %2.")
            .arg(QFileInfo(job_.moviePath).fileName(), ffmpegErrorText(error));
    error = writeCuesUntil(INT64_MAX);
    return error < 0 ? std::optional(writeFailure(error)) : std::nullopt;
}

std::optional<QString> SoftSubtitleWriter::finish() {
    int error = av_write_trailer(output_.get());
    if (error >= 0)
        error = avio_closep(&output_->pb);
    if (error < 0)
        return writeFailure(error);
    if (!temporary_->moveTo(job_.outputPath))
        return writeFailure(AVERROR(EIO));
    return std::nullopt;
}

SoftSubtitleResult SoftSubtitleWriter::run() {
    const Target* target = targetFor(job_.outputPath);
    if (target == nullptr)
        return failed(localized("Soft subtitles can be written into .%1 files only.")
                          .arg(softSubtitleExtensions().join(QStringLiteral(", ."))));
    int error = 0;
    movie_ = openMovie(job_.moviePath, error);
    if (!movie_)
        return failed(localized("The movie \"%1\" cannot be read: %2.")
                          .arg(QFileInfo(job_.moviePath).fileName(), ffmpegErrorText(error)));
    temporary_ = std::make_unique<TemporaryTarget>(job_.outputPath);
    if (temporary_->path().isEmpty())
        return failed(writeFailure(AVERROR(EACCES)));
    std::optional<QString> problem = openOutput(*target);
    if (!problem)
        problem = prepareCues(*target);
    if (!problem)
        problem = addSubtitleStream();
    if (problem)
        return failed(*problem);
    error =
        avio_open(&output_->pb, QFile::encodeName(temporary_->path()).constData(), AVIO_FLAG_WRITE);
    if (error >= 0)
        error = avformat_write_header(output_.get(), nullptr);
    if (error < 0)
        return failed(writeFailure(error));
    bool cancelled = false;
    problem = copyPackets(cancelled);
    if (!problem && !cancelled)
        problem = finish();
    if (cancelled)
        return {SoftSubtitleResult::Status::Cancelled, QString()};
    if (problem)
        return failed(*problem);
    return {SoftSubtitleResult::Status::Written, QString()};
}

} // namespace

QStringList softSubtitleExtensions() {
    QStringList extensions;
    for (const Target& target : kTargets)
        extensions << QString::fromUtf8(target.extension);
    return extensions;
}

double movieFrameRate(const QString& moviePath) {
    int error = 0;
    const InputFile movie = openMovie(moviePath, error);
    if (!movie)
        return 0;
    for (unsigned i = 0; i < movie->nb_streams; ++i) {
        const AVStream* stream = movie->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO || !isCopiedStream(stream))
            continue;
        const AVRational rate =
            stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
    }
    return 0;
}

QString subtitleLanguageCode(const QLocale& locale) {
    const QLocale::Language language = locale.language();
    const QString code = language == QLocale::C || language == QLocale::AnyLanguage
                             ? QString()
                             : QLocale::languageToCode(language, QLocale::ISO639Part2B);
    return code.size() == 3 ? code : QStringLiteral("und");
}

SoftSubtitleResult writeSoftSubtitledMovie(const SoftSubtitleJob& job,
                                           const SoftSubtitleProgress& progress) {
    return SoftSubtitleWriter(job, progress).run();
}

} // namespace quillery
