// Speed of the script editor with a 10,000-line timed script: typing, Return, replacing
// the whole text, and the playing-line query the player makes 30 times a second.
#include "QYTimeUtility.h"
#include "SubtitleTextView.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr int kLines = 10000;

QString timedScript() {
    QYTimeUtility::sharedInstance().setFPS(25);
    QString script;
    for (int i = 0; i < kLines; ++i) {
        const int start = i * 3;
        if (i > 0)
            script += u'\n';
        script += QString::asprintf("[%02d:%02d:%02d.00]Line %d, and a second row⏎of it"
                                    "[%02d:%02d:%02d.12]",
                                    start / 3600, start / 60 % 60, start % 60, i, start / 3600,
                                    start / 60 % 60, (start + 2) % 60);
    }
    return script;
}

// One editor with the script loaded, kept for all iterations of a benchmark.
struct LoadedEditor {
    LoadedEditor() {
        view.resize(800, 600);
        view.show();
        view.replaceWholeText(timedScript());
        QApplication::processEvents();
    }
    void caretIntoTheMiddle(int column) {
        const qsizetype offset =
            view.script().offsetOfSubtitleLine(view.getAllSubtitles()[kLines / 2].get());
        view.setSelectedRange({offset + column, 0});
    }
    void press(Qt::Key key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&view, &event);
    }
    SubtitleTextView view;
};

void BM_EditorTypeCharacter10k(benchmark::State& state) {
    LoadedEditor editor;
    editor.caretIntoTheMiddle(20);
    for (auto _ : state) {
        editor.press(Qt::Key_X, "x");
        state.PauseTiming();
        editor.press(Qt::Key_Backspace, QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorTypeCharacter10k)->Unit(benchmark::kMicrosecond);

void BM_EditorReturn10k(benchmark::State& state) {
    LoadedEditor editor;
    const SubtitleLinePtr line = editor.view.getAllSubtitles()[kLines / 2];
    for (auto _ : state) {
        state.PauseTiming();
        editor.view.setSelectedRange({editor.view.script().findEndRangeOfSubtitleLine(
                                          editor.view.getAllSubtitles()[kLines / 2].get()),
                                      0});
        state.ResumeTiming();
        editor.press(Qt::Key_Return, "\r");
        state.PauseTiming();
        editor.press(Qt::Key_Backspace, QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorReturn10k)->Unit(benchmark::kMicrosecond);

void BM_EditorReplaceAll10k(benchmark::State& state) {
    LoadedEditor editor;
    const QString script = timedScript();
    for (auto _ : state) {
        editor.view.replaceWholeText(script);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_EditorReplaceAll10k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EditorPlayingLine10k(benchmark::State& state) {
    LoadedEditor editor;
    // From the middle of the script on, as playback does, a thirtieth of a second at a time;
    // the lines before are scanned on every tick, so later is slower.
    const double middle = kLines * 3 / 2.0;
    double t = middle;
    for (auto _ : state) {
        t += 1.0 / 30;
        if (t > kLines * 3)
            t = middle;
        const MediaTime now = MediaTime::makeWithSeconds(t, 30000);
        editor.view.setHighlightSubtitle(editor.view.getCurrentSubtitle(now));
    }
}
BENCHMARK(BM_EditorPlayingLine10k)->Unit(benchmark::kMicrosecond);

} // namespace
