// Speed of the waveform editor in the main window: laying out the blocks of the visible
// window for each step of a scroll through a 2-hour movie with 2,000 subtitles (and whether
// any block is made once the pool is warm), dragging a block's edge in a 10,000-line script
// (the mouse move, the script's time string, the shared record and the block's new frame),
// and loading a 10,000-line script with the waveform and its overview listening.
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "QYWaveFormView.h"
#include "SubtitleTextView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

// A silent store for the mapping: 300 values a second.
WaveformStorePtr silentStore(double seconds) {
    AudioStreamDescription source{48000, 2, 32};
    AudioStreamDescription target = source;
    target.sampleRate = 300;
    auto store = std::make_shared<WaveformAudioDataStore>(source, target, seconds);
    store->restore(
        std::vector<std::vector<uint8_t>>(2, std::vector<uint8_t>(store->mTotalLength())));
    return store;
}

QString clock(double seconds) {
    return QYTimeUtility::sharedInstance().timeStringFromTimeInterval(seconds);
}

// `count` subtitles of `length` seconds, one every `every` seconds.
QString evenScript(int count, double every, double length) {
    QString script;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            script += u'\n';
        script +=
            clock(i * every) + QStringLiteral("Subtitle %1").arg(i) + clock(i * every + length);
    }
    return script;
}

// The main window on a 1920-pixel screen, its waveform a silent movie of `seconds`.
struct EditorWindow {
    explicit EditorWindow(double seconds) {
        QYTimeUtility::sharedInstance().setFPS(25);
        preferences.waveFormZoomRate = 0.5;
        window.resize(1920, 1000);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        window.waveFormView()->waveFormLayer()->addDataStore(silentStore(seconds));
        QApplication::processEvents();
    }
    QYWaveFormView& view() { return *window.waveFormView(); }
    WaveformLayer& layer() { return *view().waveFormLayer(); }

    QTemporaryDir folder;
    QYSetting preferences{folder.filePath("settings.json")};
    QYMainWindowController window{nullptr, &preferences};
    bool exposed = false;
};

constexpr double kTwoHours = 2 * 3600;

void BM_WaveformLayoutPerScrollStep2000(benchmark::State& state) {
    EditorWindow editor(kTwoHours);
    editor.window.replaceTextInTextView(evenScript(2000, kTwoHours / 2000, 2));
    QApplication::processEvents();
    const double end = editor.layer().getTotalLength() - editor.view().width();
    // A wheel step of 40 pixels; one pass through the movie warms the pool.
    const double step = 40;
    for (double origin = 0; origin < end; origin += step)
        editor.layer().setNewOriginX(origin);
    const int warm = editor.view().createdTextViewCount();
    double origin = 0;
    for (auto _ : state) {
        origin = origin + step > end ? 0 : origin + step;
        editor.layer().setNewOriginX(origin);
    }
    state.counters["blocks_made_after_warm_up"] = editor.view().createdTextViewCount() - warm;
    state.counters["blocks_shown"] = static_cast<double>(editor.view().textLayerArray().size());
}
BENCHMARK(BM_WaveformLayoutPerScrollStep2000)->Unit(benchmark::kMicrosecond);

void BM_EdgeDragMouseMove10k(benchmark::State& state) {
    // 10,000 subtitles of 1 s, one every 2 s: 5.6 hours.
    constexpr int kLines = 10000;
    EditorWindow editor(kLines * 2 + 10);
    if (!editor.exposed) {
        state.SkipWithError("the window was never shown");
        return;
    }
    editor.window.replaceTextInTextView(evenScript(kLines, 2, 1));
    QApplication::processEvents();
    // Scrolled by hand to the middle line, whose end (at 2 s into the window) is dragged.
    const int middle = kLines / 2;
    editor.layer().setIsScroll(true);
    editor.layer().setNewOriginX((middle * 2 - 1) * editor.view().getSampleRate());
    QYWaveFormTextView* block = nullptr;
    for (QYWaveFormTextView* shown : editor.view().textLayerArray()) {
        if (shown->subtitleLine() == editor.window.textView()->getAllSubtitles()[middle])
            block = shown;
    }
    if (!block) {
        state.SkipWithError("the middle line has no block");
        return;
    }
    QWindow* window = editor.window.windowHandle();
    const QPoint handle = editor.view().mapTo(
        &editor.window, QPoint(qRound(block->frame().right()) - 3, editor.view().height() / 2));
    QTest::mousePress(window, Qt::LeftButton, {}, handle);
    if (!block->isDragging()) {
        state.SkipWithError("the press missed the block's handle");
        return;
    }
    int moves = 0;
    for (auto _ : state) {
        // Out and back between 10 and 40 pixels: a new time string on every move.
        const int offset = 10 + 10 * (moves++ % 4);
        QTest::mouseMove(window, handle + QPoint(offset, 0));
        QApplication::processEvents(); // the block follows its record
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, handle);
    state.counters["script_end_time_followed"] =
        editor.window.textView()->getAllSubtitles()[middle]->endTime() > middle * 2 + 1;
}
BENCHMARK(BM_EdgeDragMouseMove10k)->Unit(benchmark::kMillisecond);

void BM_LoadScriptWithWaveform10k(benchmark::State& state) {
    EditorWindow editor(20010);
    const QString script = evenScript(10000, 2, 1);
    for (auto _ : state) {
        editor.window.replaceTextInTextView(script);
        QApplication::processEvents();
    }
    state.counters["stripes"] = editor.view().overView()
                                    ? static_cast<double>(editor.view().overView()->getColorCount())
                                    : 0;
}
BENCHMARK(BM_LoadScriptWithWaveform10k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
