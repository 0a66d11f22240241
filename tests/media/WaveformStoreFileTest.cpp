// The file form of finished stores and the cache built on it: what goes in comes back,
// and a damaged, cut or stale file is refused rather than half read.
#include "WaveformStoreCache.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace quillery {
namespace {

WaveformStorePtr filledStore(int track) {
    AudioStreamDescription source{48000, 2, 32};
    AudioStreamDescription target = source;
    target.sampleRate = 300;
    auto store = std::make_shared<WaveformAudioDataStore>(source, target, 1.0);
    std::vector<float> frames(2 * 48000);
    for (std::size_t f = 0; f < 48000; ++f) {
        frames[2 * f] = 0.5f;
        frames[2 * f + 1] = f < 24000 ? 0.25f : 1.5f;
    }
    store->addSamples(frames.data(), 48000);
    store->setTrackNumber(track);
    return store;
}

TEST(WaveformStoreFile, StoresComeBackWithTheirValuesAndTracks) {
    const WaveformStorePtr first = filledStore(0);
    const WaveformStorePtr second = filledStore(3);
    const auto contents =
        decodeWaveformFile(encodeWaveformFile("key", {first.get(), second.get()}));
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->sourceKey, "key");
    ASSERT_EQ(contents->stores.size(), 2u);
    const WaveformAudioDataStore& back = *contents->stores[1];
    EXPECT_EQ(back.trackNumber(), 3);
    EXPECT_EQ(back.mTotalLength(), 300u);
    EXPECT_TRUE(back.isLoadComplete());
    EXPECT_EQ(back.getData(0, 0), 100);
    EXPECT_EQ(back.getData(1, 10), 50);
    EXPECT_EQ(back.getData(1, 200), 255);
}

struct Damage {
    const char* name;
    std::function<void(QByteArray&)> apply;
};

class DamagedWaveformFile : public testing::TestWithParam<Damage> {};

TEST_P(DamagedWaveformFile, IsRefusedWhole) {
    const WaveformStorePtr store = filledStore(0);
    QByteArray bytes = encodeWaveformFile("key", {store.get()});
    GetParam().apply(bytes);
    EXPECT_FALSE(decodeWaveformFile(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedWaveformFile,
                         testing::Values(Damage{"Empty",
                                                [](QByteArray& b) {
                                                    b.clear();
                                                }},
                                         Damage{"CutShort",
                                                [](QByteArray& b) {
                                                    b.chop(40);
                                                }},
                                         Damage{"OneValueChanged",
                                                [](QByteArray& b) {
                                                    b[b.size() - 100] ^= 1;
                                                }},
                                         Damage{"OtherMagic",
                                                [](QByteArray& b) {
                                                    b[0] = 'X';
                                                }},
                                         Damage{"ChecksumOnly",
                                                [](QByteArray& b) {
                                                    b.chop(16);
                                                }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformStoreFile, CountsThatDisagreeWithTheRateAreRefusedEvenWithAGoodChecksum) {
    AudioStreamDescription source{48000, 1, 32};
    AudioStreamDescription target = source;
    target.sampleRate = 300;
    // A one-second store re-labelled as two seconds: 600 values promised, 300 given.
    WaveformAudioDataStore store(source, target, 1.0);
    QByteArray bytes = encodeWaveformFile("k", {&store});
    bytes.chop(16);
    const qsizetype durationAt = 8 + 4 + 4 + 1 + 4 + 4 + 8 + 4 + 4;
    const double twoSeconds = 2.0;
    bytes.replace(durationAt, 8, QByteArray(reinterpret_cast<const char*>(&twoSeconds), 8));
    bytes += QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
    EXPECT_FALSE(decodeWaveformFile(bytes));
}

class WaveformStoreCacheTest : public testing::Test {
protected:
    void SetUp() override {
        movie = folder.filePath("movie.mp4");
        QFile file(movie);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not really a movie");
    }

    QTemporaryDir folder;
    QString movie;
};

TEST_F(WaveformStoreCacheTest, AStoreIsFoundAgainForTheSameMovieAndTrack) {
    WaveformStoreCache cache(folder.filePath("cache"));
    ASSERT_TRUE(cache.save(movie, *filledStore(1)));
    const WaveformStorePtr found = cache.load(movie, 1);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getData(0, 5), 100);
    EXPECT_FALSE(cache.load(movie, 0)) << "another track";
}

TEST_F(WaveformStoreCacheTest, AChangedMovieMissesTheCache) {
    WaveformStoreCache cache(folder.filePath("cache"));
    ASSERT_TRUE(cache.save(movie, *filledStore(0)));
    QFile file(movie);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(" with more bytes");
    file.close();
    EXPECT_FALSE(cache.load(movie, 0));
}

TEST_F(WaveformStoreCacheTest, ADamagedEntryIsIgnoredAndRewritten) {
    WaveformStoreCache cache(folder.filePath("cache"));
    ASSERT_TRUE(cache.save(movie, *filledStore(0)));
    const QString entry = cache.entryPath(WaveformStoreCache::sourceKey(movie, 0));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(60);
    file.write("garbage");
    file.close();
    EXPECT_FALSE(cache.load(movie, 0));
    ASSERT_TRUE(cache.save(movie, *filledStore(0)));
    EXPECT_TRUE(cache.load(movie, 0));
}

} // namespace
} // namespace quillery
