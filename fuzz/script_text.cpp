// Fuzzes reading script text and the rules that work on it: the records with their Final
// Cut Pro X ticks, the order checks, automatic correction and shifting.
#include "FuzzInput.h"
#include "ScriptEditing.h"
#include "ScriptText.h"

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static constexpr std::array<FrameDuration, 4> durations{
        {{0, 0}, {1001, 30000}, {1001, 60000}, {100, 2500}}};
    fuzz::Input input{data, size};
    fuzz::takeFrameRate(input);
    uint8_t choice = 0;
    input.take(&choice, 1);
    const QString text = input.text();
    const QList<SubtitleLinePtr> lines =
        generateSubtitleLines(text, durations[choice % durations.size()]);
    for (qsizetype i = 0; i < lines.size(); ++i)
        checkErrorStartTimeCode(lines, i);
    checkTimeStringOrder(text);
    autoCorrectedScript(lines);
    const MediaTime amount = QYTimeUtility::sharedInstance().getCMTimeWithFrame(choice);
    shiftTimeStrings(text, amount, choice % 2 == 0);
    return 0;
}
