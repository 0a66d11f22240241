// YouTube SBV captions: per cue a line "H:MM:SS.mmm,H:MM:SS.mmm", its text lines, and a
// blank line. A blank line followed by more text does not end the cue; each line that
// should have been a time line counts as an error, which is what decides detection.
#pragma once

#include "SubtitleFormat.h"

namespace quillery {

class YouTubeSbv : public SubtitleFormat {
public:
    YouTubeSbv();

    void loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString& path) override;
    void appendLineText(QString& text, const SubtitleLine& line) const override;
    QString finishText(QString text) const override;

    // One step of the reader: the line read in the current state, with a look at the
    // line after it to tell a blank line inside a cue from the one that ends it.
    void readLine(Subtitle& subtitle, const QString& line, const QString& next);
    // Sets start and end from a whole-line "H:MM:SS.mmm,H:MM:SS.mmm"; false otherwise.
    bool tryReadTimeCodesLine(const QString& line, SubtitleLine& subtitleLine) const;
    // Non-blank, and neither a time line nor a bare number.
    bool isText(const QString& text) const;
    // H:MM:SS.mmm, hours without a leading zero.
    QString formatTime(const TimeCode& time) const;

private:
    enum Expecting { ExpectingText = 1, ExpectingTimeLine = 3 };

    void appendCurrentLine(Subtitle& subtitle);
    bool endsCueWithoutBlankLine(const QString& line, bool isLastLine) const;

    SubtitleLinePtr _l;
    // _l's text while its rows are read, appended in place so a long cue reads in linear
    // time; it goes onto _l when the cue is closed.
    QString _text;
    Expecting _expecting = ExpectingTimeLine;
};

} // namespace quillery
