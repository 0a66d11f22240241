// Extraction from real files made with ffmpeg: the levels a known signal gives, one store
// per track, an empty store for a missing track, the cache, and a clean stop midway.
#include "MovieAudioExtractor.h"

#include "QuilleryMoviePlayerItem.h"
#include "TestMedia.h"
#include "WaveformStoreCache.h"
#include "WaveformStoreSink.h"

#include <QCoreApplication>
#include <QSignalSpy>

namespace quillery {
namespace {

using test::TestMedia;

class RecordingSink : public WaveformStoreSink {
public:
    void addDataStore(WaveformStorePtr store) override { stores.push_back(std::move(store)); }
    void setNeedsDisplay() override {}
    void resetPointer() override {}

    std::vector<WaveformStorePtr> stores;
};

QuilleryMoviePlayerItem itemFor(const QString& path) {
    QuilleryMoviePlayerItem item;
    item.mainMovie = MoviePlayerItem::fromFile(path);
    return item;
}

bool waitUntilFinished(MovieAudioExtractor& extractor) {
    return test::waitFor(
        [&] { return extractor.mDataStore() && extractor.mDataStore()->isLoadComplete(); });
}

TEST(MovieAudioExtractor, AKnownSignalGivesItsLevelsAndIsRestoredFromTheCacheAtOnce) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    QTemporaryDir folder;
    const WaveformStoreCache cache(folder.filePath("cache"));
    const QuilleryMoviePlayerItem item = itemFor(TestMedia::shared().levels());
    MovieAudioExtractor extractor;
    extractor.setCache(&cache);
    QSignalSpy finished(&extractor, &MovieAudioExtractor::extractionFinished);
    extractor.DoStartMovieAudioExtraction(item, 0, 0);
    ASSERT_TRUE(finished.wait(30000));
    const WaveformStorePtr store = extractor.mDataStore();
    ASSERT_TRUE(store);
    // Each second's level ends on its own value.
    EXPECT_EQ(store->getData(0, 299), 100);
    EXPECT_EQ(store->getData(0, 300), 255);
    EXPECT_EQ(store->getData(0, 600), 0);

    MovieAudioExtractor again;
    again.setCache(&cache);
    QSignalSpy restored(&again, &MovieAudioExtractor::extractionFinished);
    again.DoStartMovieAudioExtraction(item, 0, 0);
    // Restored inside the start call: no event loop has run.
    ASSERT_EQ(restored.size(), 1);
    EXPECT_EQ(again.mDataStore()->getData(0, 300), 255);
}

TEST(MovieAudioExtractor, ALaterTrackFillsAStoreOfItsNumberInTheLayer) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    auto layer = std::make_shared<RecordingSink>();
    MovieAudioExtractor extractor;
    extractor.setExtractTrackNumber(1);
    extractor.setWaveformLayer(layer);
    extractor.DoStartMovieAudioExtraction(itemFor(TestMedia::shared().twoTracks()), 0, 0);
    ASSERT_TRUE(waitUntilFinished(extractor));
    ASSERT_EQ(layer->stores.size(), 1u);
    // The second track's mono sine of 0.5 reaches each stereo channel at -3 dB, and peaks in
    // every block: 0.5 x 0.707 x 200 = 71 (give or take the coding). The first would give 18.
    EXPECT_NEAR(layer->stores.front()->getData(1, 1500), 71, 6) << "the second track, right too";
}

TEST(MovieAudioExtractor, AMissingTrackCompletesWithAnEmptyStore) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    MovieAudioExtractor extractor;
    extractor.DoStartMovieAudioExtraction(itemFor(TestMedia::shared().noAudio()), 0, 0);
    ASSERT_TRUE(waitUntilFinished(extractor));
    EXPECT_EQ(extractor.mDataStore()->channelCount(), 0u);
}

TEST(MovieAudioExtractor, StoppingMidwayLeavesNothingScheduled) {
    QUILLERY_REQUIRE_TEST_MEDIA();
    MovieAudioExtractor extractor;
    QSignalSpy finished(&extractor, &MovieAudioExtractor::extractionFinished);
    extractor.DoStartMovieAudioExtraction(itemFor(TestMedia::shared().movie()), 0, 0);
    ASSERT_TRUE(test::waitFor(
        [&] { return extractor.mDataStore() && extractor.mDataStore()->writtenLength() > 0; }));
    extractor.stopExtracting();
    const uint32_t written = extractor.mDataStore()->writtenLength();
    EXPECT_LT(written, extractor.mDataStore()->mTotalLength());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(extractor.mDataStore()->writtenLength(), written);
    EXPECT_FALSE(extractor.mDataStore()->isLoadComplete());
    EXPECT_TRUE(finished.isEmpty());
}

} // namespace
} // namespace quillery
