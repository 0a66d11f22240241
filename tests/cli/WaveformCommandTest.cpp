// `quillery-cli waveform` in-process: the file it writes holds the editor's levels for
// the tracks asked for, and bad requests are refused with the usual exit codes.
#include "CliCommands.h"
#include "TestMedia.h"
#include "WaveformStoreFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillery {
namespace {

using test::TestMedia;

cli::Result runCli(const QStringList& arguments) {
    return cli::run(arguments, [] { return QByteArray(); });
}

std::optional<WaveformFileContents> readWaveformFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? decodeWaveformFile(file.readAll()) : std::nullopt;
}

TEST(WaveformCommand, WritesTheLevelsOfTheTracksAskedFor) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    QTemporaryDir folder;
    const QString out = folder.filePath("levels.qywave");
    const cli::Result result = runCli({"waveform", TestMedia::shared().levels(), "-o", out});
    ASSERT_EQ(result.exitCode, cli::Success) << result.standardError.toStdString();
    const auto levels = readWaveformFile(out);
    ASSERT_TRUE(levels && levels->stores.size() == 1);
    EXPECT_EQ(levels->stores[0]->mTotalLength(), 3150u);
    EXPECT_EQ(levels->stores[0]->getData(0, 400), 255);

    const QString movie = TestMedia::shared().twoTracks();
    ASSERT_EQ(runCli({"waveform", "--track", "all", movie, "-o", out}).exitCode, cli::Success);
    EXPECT_EQ(readWaveformFile(out)->stores.size(), 2u);
    ASSERT_EQ(runCli({"waveform", "--track", "1", movie, "-o", out}).exitCode, cli::Success);
    const auto second = readWaveformFile(out);
    ASSERT_EQ(second->stores.size(), 1u);
    EXPECT_EQ(second->stores[0]->trackNumber(), 1);
}

TEST(WaveformCommand, RefusesWhatItCannotDo) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    QTemporaryDir folder;
    const QString out = folder.filePath("out.qywave");
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{"waveform", "--track", "left", TestMedia::shared().levels(), "-o", out}, cli::UsageError},
        {{"waveform", folder.filePath("missing.mp4"), "-o", out}, cli::InputError},
        {{"waveform", "--track", "2", TestMedia::shared().twoTracks(), "-o", out}, cli::InputError},
        {{"waveform", TestMedia::shared().noAudio(), "-o", out}, cli::InputError},
    };
    for (const auto& refused : cases) {
        const cli::Result result = runCli(refused.arguments);
        EXPECT_EQ(result.exitCode, refused.exitCode) << refused.arguments.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

} // namespace
} // namespace quillery
