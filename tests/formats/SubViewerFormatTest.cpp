#include "FormatTestSupport.h"
#include "ScriptMarks.h"
#include "SubViewer10.h"
#include "SubViewer20.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kMark(kLineBreakMark);

Subtitle twoCues(const QString& firstText, const QString& secondText) {
    return subtitleOf({cue(1500, 3250, firstText), cue(3723999, 3724005, secondText)});
}

TEST(SubViewer10, ReadsOneTextLineBetweenStartAndEndTimes) {
    Subtitle subtitle;
    SubViewer10().loadSubtitle(subtitle,
                               {"[TITLE]", "******** START SCRIPT ********", "[01:02:03]",
                                "[09:09:09]", " A|B ", "ignored", " [01:02:05] ", "", "[1:00:00]",
                                "[00:00:10]", "", "no end time"},
                               QString());
    EXPECT_EQ(cuesOf(subtitle), QStringList{"3723000 3725000 A" + kMark + "B"});
}

TEST(SubViewer10, WriterDropsMillisecondsAndJoinsRowsWithBars) {
    EXPECT_EQ(SubViewer10().toText(twoCues("Hello\nworld", "A" + kMark + "B"), "SubViewer 1.0"),
              "[TITLE]\nSubViewer 1.0\n[AUTHOR]\n[SOURCE]\n[PRG]\n[FILEPATH]\n[DELAY]\n0\n"
              "[CD TRACK]\n0\n[BEGIN]\n******** START SCRIPT ********\n"
              "[00:00:01]\nHello|world\n[00:00:03]\n\n[01:02:03]\nA|B\n[01:02:04]\n\n"
              "[end]\n******** END SCRIPT ********\n");
}

TEST(SubViewer20, ReadsTimesAndTranslatesCodes) {
    Subtitle subtitle;
    SubViewer20().loadSubtitle(subtitle,
                               {"[INFORMATION]", "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Sans", "",
                                "00:00:01.50,00:00:01.500",
                                "{\\i1}word{\\i0}[br]{\\i}{\\b1}b{\\b0}", "second text line", "",
                                "00:00:04.000,00:00:05.000", "00:00:02x5,00:00:03.000", "",
                                " {\\b}{\\u1}u{\\u0}{\\u} ", "01:00:00.000,01:00:01.000"},
                               QString());
    // The digits after the point are whole milliseconds. A time line that does not split
    // into eight fields is passed over, not taken as text.
    EXPECT_EQ(cuesOf(subtitle), (QStringList{"1050 1500 <i>word</i>" + kMark + "</i><b>b</b>",
                                             "4000 5000 </b><u>u</u></u>"}));
}

TEST(SubViewer20, WriterTranslatesTagsToCodes) {
    EXPECT_EQ(SubViewer20().toText(twoCues("<i>Hello</i>\nworld", "<b>A</b>" + kMark + "<u>B</u>"),
                                   "SubViewer 2.0"),
              "[INFORMATION]\n[TITLE]SubViewer 2.0\n[AUTHOR]\n[SOURCE]\n[PRG]\n[FILEPATH]\n"
              "[DELAY]0\n[CD TRACK]0\n[COMMENT]\n[END INFORMATION]\n[SUBTITLE]\n"
              "[COLF]&H000000,[STYLE]bd,[SIZE]25,[FONT]Arial\n"
              "00:00:01.500,00:00:03.250\n{\\i1}Hello{\\i0}[br]world\n\n"
              "01:02:03.999,01:02:04.005\n{\\b1}A{\\b0}[br]{\\u1}B{\\u0}");
}

} // namespace
