// Test media made with ffmpeg at test time, and what ffprobe and ffmpeg read back from
// written movies.
#pragma once

#include <QProcess>
#include <QStringList>

namespace quillery::test {

// Runs a tool and returns its standard output; empty when it fails.
inline QByteArray runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

// A short movie with a test picture and a tone, in the codecs given.
inline bool makeMovie(const QString& path, const QString& videoCodec, const QString& audioCodec,
                      double seconds = 2) {
    const QString duration = QString::number(seconds);
    return QProcess::execute("ffmpeg",
                             {"-v", "error", "-y", "-f", "lavfi", "-i",
                              "testsrc=size=160x120:rate=25:duration=" + duration, "-f", "lavfi",
                              "-i", "sine=frequency=440:duration=" + duration, "-c:v", videoCodec,
                              "-c:a", audioCodec, "-shortest", path}) == 0;
}

// One line per stream: "codec,type" and ",language" when the stream has a language tag.
inline QString probeStreams(const QString& path) {
    return QString::fromUtf8(runTool(QStringLiteral("ffprobe"),
                                     {"-v", "error", "-show_entries",
                                      "stream=codec_name,codec_type:stream_tags=language", "-of",
                                      "csv=p=0", path}))
        .trimmed();
}

// A digest of one stream's packets as stored, so a copy compares equal to its source.
inline QByteArray streamDigest(const QString& path, const QString& stream) {
    return runTool(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-map", "0:" + stream,
                                              "-c", "copy", "-f", "md5", "-"});
}

inline double probedStartTime(const QString& path, const QStringList& selection) {
    return runTool(QStringLiteral("ffprobe"),
                   QStringList{"-v", "error"} + selection + QStringList{"-of", "csv=p=0", path})
        .trimmed()
        .toDouble();
}

// The first subtitle track read back as SubRip text by ffmpeg, timed on the clock of
// the movie it was made from, which is 0 at that movie's start. The first picture is
// the fixed point: a copy may move every track by the same amount (a container that
// cannot store the negative times of sound priming moves them later).
inline QString subtitleTrackAsSubRip(const QString& path, const QString& sourceMovie) {
    const QStringList videoStart = {"-select_streams", "v:0", "-show_entries", "stream=start_time"};
    const QStringList movieStart = {"-show_entries", "format=start_time"};
    const double firstPictureInSource =
        probedStartTime(sourceMovie, videoStart) - probedStartTime(sourceMovie, movieStart);
    const double shift = probedStartTime(path, videoStart) - firstPictureInSource;
    return QString::fromUtf8(
        runTool(QStringLiteral("ffmpeg"),
                {"-v", "error", "-copyts", "-itsoffset", QString::number(-shift, 'f', 6), "-i",
                 path, "-map", "0:s:0", "-f", "srt", "-"}));
}

// SubRip cues without their numbers: "start --> end" and text lines, blocks joined by
// blank lines, so files numbered from 0 and from 1 compare equal.
inline QStringList subRipCues(const QString& subRip) {
    QStringList cues;
    QString text = subRip;
    text.replace("\r\n", "\n");
    for (const QString& block : text.split("\n\n", Qt::SkipEmptyParts)) {
        QStringList lines = block.split(u'\n', Qt::SkipEmptyParts);
        if (!lines.isEmpty() && !lines.front().contains("-->"))
            lines.removeFirst();
        if (!lines.isEmpty())
            cues << lines.join(u'\n');
    }
    return cues;
}

} // namespace quillery::test
