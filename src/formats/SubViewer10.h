// SubViewer 1.0: a header block, then per cue a "[HH:MM:SS]" start line, one text line
// with rows joined by "|", and a "[HH:MM:SS]" end line. Whole seconds only: reading
// gives times without milliseconds and writing drops them.
#pragma once

#include "SubtitleFormat.h"

namespace quillery {

class SubViewer10 : public SubtitleFormat {
public:
    SubViewer10();

    void loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString& path) override;
    QString textHead(const QString& title) const override;
    void appendLineText(QString& text, const SubtitleLine& line) const override;
    QString finishText(QString text) const override;
};

} // namespace quillery
