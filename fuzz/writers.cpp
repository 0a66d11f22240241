// Fuzzes every writer on the records parsed from script text: the exporter's SubRip, STL
// and text script, the Avid list and each subtitle format, at any movie duration.
#include "AvidSubtitleFile.h"
#include "FuzzInput.h"
#include "QYExporter.h"
#include "ScriptText.h"
#include "ScriptTextSource.h"
#include "Subtitle.h"
#include "SubtitleFormat.h"

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input{data, size};
    fuzz::takeFrameRate(input);
    double movieDuration = 0;
    input.take(&movieDuration, sizeof movieDuration);
    const ScriptTextSource source(input.text(), movieDuration, FrameDuration{1001, 30000});
    const QYExporter exporter(source);
    exporter.getSRTFileContent();
    exporter.getSTLFileContent();
    exporter.getTextScriptFileContent();
    const QList<SubtitleLinePtr> lines = generateSubtitleLines(source.scriptText(), {});
    AvidSubtitleFile().convertSubtitleToAvidText(lines);
    for (const SubtitleFormat* format : SubtitleFormat::allSubtitleFormats())
        format->toText(Subtitle::fromScriptLines(lines, true), format->name());
    return 0;
}
