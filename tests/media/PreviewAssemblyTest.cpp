// The preview assembled from Final Cut Pro timelines: what the player shows and the mix
// plays of timelines whose media files are made with ffmpeg at the paths the timelines name
// (each picture's colour tells its file and frame). Real timelines of tests/data and small
// ones written here.
#include "AudioSampleSource.h"
#include "FCPPreviewAssembly.h"
#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "MediaEngine.h"
#include "PreviewMedia.h"
#include "PreviewRenderer.h"
#include "QYFCP7XMLParser.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace quillery {
namespace {

using test::CodedPicture;
using test::fcp7Clip;
using test::fcp7Sequence;
using test::fcpxAsset;
using test::PreviewMedia;

MediaTime seconds(int64_t value, int32_t timescale = 1) {
    return MediaTime::make(value, timescale);
}

// The track's segments in whole seconds: "start-end file@source start".
std::string layoutOf(const MutableCompositionTrack& track) {
    QStringList segments;
    for (const CompositionSegment& segment : track.segments()) {
        segments << QStringLiteral("%1-%2 %3@%4")
                        .arg(llround(segment.target.start.seconds()))
                        .arg(llround(segment.target.end().seconds()))
                        .arg(segment.source->path)
                        .arg(llround(segment.sourceStart.seconds()));
    }
    return segments.join(", ").toStdString();
}

TEST(CompositionTrack, ALaterPlacementCutsAnEarlierOneWhoseTailReadsItsOwnSourceOn) {
    MutableCompositionTrack track(1, MediaType::Video);
    const MediaAssetTrack a{"a", MediaType::Video, -1, {}, {}, seconds(60)};
    const MediaAssetTrack b{"b", MediaType::Video, -1, {}, {}, seconds(60)};
    ASSERT_TRUE(track.insertTimeRange({seconds(0), seconds(10)}, a, seconds(0)));
    ASSERT_TRUE(track.insertTimeRange({seconds(30), seconds(2)}, b, seconds(4)));
    EXPECT_EQ(layoutOf(track), "0-4 a@0, 4-6 b@30, 6-10 a@6");
}

// --- Reading back what the preview shows and plays ----------------------------------------

// The player's picture at a frame.
QImage pictureAt(MoviePlayback& playback, int frame) {
    QImage shown;
    const QMetaObject::Connection connection = QObject::connect(
        &playback, &MoviePlayback::frameShown, [&shown, frame](const QImage& picture, int at) {
            if (at == frame)
                shown = picture;
        });
    playback.seek(frame);
    test::waitFor([&shown] { return !shown.isNull(); }, 10000);
    QObject::disconnect(connection);
    return shown;
}

// The pictures the movie shows, given as "frame red/source-frame" entries, "frame -" for
// black.
void expectFrames(const MoviePlayerItem& movie, const QString& table) {
    MoviePlayback playback;
    ASSERT_TRUE(playback.open(movie));
    for (const QString& entry : table.split(u',')) {
        const QStringList fields = entry.simplified().split(QRegularExpression("[ /]"));
        const int frame = fields[0].toInt();
        const QImage picture = pictureAt(playback, frame);
        ASSERT_FALSE(picture.isNull()) << "frame " << frame;
        EXPECT_EQ(test::decodePicture(picture),
                  (CodedPicture{fields.value(1).toInt(), fields.value(2).toInt()}))
            << "frame " << frame;
    }
}

// What a sound source gives: its frames, and the loudest sample of each whole second over
// all its channels.
struct SoundRead {
    std::size_t frames = 0;
    std::vector<double> peaks;
};

SoundRead readSound(AudioSampleSource& source) {
    const AudioStreamDescription description = source.description();
    const auto rate = static_cast<std::size_t>(description.sampleRate);
    SoundRead read;
    AudioBuffer buffer;
    while (source.readNextBuffer(buffer)) {
        for (std::size_t i = 0; i < buffer.frames; ++i, ++read.frames) {
            if (read.frames / rate == read.peaks.size())
                read.peaks.push_back(0);
            for (uint32_t c = 0; c < description.channelsPerFrame; ++c) {
                const float sample = buffer.samples[i * description.channelsPerFrame + c];
                read.peaks.back() = std::max(read.peaks.back(), double(std::abs(sample)));
            }
        }
    }
    return read;
}

void expectPeaks(const SoundRead& read, const std::vector<double>& expected) {
    ASSERT_EQ(read.peaks.size(), expected.size());
    for (std::size_t second = 0; second < expected.size(); ++second)
        EXPECT_NEAR(read.peaks[second], expected[second], 0.01) << "second " << second;
}

// The mix as the preview plays it, written to a WAV file and read back.
SoundRead renderedMix(const MoviePlayerItem& movie) {
    QTemporaryDir folder;
    const QString path = folder.filePath("mix.wav");
    const PreviewRenderResult result = renderPreview(movie, path, nullptr);
    EXPECT_EQ(result.status, PreviewRenderResult::Status::Written) << result.error.toStdString();
    return readSound(*openMovieAudioSource(path, 0));
}

// --- Final Cut Pro 7 ------------------------------------------------------------------------

FCPMoviePtr fcp7Movie(const QString& xmlText) {
    const xml::DocumentPtr document = xml::parseDocument(xmlText);
    FCPMoviePtr movie =
        QYFCP7XMLParser::shareInstance().loadLaneFromFCP7Document(document->document_element());
    QList<FCPTrackPtr> used;
    for (const FCPTrackPtr& track : movie->videoTrackArray) {
        if (!track->clipItemArray.isEmpty())
            used << track;
    }
    movie->mainVideoTrack = used.value(0);
    movie->secondaryVideoTrack = used.value(1);
    return movie;
}

// V1: the first clip at 10 s, a second one over its end, a still, a missing file and an
// upside-down clip; V2: two clips; three sound tracks, two of them in step from 4 s to 8 s.
QString smallFCP7Sequence() {
    return fcp7Sequence({fcp7Clip("red40.mov", 250, 300, 0, 50) +
                             fcp7Clip("red120.mov", 275, 325, 100, 150) +
                             fcp7Clip("red200.mov", 325, 350, 0, 25, true, true) +
                             fcp7Clip("missing.mov", 350, 375, 0, 25) +
                             fcp7Clip("upside-down.mov", 375, 400, 0, 25),
                         fcp7Clip("red200.mov", 50, 75, 10, 35, false) +
                             fcp7Clip("red200.mov", 100, 110, 60, 70, false)},
                        {fcp7Clip("red40.mov", 0, 250, 0, 250, false),
                         fcp7Clip("red40.mov", 100, 200, 0, 100, false),
                         fcp7Clip("red200.mov", 100, 200, 0, 100, false)});
}

TEST(FCP7Preview, TheMainTrackOfARealSequencePlaysItsClipsFrameByFrame) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const FCPMoviePtr movie =
        fcp7Movie(PreviewMedia::relocated(test::testDataFile("fcp7/xmeml-msub20000112-taco1.xml")));
    QYFCP7PreviewAssembly assembly(25);
    const std::optional<QuilleryMoviePlayerItem> item = assembly.getPlayerItemFromFCPMovie(*movie);
    ASSERT_TRUE(item);
    EXPECT_TRUE(assembly.missingMediaFiles().isEmpty());
    EXPECT_FALSE(item->secondaryMovie) << "its second video track is empty";
    EXPECT_EQ(item->mainMovie->duration(), 618 / 25.0);
    // By red: 2211003 40, 2211070 80, 2211072 120, 2211071 160, 2211046 200. The third and
    // fourth clips cut back within one file; the transitions' -1 edges are resolved.
    expectFrames(*item->mainMovie, "0 40/70, 63 40/133, 64 80/85, 117 80/138, 118 120/748, "
                                   "206 120/836, 207 120/587, 336 120/716, 337 160/958, "
                                   "437 160/1058, 438 200/145, 577 200/284, 578 200/412, "
                                   "617 200/451");
}

