#include "SoftSubtitleMuxer.h"

#include "MediaTools.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// As the SubRip export writes it: numbered from 0, one blank line between cues.
const QByteArray kSubRip = "0\n00:00:00,200 --> 00:00:00,800\nFirst\n\n"
                           "1\n00:00:01,000 --> 00:00:01,520\nTwo rows\nof text\n";
const QStringList kCues = {"00:00:00,200 --> 00:00:00,800\nFirst",
                           "00:00:01,000 --> 00:00:01,520\nTwo rows\nof text"};

class SoftSubtitleMuxerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        media = new QTemporaryDir;
        ASSERT_TRUE(makeMovie(media->filePath("source.mp4"), "mpeg4", "aac"));
        ASSERT_TRUE(makeMovie(media->filePath("source.webm"), "libvpx", "libopus"));
        // Transport streams start their clocks at 1.4 s, not at 0.
        ASSERT_TRUE(makeMovie(media->filePath("source.ts"), "mpeg2video", "mp2"));
    }
    static void TearDownTestSuite() {
        delete media;
        media = nullptr;
    }
    static QString movie(const QString& name) { return media->filePath(name); }

    SoftSubtitleJob job(const QString& movieName, const QString& outputName) const {
        return {movie(movieName), out.filePath(outputName), kSubRip, QStringLiteral("ger")};
    }
    QStringList filesLeft() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }

    static QTemporaryDir* media;
    QTemporaryDir out;
};

QTemporaryDir* SoftSubtitleMuxerTest::media = nullptr;

TEST_F(SoftSubtitleMuxerTest, CopiesPictureAndSoundAndAddsTheCuesInTheExtensionsFormat) {
    struct Row {
        const char* output;
        const char* source;
        const char* subtitleCodec;
    };
    const Row rows[] = {
        {"film.MOV", "source.mp4", "mov_text"},
        {"film.webm", "source.webm", "webvtt"},
        {"from-a-camera.mkv", "source.ts", "subrip"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        int reports = 0;
        const SoftSubtitleResult result =
            writeSoftSubtitledMovie(job(row.source, row.output), [&](double) {
                ++reports;
                return true;
            });
        ASSERT_EQ(result.status, SoftSubtitleResult::Status::Written) << result.error.toStdString();
        EXPECT_GT(reports, 0);
        const QString written = out.filePath(row.output);
        EXPECT_EQ(filesLeft(), QStringList{row.output});

        EXPECT_EQ(probeStreams(written).split(u'\n').value(2),
                  QStringLiteral("%1,subtitle,ger").arg(row.subtitleCodec));
        EXPECT_EQ(probeStreams(written).count(u'\n'), 2) << "picture, sound and subtitles";
        for (const char* stream : {"v:0", "a:0"}) {
            const QByteArray original = streamDigest(movie(row.source), stream);
            EXPECT_FALSE(original.isEmpty());
            EXPECT_EQ(streamDigest(written, stream), original) << stream << " was not copied";
        }
        EXPECT_EQ(
            subRipCues(subtitleTrackAsSubRip(written, movie(row.source))).join(" | ").toStdString(),
            kCues.join(" | ").toStdString());
        QFile::remove(written);
    }
}

TEST_F(SoftSubtitleMuxerTest, CancellingLeavesNoFileBehind) {
    writeFile(out.filePath("film.mkv"), "an earlier export");
    const SoftSubtitleResult result =
        writeSoftSubtitledMovie(job("source.mp4", "film.mkv"), [](double) { return false; });
    EXPECT_EQ(result.status, SoftSubtitleResult::Status::Cancelled);
    EXPECT_EQ(filesLeft(), QStringList{"film.mkv"});
    EXPECT_EQ(readFile(out.filePath("film.mkv")), "an earlier export");
}

TEST_F(SoftSubtitleMuxerTest, FailuresSayWhyAndLeaveNoFile) {
    const QString notAMovie = writeFile(out.filePath("notes.mov"), "plain text, not a movie");
    struct Row {
        const char* name;
        SoftSubtitleJob job;
        const char* says;
    };
    const Row rows[] = {
        {"unknown extension", job("source.mp4", "film.avi"), ".mp4, .m4v, .mov, .mkv, .webm"},
        {"not a movie", {notAMovie, out.filePath("film.mkv"), kSubRip, "und"}, "notes.mov"},
        {"codecs the container refuses", job("source.mp4", "film.webm"), "mpeg4"},
        {"folder that does not exist", job("source.mp4", "missing/film.mkv"), "film.mkv"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SoftSubtitleResult result = writeSoftSubtitledMovie(row.job, {});
        EXPECT_EQ(result.status, SoftSubtitleResult::Status::Failed);
        EXPECT_TRUE(result.error.contains(row.says)) << result.error.toStdString();
        EXPECT_EQ(filesLeft(), QStringList{"notes.mov"});
    }
}

TEST(SubtitleLanguageCodeTest, BibliographicThreeLetterCodes) {
    struct Row {
        QLocale locale;
        const char* code;
    };
    const Row rows[] = {
        {QLocale(QLocale::German, QLocale::Germany), "ger"},
        {QLocale::c(), "und"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(subtitleLanguageCode(row.locale), row.code) << row.locale.name().toStdString();
}

} // namespace
