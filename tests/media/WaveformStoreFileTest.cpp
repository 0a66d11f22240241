// The file form of finished stores and the cache built on it: what goes in comes back,
// and a damaged, cut or stale file is refused rather than half read.
#include "TestFiles.h"
#include "WaveformStoreCache.h"
#include "WaveformStores.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace quillery {
namespace {

using test::storeOfLevels;

// The file changed and given a right checksum again, so that only its other checks can
// refuse it.
QByteArray resealed(QByteArray bytes, const std::function<void(QByteArray&)>& change) {
    bytes.chop(16);
    change(bytes);
    return bytes + QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

TEST(WaveformStoreFile, ADamagedFileIsRefusedWhole) {
    const QByteArray good = encodeWaveformFile("k", {storeOfLevels(1, {100}).get()});
    ASSERT_TRUE(decodeWaveformFile(good));
    QByteArray changed = good;
    changed[changed.size() - 100] ^= 1;
    EXPECT_FALSE(decodeWaveformFile(changed)) << "one value changed";
    EXPECT_FALSE(decodeWaveformFile({})) << "empty";
    EXPECT_FALSE(decodeWaveformFile(resealed(good, [](QByteArray& b) { b[0] = 'X'; })))
        << "another magic";
    EXPECT_FALSE(decodeWaveformFile(resealed(good, [](QByteArray& b) { b.chop(1); })))
        << "a value short";
    EXPECT_FALSE(decodeWaveformFile(resealed(good, [](QByteArray& b) { b += 'x'; })))
        << "a byte more";
    // Re-labelled as two seconds: 600 values promised, 300 given.
    const auto twoSeconds = [](QByteArray& b) {
        const double seconds = 2.0;
        const qsizetype durationAt = 8 + 4 + 4 + 1 + 4 + 4 + 8 + 4 + 4;
        b.replace(durationAt, 8, QByteArray(reinterpret_cast<const char*>(&seconds), 8));
    };
    EXPECT_FALSE(decodeWaveformFile(resealed(good, twoSeconds))) << "counts against the rate";
}

TEST(WaveformStoreCache, FindsAStoreForItsMovieAndTrackUntilTheMovieChanges) {
    QTemporaryDir folder;
    const QString movie = test::writeFile(folder.filePath("movie.mp4"), "not really a movie");
    const WaveformStoreCache cache(folder.filePath("cache"));
    const WaveformStorePtr store = storeOfLevels(1, {100});
    store->setTrackNumber(1);
    ASSERT_TRUE(cache.save(movie, *store));
    ASSERT_TRUE(cache.load(movie, 1));
    EXPECT_EQ(cache.load(movie, 1)->getData(0, 5), 100);
    EXPECT_FALSE(cache.load(movie, 0)) << "another track";

    test::writeFile(cache.entryPath(WaveformStoreCache::sourceKey(movie, 1)), "garbage");
    EXPECT_FALSE(cache.load(movie, 1)) << "a damaged entry";
    ASSERT_TRUE(cache.save(movie, *store)) << "written anew";
    EXPECT_TRUE(cache.load(movie, 1));

    test::writeFile(movie, "not really a movie, with more bytes");
    EXPECT_FALSE(cache.load(movie, 1)) << "a changed movie";
}

} // namespace
} // namespace quillery