// The small sequence's preview, assembled for each of its tests.
class SmallFCP7Preview : public testing::Test {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_PREVIEW_MEDIA();
        item = assembly.getPlayerItemFromFCPMovie(*fcp7Movie(smallFCP7Sequence()));
        ASSERT_TRUE(item);
    }

    QYFCP7PreviewAssembly assembly{25};
    std::optional<QuilleryMoviePlayerItem> item;
};

TEST_F(SmallFCP7Preview, GapsStillsAndMissingFilesAreBlackAndALaterClipCutsIntoAnEarlierOne) {
    EXPECT_EQ(assembly.missingMediaFiles(), QStringList{PreviewMedia::path("clips/missing.mov")});
    EXPECT_EQ(item->mainMovieDisplaySize, QSizeF(160, 90));
    expectFrames(
        *item->mainMovie,
        "0 -, 249 -, 250 40/0, 274 40/24, 275 120/100, 324 120/149, 325 -, 349 -, 350 -, 374 -");
}

TEST_F(SmallFCP7Preview, TheSecondTrackIsASecondMovieShownWithinItsClipsRanges) {
    ASSERT_TRUE(item->secondaryMovie);
    ASSERT_EQ(item->secondaryMovieDiplayTime.size(), 2);
    EXPECT_EQ(item->secondaryMovieDiplayTime[0].start, seconds(2));
    EXPECT_EQ(item->secondaryMovieDiplayTime[0].duration, seconds(1));
    EXPECT_EQ(item->secondaryMovieDiplayTime[1].start, seconds(4));
    EXPECT_EQ(item->secondaryMovieDiplayTime[1].duration, seconds(2, 5));
    EXPECT_TRUE(item->secondaryMovie->composition->composition.tracksWithMediaType(MediaType::Audio)
                    .isEmpty());
    const FCPMoviePtr withoutPictures = fcp7Movie(smallFCP7Sequence());
    withoutPictures->mainVideoTrack = withoutPictures->secondaryVideoTrack = nullptr;
    EXPECT_FALSE(assembly.getPlayerItemFromFCPMovie(*withoutPictures)) << "no video track";
    expectFrames(*item->secondaryMovie, "49 -, 50 200/10, 74 200/34, 75 -, 100 200/60");
}

