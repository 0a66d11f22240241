// Speed of the preview assembled from a Final Cut Pro 7 sequence of 200 clips (each on the
// picture track and on a stereo pair of sound tracks, as Final Cut Pro 7 exports them):
// from the sequence's track model to the first picture the player shows, and the reading
// of its sound for the waveform. The source movies are made with ffmpeg on the first run
// (kept in the build folder's bench-media/preview); the argument is how many distinct files
// the 200 clips are cut from.
#include "AudioSampleSource.h"
#include "FCPPreviewAssembly.h"
#include "MediaEngine.h"
#include "QYFCP7XMLParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr int kClips = 200;
constexpr int kClipFrames = 50;
constexpr int kSourceSeconds = 8;

QString mediaFolder() {
    return QCoreApplication::applicationDirPath() + "/../bench-media/preview";
}

QString sourceMovie(int index) {
    return QDir(mediaFolder())
        .absoluteFilePath(QStringLiteral("source%1.mov").arg(index, 3, 10, QChar('0')));
}

bool makeSources(int count) {
    QDir().mkpath(mediaFolder());
    for (int i = 0; i < count; ++i) {
        if (QFileInfo::exists(sourceMovie(i)))
            continue;
        QProcess ffmpeg;
        ffmpeg.start(
            "ffmpeg",
            {"-loglevel",
             "error",
             "-y",
             "-f",
             "lavfi",
             "-i",
             QStringLiteral("testsrc2=size=320x180:rate=25:duration=%1").arg(kSourceSeconds),
             "-f",
             "lavfi",
             "-i",
             QStringLiteral("sine=frequency=%1:duration=%2").arg(200 + i).arg(kSourceSeconds),
             "-c:v",
             "libx264",
             "-preset",
             "ultrafast",
             "-pix_fmt",
             "yuv420p",
             "-c:a",
             "aac",
             "-ac",
             "2",
             sourceMovie(i)});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            return false;
    }
    return true;
}

// One clip item at `start` on the sequence, cut from a source file.
QString clipItem(int clip, int files, bool firstUseOfFile) {
    const int file = clip % files;
    const int in = clip * 7 % (kSourceSeconds * 25 - kClipFrames);
    const QString fileElement =
        firstUseOfFile ? QStringLiteral("<file id=\"f%1\"><name>source</name><pathurl>"
                                        "file://localhost%2</pathurl><rate><timebase>25"
                                        "</timebase></rate></file>")
                             .arg(file)
                             .arg(sourceMovie(file))
                       : QStringLiteral("<file id=\"f%1\"/>").arg(file);
    return QStringLiteral("<clipitem id=\"c%1\"><name>clip</name><rate><timebase>25</timebase>"
                          "</rate><start>%2</start><end>%3</end><in>%4</in><out>%5</out>%6"
                          "</clipitem>")
        .arg(clip)
        .arg(clip * kClipFrames)
        .arg((clip + 1) * kClipFrames)
        .arg(in)
        .arg(in + kClipFrames)
        .arg(fileElement);
}

QString sequenceOf(int files) {
    QString video;
    QString sound;
    for (int clip = 0; clip < kClips; ++clip) {
        video += clipItem(clip, files, clip < files);
        sound += clipItem(clip, files, false);
    }
    return QStringLiteral(
               "<xmeml version=\"5\"><sequence><name>Bench</name><rate><timebase>25</timebase>"
               "<ntsc>FALSE</ntsc></rate><media><video><format><samplecharacteristics>"
               "<width>1920</width><height>1080</height></samplecharacteristics></format>"
               "<track>%1</track></video><audio><track>%2</track><track>%2</track></audio>"
               "</media></sequence></xmeml>")
        .arg(video, sound);
}

FCPMoviePtr benchMovie(int files) {
    const xml::DocumentPtr document = xml::parseDocument(sequenceOf(files));
    FCPMoviePtr movie =
        QYFCP7XMLParser::shareInstance().loadLaneFromFCP7Document(document->document_element());
    movie->mainVideoTrack = movie->videoTrackArray.front();
    return movie;
}

bool prepare(benchmark::State& state, int files) {
    if (!makeSources(files)) {
        state.SkipWithError("ffmpeg could not make the source movies");
        return false;
    }
    // Played to a silent sound card.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    return initialiseMediaEngine();
}

// From the track model to the first picture on screen: opening the clips' files for their
// tracks, building the composition and the engine's tractor, and showing frame 0.
void BM_FCP7PreviewToFirstFrame200Clips(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    if (!prepare(state, files))
        return;
    const FCPMoviePtr movie = benchMovie(files);
    for (auto _ : state) {
        QYFCP7PreviewAssembly assembly(25);
        const std::optional<QuilleryMoviePlayerItem> item =
            assembly.getPlayerItemFromFCPMovie(*movie);
        MoviePlayback playback;
        bool shown = false;
        QObject::connect(&playback, &MoviePlayback::frameShown, [&shown] { shown = true; });
        playback.open(*item->mainMovie);
        while (!shown)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
}
BENCHMARK(BM_FCP7PreviewToFirstFrame200Clips)
    ->Arg(20)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole sound of the 200 clips (400 s, two tracks) read for the waveform. Rendering the
// same sound through the playback engine's tractor took 4.4 s against 0.8 s here, which is
// why the waveform decodes the clips itself.
void BM_PreviewWaveformSound200Clips(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    if (!prepare(state, files))
        return;
    const FCPMoviePtr movie = benchMovie(files);
    QYFCP7PreviewAssembly assembly(25);
    const QuilleryMoviePlayerItem item = assembly.getOnlyAudioPlayerItemFromFCPMovie(*movie);
    for (auto _ : state) {
        std::unique_ptr<AudioSampleSource> source =
            openCompositionAudioSource(*item.mainMovie->composition);
        AudioBuffer buffer;
        std::size_t frames = 0;
        while (source->readNextBuffer(buffer))
            frames += buffer.frames;
        state.counters["seconds"] = static_cast<double>(frames) / 48000;
    }
}
BENCHMARK(BM_PreviewWaveformSound200Clips)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace
