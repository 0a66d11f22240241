// Speed of the Final Cut Pro X round trip with 2,000 subtitles: reading a project whose
// storyline holds 2,000 titles (alone, and into the script editor) and generating the
// project back from the script.
#include "QYExporter.h"
#include "QYFCPXXMLParser.h"
#include "ScriptTextSource.h"
#include "SubtitleTextView.h"

#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr int kTitles = 2000;

// A 29.97 project: one clip of two hours whose connected storyline holds the titles, one
// every three seconds (90 frames of 1001/30000 s), each two seconds long.
QString projectWithTitles() {
    QString titles;
    for (int i = 0; i < kTitles; ++i) {
        const QString offset =
            i == 0 ? QString() : QStringLiteral(" offset=\"%1/30000s\"").arg(i * 90 * 1001);
        titles +=
            QStringLiteral("<title ref=\"r2\"%1 name=\"Line %2\" start=\"3600s\" "
                           "duration=\"60060/30000s\"><text><text-style ref=\"ts%2\">Line %2 of "
                           "the film</text-style></text><text-style-def id=\"ts%2\"><text-style "
                           "font=\"Helvetica\" fontSize=\"63\" fontColor=\"1 1 1 1\" "
                           "alignment=\"center\"/></text-style-def></title>")
                .arg(offset)
                .arg(i);
    }
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n"
               "<fcpxml version=\"1.9\"><resources><format id=\"r1\" frameDuration=\"1001/30000s\" "
               "width=\"1920\" height=\"1080\"/><effect id=\"r2\" name=\"Basic Title\" "
               "uid=\".../Basic Title.moti\"/><asset id=\"r3\" name=\"Film\" start=\"0s\" "
               "duration=\"7200s\" hasVideo=\"1\" format=\"r1\"/></resources><library><event "
               "name=\"E\"><project name=\"P\"><sequence format=\"r1\" "
               "duration=\"216000000/30000s\" tcStart=\"0s\"><spine><clip name=\"Film\" "
               "offset=\"0s\" duration=\"216000000/30000s\"><video ref=\"r3\" offset=\"0s\" "
               "duration=\"216000000/30000s\"/><spine lane=\"1\" offset=\"0s\">%1</spine></clip>"
               "</spine></sequence></project></event></library></fcpxml>")
        .arg(titles);
}

void BM_ReadFCPXMLWith2000Titles(benchmark::State& state) {
    const QString xml = projectWithTitles();
    for (auto _ : state) {
        const FCPXProjectReading reading =
            QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(xml);
        benchmark::DoNotOptimize(reading.scriptText);
    }
}
BENCHMARK(BM_ReadFCPXMLWith2000Titles)->Unit(benchmark::kMillisecond);

// What "Import FCPXML File" does: read the project and replace the editor's text.
void BM_ImportFCPXMLWith2000TitlesIntoTheEditor(benchmark::State& state) {
    const QString xml = projectWithTitles();
    SubtitleTextView view;
    for (auto _ : state) {
        const FCPXProjectReading reading =
            QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(xml);
        view.setFcpxFrameDuration(reading.frameDurationNumerator, reading.frameDurationDenominator);
        view.replaceWholeText(reading.scriptText);
    }
    state.counters["subtitles"] = static_cast<double>(view.getAllSubtitles().size());
}
BENCHMARK(BM_ImportFCPXMLWith2000TitlesIntoTheEditor)->Unit(benchmark::kMillisecond);

void BM_GenerateFCPXMLWith2000Titles(benchmark::State& state) {
    const FCPXProjectReading reading =
        QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(projectWithTitles());
    const ScriptTextSource script(
        reading.scriptText, 0, {reading.frameDurationNumerator, reading.frameDurationDenominator});
    const QYExporter exporter(script);
    for (auto _ : state) {
        const QString xml =
            exporter.genFCPXXml(*reading.document, reading.title(), reading.seqFormat, {});
        benchmark::DoNotOptimize(xml);
    }
}
BENCHMARK(BM_GenerateFCPXMLWith2000Titles)->Unit(benchmark::kMillisecond);

} // namespace