TEST_F(SmallFCP7Preview, AnUpsideDownClipPlaysUpright) {
    MoviePlayback playback;
    ASSERT_TRUE(playback.open(*item->mainMovie));
    const QImage picture = pictureAt(playback, 380);
    ASSERT_FALSE(picture.isNull());
    // Stored red on top, blue below, and a half turn to show: blue on top.
    const QColor top = picture.pixelColor(picture.width() / 2, picture.height() / 5);
    EXPECT_GT(top.blue(), 200);
    EXPECT_LT(top.red(), 60);
}

TEST_F(SmallFCP7Preview, EveryTrackPlaysSilentButTheWaveformReadsTheTracksSummed) {
    const PreviewComposition& preview = *item->mainMovie->composition;
    expectPeaks(renderedMix(*item->mainMovie), std::vector<double>(16, 0.0));
    // 0.5 alone, then three tracks of 0.5 in step clipped to full scale, then 0.5 alone.
    const std::unique_ptr<AudioSampleSource> source = openCompositionAudioSource(preview);
    const SoundRead summed = readSound(*source);
    EXPECT_EQ(summed.frames, 16u * 48000);
    expectPeaks(summed, {0.5, 0.5, 0.5, 0.5, 1, 1, 1, 1, 0.5, 0.5, 0, 0, 0, 0, 0, 0});
}

TEST(FCP7Preview, AnNTSCSequenceOfTimebaseThirtyPlaysAt29Point97) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const QString sequence = fcp7Sequence({fcp7Clip("red40.mov", 0, 30, 0, 30)}, {},
                                          "<timebase>30</timebase><ntsc>TRUE</ntsc>");
    const FCPMoviePtr movie = fcp7Movie(sequence);
    QYFCP7PreviewAssembly assembly(QYFCP7XMLParser::shareInstance().frameDuration());
    const std::optional<QuilleryMoviePlayerItem> item = assembly.getPlayerItemFromFCPMovie(*movie);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->mainMovie->composition->videoComposition.frameDuration, seconds(1000, 29970));
}

// --- Final Cut Pro X ------------------------------------------------------------------------

// At 30 frames per second: two clips of red40 and red120 around a one-second gap, both at
// -6 dB, the second with a connected sound of red200 running three seconds past its end
// and a connected sound whose file is missing.
QString smallFCPXProject() {
    return PreviewMedia::relocated(
        QStringLiteral(
            "<fcpxml version=\"1.8\"><resources><format id=\"r1\" frameDuration=\"100/3000s\" "
            "width=\"1920\" height=\"1080\"/>%1%2%3%4</resources><library><event><project "
            "name=\"P\"><sequence format=\"r1\"><spine>"
            "<clip name=\"A\" offset=\"0s\" duration=\"2s\" start=\"1s\"><adjust-volume "
            "amount=\"-6dB\"/><video ref=\"a1\" offset=\"0s\" duration=\"12s\"/></clip>"
            "<gap name=\"Gap\" offset=\"2s\" duration=\"1s\" start=\"0s\"/>"
            "<clip name=\"B\" offset=\"3s\" duration=\"2s\" start=\"0s\"><adjust-volume "
            "amount=\"-6dB\"/><video ref=\"a2\" offset=\"0s\" duration=\"12s\"/>"
            "<clip name=\"C\" lane=\"-1\" offset=\"0s\" duration=\"5s\" start=\"0s\"><audio "
            "ref=\"a3\" offset=\"0s\" duration=\"12s\"/></clip>"
            "<clip name=\"D\" lane=\"-2\" offset=\"1s\" duration=\"1s\" start=\"0s\"><audio "
            "ref=\"a4\" offset=\"0s\" duration=\"12s\"/></clip></clip>"
            "</spine></sequence></project></event></library></fcpxml>")
            .arg(fcpxAsset("a1", "red40.mov"), fcpxAsset("a2", "red120.mov"),
                 fcpxAsset("a3", "red200.mov"), fcpxAsset("a4", "missing-sound.wav")));
}

