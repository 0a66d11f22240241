// WebVTT: cues of a time line ("MM:SS.mmm --> MM:SS.mmm", hours optional, cue settings
// ignored) and the text lines up to the next blank line. Reading drops the voice, ruby,
// class and span markup the script editor cannot show; writing puts hours in only when
// a cue needs them.
#pragma once

#include "SubtitleFormat.h"

namespace quillery {

class WebVTTFormat : public SubtitleFormat {
public:
    WebVTTFormat();

    // Takes the markup off the first opening tag of this name (the name followed by a
    // space, up to its ">") and removes every closing tag of the name.
    static QString removeTag(const QString& tag, const QString& text);

    void loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString& path) override;
    QString textHead(const QString& title) const override;
    void appendLineText(QString& text, const SubtitleLine& line) const override;
    QString finishText(QString text) const override;
    void removeNativeFormatting(Subtitle& subtitle, const SubtitleFormat* newFormat) const override;
};

} // namespace quillery
