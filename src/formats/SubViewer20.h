// SubViewer 2.0: an "[INFORMATION]" header block, then per cue one line
// "HH:MM:SS.mmm,HH:MM:SS.mmm" and one text line in which "[br]" breaks rows and
// {\i1}-style codes stand for italic, bold and underline tags.
#pragma once

#include "SubtitleFormat.h"

namespace quillery {

class SubViewer20 : public SubtitleFormat {
public:
    SubViewer20();

    void loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString& path) override;
    QString textHead(const QString& title) const override;
    void appendLineText(QString& text, const SubtitleLine& line) const override;
    QString finishText(QString text) const override;
};

} // namespace quillery
