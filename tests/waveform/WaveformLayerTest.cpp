// The layer drawn into an image: level lines of the stored bytes centred on the middle,
// grey before the playhead, a red playhead, then red or blue after it; the zoom that
// comes from and goes to the preferences; and the view's scrolling.
#include "WaveformLayer.h"

#include "QYMoviePlayhead.h"
#include "QYSetting.h"
#include "QYWaveFormView.h"
#include "WaveformStores.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace quillery {
namespace {

using test::storeOfLevels;

class StillPlayhead : public QYMoviePlayhead {
public:
    double playheadSeconds() const override { return seconds; }
    bool isPlaying() const override { return playing; }
    bool isPlayForward() const override { return true; }
    bool shouldSyncWaveForm() const override { return false; }
    double durationSeconds() const override { return 60; }

    double seconds = 0;
    bool playing = false;
};

class RecordingDelegate : public WaveformLayerDelegate {
public:
    void setNewOriginX(double) override {}
    void waveFormLayerDidDrawPointer(double viewX) override { pointerXs << viewX; }
    void waveFormLayerDidChangeZoomRate() override { ++zoomChanges; }
    void waveFormLayerNeedsDisplay() override {}

    QList<double> pointerXs;
    int zoomChanges = 0;
};

// A 400 x 300 layer at 150 pixels a second; its stores hold 100 (a level of 0.5) on the
// left and 50 on the right.
class WaveformLayerTest : public testing::Test {
protected:
    void SetUp() override {
        settings.waveFormZoomRate = 0.5;
        layer = std::make_shared<WaveformLayer>(settings);
        layer->setDelegate(&delegate);
        layer->setPlayer(&playhead);
        layer->setMCurrentDrawRect(QRectF(0, 0, 400, 300));
    }

    QImage draw() {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        layer->draw(painter);
        return image;
    }

    QTemporaryDir folder;
    QYSetting settings{folder.filePath("settings.json")};
    StillPlayhead playhead;
    RecordingDelegate delegate;
    std::shared_ptr<WaveformLayer> layer;
};

const QColor kGrey(145, 145, 145);
const QColor kRed(255, 0, 0);
const QColor kBlue(32, 104, 212);
const QColor kWhite(255, 255, 255);

TEST_F(WaveformLayerTest, ChannelStylesColourBeforeAtAndAfterThePlayheadAndGainScales) {
    layer->addDataStore(storeOfLevels(10, {100, 50}));
    playhead.seconds = 0.5; // 75 pixels at 150 per second
    layer->setDisplayStyle(WaveformLayer::LeftChannel);
    QImage image = draw();
    EXPECT_EQ(image.pixelColor(20, 150), kGrey);
    EXPECT_EQ(image.pixelColor(75, 10), kRed) << "the playhead is full height";
    EXPECT_EQ(image.pixelColor(200, 150), kBlue);
    // A level byte of v is v pixels tall: 100 on the left channel.
    EXPECT_EQ(image.pixelColor(200, 150 - 45), kBlue);
    EXPECT_EQ(image.pixelColor(200, 150 - 55), kWhite);
    EXPECT_EQ(delegate.pointerXs.back(), 75);

    layer->setDisplayStyle(WaveformLayer::RightChannel);
    image = draw();
    EXPECT_EQ(image.pixelColor(200, 150 - 20), kBlue);
    EXPECT_EQ(image.pixelColor(200, 150 - 30), kWhite);

    layer->setDisplayStyle(WaveformLayer::BothChannels);
    image = draw();
    EXPECT_EQ(image.pixelColor(200, 150 - 35), kRed) << "after the playhead in the playhead's red";
    EXPECT_EQ(image.pixelColor(200, 150 - 40), kWhite) << "the average of 100 and 50";
    EXPECT_EQ(image.pixelColor(20, 150 - 35), kGrey);

    layer->setYAxisZoomRate(2.0);
    image = draw();
    EXPECT_EQ(image.pixelColor(200, 150 - 70), kRed) << "twice the gain, twice as tall";
    EXPECT_EQ(image.pixelColor(200, 150 - 80), kWhite);
}

TEST_F(WaveformLayerTest, TheZoomStartsFromThePreferencesAndAChangeIsSavedAndCentresThePlayhead) {
    settings.waveFormZoomRate = 1.5f;
    EXPECT_EQ(WaveformLayer(settings).zoomRate(), 0.5) << "out of range";
    settings.waveFormZoomRate = 0.8f;
    EXPECT_FLOAT_EQ(WaveformLayer(settings).zoomRate(), 0.8);
    layer->addDataStore(storeOfLevels(60, {100, 50}));
    playhead.seconds = 30;
    layer->setZoomRate(1.0);
    EXPECT_EQ(QYSetting(folder.filePath("settings.json")).waveFormZoomRate, 1.0f);
    draw();
    EXPECT_EQ(layer->mCurrentDrawRect().x(), 30 * 300 - 200);
    EXPECT_EQ(delegate.zoomChanges, 1);
}

TEST_F(WaveformLayerTest, WhileTheUserScrollsAPausedMovieTheWindowStays) {
    layer->addDataStore(storeOfLevels(60, {100, 50}));
    playhead.seconds = 30;
    layer->setIsScroll(true);
    layer->setNewOriginX(1000);
    draw();
    EXPECT_EQ(layer->mCurrentDrawRect().x(), 1000);
    playhead.playing = true;
    draw();
    EXPECT_EQ(layer->mCurrentDrawRect().x(), 30 * 150 - 400 / 5) << "playing follows again";
}

TEST_F(WaveformLayerTest, AWheelOverTheViewScrollsTheWindowAndStopsFollowing) {
    layer->addDataStore(storeOfLevels(60, {100, 50}));
    QYWaveFormView view;
    view.resize(400, 300);
    view.show();
    view.setWaveFormLayer(layer);
    layer->setNewOriginX(2000);
    QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), QPoint(120, 0), QPoint(0, 0),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
    EXPECT_EQ(layer->mCurrentDrawRect().x(), 1880);
    EXPECT_TRUE(layer->isScroll());
    // A resize keeps the centre.
    view.resize(600, 300);
    EXPECT_EQ(layer->mCurrentDrawRect().x(), 1780);
    EXPECT_EQ(layer->mCurrentDrawRect().width(), 600);
}

} // namespace
} // namespace quillery
