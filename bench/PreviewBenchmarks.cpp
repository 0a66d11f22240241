// Speed of the preview assembled from a Final Cut Pro 7 sequence of 200 clips (each on the
// picture track and on a stereo pair of sound tracks, as Final Cut Pro 7 exports them) and
// from a Final Cut Pro X project of 200 clips on its main storyline: from the sequence's
// track model (the project's text) to the first picture the player shows, and the reading
// of the sequence's sound for the waveform. The source movies are made with ffmpeg on the first run
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

// Opens the preview in a new player and waits for its first picture.
void showFirstFrame(const MoviePlayerItem& preview) {
    MoviePlayback playback;
    bool shown = false;
    QObject::connect(&playback, &MoviePlayback::frameShown, [&shown] { shown = true; });
    playback.open(preview);
    while (!shown)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
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
        showFirstFrame(*item->mainMovie);
    }
}
BENCHMARK(BM_FCP7PreviewToFirstFrame200Clips)
    ->Arg(20)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

QString projectOf(int files) {
    QString assets;
    for (int file = 0; file < files; ++file)
        assets += QStringLiteral("<asset id=\"a%1\" name=\"source\" src=\"file://%2\" "
                                 "start=\"0s\" duration=\"%3s\" hasVideo=\"1\" "
                                 "hasAudio=\"1\"/>")
                      .arg(file)
                      .arg(sourceMovie(file))
                      .arg(kSourceSeconds);
    QString spine;
    for (int clip = 0; clip < kClips; ++clip) {
        const int in = clip * 7 % (kSourceSeconds * 25 - kClipFrames);
        spine += QStringLiteral("<clip name=\"c\" offset=\"%1/25s\" duration=\"%2/25s\" "
                                "start=\"%3/25s\"><video ref=\"a%4\" offset=\"0s\" "
                                "duration=\"%5s\"/></clip>")
                     .arg(clip * kClipFrames)
                     .arg(kClipFrames)
                     .arg(in)
                     .arg(clip % files)
                     .arg(kSourceSeconds);
    }
    return QStringLiteral("<fcpxml version=\"1.8\"><resources><format id=\"r1\" "
                          "frameDuration=\"100/2500s\" width=\"1920\" height=\"1080\"/>%1"
                          "</resources><library><event><project name=\"Bench\"><sequence "
                          "format=\"r1\"><spine>%2</spine></sequence></project></event>"
                          "</library></fcpxml>")
        .arg(assets, spine);
}

// From the project's text to the first picture on screen: reading its resources and lanes,
// sizing the picture from the clips' files, building the composition and the tractor, and
// showing frame 0 (the half second the window waits before playing it is not counted).
void BM_FCPXPreviewToFirstFrame200Clips(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    if (!prepare(state, files))
        return;
    const QString project = projectOf(files);
    for (auto _ : state) {
        QYFCPXPreviewAssembly assembly;
        MoviePlayerItemPtr preview;
        assembly.getCompositionFromFCPXXML(
            project, false,
            [&preview](const QString&, MoviePlayerItemPtr item) { preview = item; });
        showFirstFrame(*preview);
    }
}
BENCHMARK(BM_FCPXPreviewToFirstFrame200Clips)
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
