#include "Subtitle.h"

#include "ScriptMarks.h"

#include <QCoreApplication>

namespace quillery {

Subtitle::Subtitle() : filename(QCoreApplication::translate("Quillery", "Untitled")) {}

Subtitle Subtitle::fromScriptLines(const QList<SubtitleLinePtr>& lines, bool rowsAsLineFeeds) {
    Subtitle subtitle;
    for (const SubtitleLinePtr& line : lines)
        subtitle.subtitles.append(lineForWriting(*line, rowsAsLineFeeds));
    return subtitle;
}

SubtitleLinePtr Subtitle::lineForWriting(const SubtitleLine& line, bool rowsAsLineFeeds) {
    SubtitleLinePtr copy = SubtitleLine::copyOf(line);
    prepareForWriting(*copy, rowsAsLineFeeds);
    return copy;
}

void Subtitle::prepareForWriting(SubtitleLine& line, bool rowsAsLineFeeds) {
    if (rowsAsLineFeeds)
        line.setText(QString(line.text()).replace(kLineBreakMark, u'\n'));
}

bool Subtitle::calculateTimeCodesFromFrameNumbers(double frameRate) {
    if (format == nullptr || !wasLoadedWithFrameNumbers)
        return false;
    for (const SubtitleLinePtr& line : subtitles)
        line->calculateTimeCodesFromFrameNumbers(frameRate);
    return true;
}

void Subtitle::renumber(int64_t firstNumber) {
    for (const SubtitleLinePtr& line : subtitles)
        line->number = firstNumber++;
}

SubtitleLinePtr Subtitle::getSubtitleLineAtIndex(qsizetype index) const {
    if (index < 0 || index >= subtitles.size())
        return nullptr;
    return subtitles[index];
}

QString Subtitle::getTextViewDisplayString() const {
    QString text;
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += subtitles[i]->getSubtitleLineString().replace(u'\n', kLineBreakMark);
    }
    return text;
}

} // namespace quillery
