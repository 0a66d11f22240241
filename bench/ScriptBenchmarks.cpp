// Speed of the paths that scale with the script: 10,000 subtitles through SubRip
// conversion, script parsing, SubRip export and WebVTT reading, and single cues of up to
// 400,000 rows, whose reading must grow linearly with the rows.
#include "QYExporter.h"
#include "QYTimeUtility.h"
#include "SRTFile.h"
#include "ScriptText.h"
#include "ScriptTextSource.h"
#include "SubtitleFormat.h"
#include "WebVTTFormat.h"
#include "YouTubeSbv.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr int kCues = 10000;

QString clock(int totalMilliseconds, QChar separator) {
    const int ms = totalMilliseconds % 1000;
    const int s = totalMilliseconds / 1000;
    return QString::asprintf("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60) + separator +
           QString::asprintf("%03d", ms);
}

QString subRipText() {
    QString text;
    for (int i = 0; i < kCues; ++i) {
        const int start = i * 3000;
        text += QString::number(i + 1) + "\r\n" + clock(start, u',') + " --> " +
                clock(start + 2500, u',') + "\r\nLine " + QString::number(i) +
                "\r\nsecond row\r\n\r\n";
    }
    return text;
}

QString webVttText() {
    QString text = "WEBVTT\n\n";
    for (int i = 0; i < kCues; ++i) {
        const int start = i * 3000;
        text += QString::number(i + 1) + "\n" + clock(start, u'.') + " --> " +
                clock(start + 2500, u'.') + " align:start\n<v Ann>Line " + QString::number(i) +
                "</v>\nsecond row\n\n";
    }
    return text;
}

QString scriptText() {
    QYTimeUtility::sharedInstance().setFPS(25);
    return SRTFile::convertToText(subRipText(), 25.0f);
}

void BM_SrtToScript10k(benchmark::State& state) {
    const QString text = subRipText();
    for (auto _ : state)
        benchmark::DoNotOptimize(SRTFile::convertToText(text, 25.0f));
}
BENCHMARK(BM_SrtToScript10k)->Unit(benchmark::kMillisecond);

void BM_ParseScript10k(benchmark::State& state) {
    const QString script = scriptText();
    for (auto _ : state)
        benchmark::DoNotOptimize(createSubtitleLinesFromText(script, FrameDuration{}));
}
BENCHMARK(BM_ParseScript10k)->Unit(benchmark::kMillisecond);

void BM_ExportSrt10k(benchmark::State& state) {
    const ScriptTextSource source(scriptText(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(QYExporter(source).getSRTFileContent());
}
BENCHMARK(BM_ExportSrt10k)->Unit(benchmark::kMillisecond);

void BM_ReadWebVTT10k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cues.vtt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(webVttText().toUtf8()) < 0) {
        state.SkipWithError("cannot write the WebVTT file");
        return;
    }
    file.close();
    for (auto _ : state) {
        Subtitle subtitle;
        benchmark::DoNotOptimize(loadSubtitle(subtitle, path));
        if (subtitle.subtitles.size() != kCues)
            state.SkipWithError("the WebVTT file did not load whole");
    }
}
BENCHMARK(BM_ReadWebVTT10k)->Unit(benchmark::kMillisecond);

// One cue of state.range(0) rows of "ab", read by the format; reports the complexity.
template <typename Format> void readLongCue(benchmark::State& state, const QString& timeLine) {
    QStringList lines{timeLine};
    for (int i = 0; i < state.range(0); ++i)
        lines.append(QStringLiteral("ab"));
    Format format;
    for (auto _ : state) {
        Subtitle subtitle;
        format.loadSubtitle(subtitle, lines, QString());
        benchmark::DoNotOptimize(subtitle.subtitles);
    }
    state.SetComplexityN(state.range(0));
}

void BM_ReadLongWebVttCue(benchmark::State& state) {
    readLongCue<WebVTTFormat>(state, QStringLiteral("00:01.000 --> 00:02.000"));
}
BENCHMARK(BM_ReadLongWebVttCue)
    ->RangeMultiplier(2)
    ->Range(50000, 400000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ReadLongSbvCue(benchmark::State& state) {
    readLongCue<YouTubeSbv>(state, QStringLiteral("0:00:01.000,0:00:02.000"));
}
BENCHMARK(BM_ReadLongSbvCue)
    ->RangeMultiplier(2)
    ->Range(50000, 400000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