struct FCPXOutcome {
    bool completed = false;
    QString error;
    MoviePlayerItemPtr movie;
    QStringList missing;
};

FCPXOutcome assembleFCPX(const QString& xml, bool onlyAudio = false) {
    FCPXOutcome outcome;
    QYFCPXPreviewAssembly assembly;
    assembly.getCompositionFromFCPXXML(xml, onlyAudio,
                                       [&outcome](const QString& error, MoviePlayerItemPtr movie) {
                                           outcome = {true, error, std::move(movie), {}};
                                       });
    outcome.missing = assembly.missingMediaFiles();
    return outcome;
}

TEST(FCPXPreview, TheMainStorylinePlaysAtThirtyFramesWithBlackForGapsAndLongerSound) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const test::FpsGuard guard(25);
    const FCPXOutcome outcome = assembleFCPX(smallFCPXProject());
    ASSERT_TRUE(outcome.completed && outcome.movie);
    EXPECT_TRUE(outcome.error.isEmpty());
    EXPECT_EQ(outcome.missing, QStringList{PreviewMedia::path("clips/missing-sound.wav")});
    EXPECT_EQ(outcome.movie->probe.frameSize, QSize(160, 90)) << "the largest picture's size";
    EXPECT_EQ(outcome.movie->duration(), 8.0) << "the picture lasts as long as the sound";
    // Source frames at 25 per second, shown at 30: A starts 1 s into red40.
    expectFrames(*outcome.movie,
                 "0 40/25, 59 40/74, 60 -, 89 -, 90 120/0, 149 120/49, 150 -, 239 -");
}

TEST(FCPXPreview, EachLaneSoundsAtTheVolumeItsClipsAdjustmentGives) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const FCPXOutcome outcome = assembleFCPX(smallFCPXProject());
    ASSERT_TRUE(outcome.movie);
    // red40 0.5 at -6 dB (0.9); nothing; red120 0.25 at 0.9 with red200 0.5 at full volume,
    // in step; red200 alone.
    expectPeaks(renderedMix(*outcome.movie), {0.45, 0.45, 0, 0.725, 0.725, 0.5, 0.5, 0.5});
}

TEST(FCPXPreview, AProjectWithoutAssetsAssemblesNothingAndSaysNothing) {
    EXPECT_FALSE(assembleFCPX(test::fcpxProject(test::fcpxTitle("0s", "1s", "T"))).completed);
}

TEST(FCPXPreview, ARealProjectCutFromCameraMediaCountsItsClipsFromTheAssetsTimeCode) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const FCPXOutcome outcome = assembleFCPX(PreviewMedia::relocated(
        test::testDataFile("fcpxml/latenitefilms-80_collins_commercial.v1_6.fcpxml")));
    ASSERT_TRUE(outcome.movie);
    EXPECT_EQ(outcome.movie->duration(), 899 / 25.0);
    // Clip by clip (red 40 to 200): its start less its asset's start, in source frames of 25
    // per second, at the first frame of 30 per second that lies within it.
    expectFrames(*outcome.movie, "0 40/675, 40 40/708, 76 80/114, 352 80/344, 353 120/229, "
                                 "520 160/253, 952 160/613, 953 200/20, 1078 200/124");
}

// --- Writing a preview out ------------------------------------------------------------------

TEST(PreviewRenderer, ACancelledRenderingLeavesNoFile) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const FCPXOutcome outcome = assembleFCPX(smallFCPXProject());
    ASSERT_TRUE(outcome.movie);
    QTemporaryDir folder;
    const QString path = folder.filePath("preview.mp4");
    int reports = 0;
    const PreviewRenderResult result =
        renderPreview(*outcome.movie, path, [&reports](double) { return ++reports < 2; });
    EXPECT_EQ(result.status, PreviewRenderResult::Status::Cancelled);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace quillery
