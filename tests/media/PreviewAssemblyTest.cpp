// The preview assembled from Final Cut Pro timelines: the composition rules, and what the
// player shows and plays of real timelines whose media are made with ffmpeg at the paths
// the timelines name (each picture's colour tells its file and frame).
#include "FCPPreviewAssembly.h"
#include "FCPTestDocuments.h"
#include "MediaEngine.h"
#include "PreviewMedia.h"
#include "QYFCP7XMLParser.h"

namespace quillery {
namespace {

using test::CodedPicture;
using test::PreviewMedia;

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

// The player's picture at a frame, as the preview shows it.
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

struct ShownFrame {
    int frame;
    CodedPicture picture;
};

TEST(FCP7Preview, TheMainTrackOfARealSequencePlaysItsClipsFrameByFrame) {
    QUILLERY_REQUIRE_PREVIEW_MEDIA();
    const FCPMoviePtr movie =
        fcp7Movie(PreviewMedia::relocated(test::testDataFile("fcp7/xmeml-msub20000112-taco1.xml")));
    QYFCP7PreviewAssembly assembly(25);
    const std::optional<QuilleryMoviePlayerItem> item = assembly.getPlayerItemFromFCPMovie(*movie);
    ASSERT_TRUE(item);
    EXPECT_TRUE(assembly.missingMediaFiles().isEmpty())
        << assembly.missingMediaFiles().join(", ").toStdString();
    MoviePlayback playback;
    ASSERT_TRUE(playback.open(*item->mainMovie));
    EXPECT_EQ(playback.frameCount(), 618);
    // Files by red: 2211003 40, 2211070 80, 2211072 120, 2211071 160, 2211046 200.
    const ShownFrame expected[] = {
        {0, {40, 70}},     {63, {40, 133}},    {64, {80, 85}},    {117, {80, 138}},
        {118, {120, 748}}, {206, {120, 836}},  {207, {120, 587}}, {336, {120, 716}},
        {337, {160, 958}}, {437, {160, 1058}}, {438, {200, 145}}, {577, {200, 284}},
        {578, {200, 412}}, {617, {200, 451}},
    };
    for (const ShownFrame& row : expected) {
        const QImage picture = pictureAt(playback, row.frame);
        ASSERT_FALSE(picture.isNull()) << "frame " << row.frame;
        EXPECT_EQ(test::decodePicture(picture), row.picture) << "frame " << row.frame;
    }
}

} // namespace
} // namespace quillery
