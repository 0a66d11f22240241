#include "ScriptMarks.h"
#include "SubViewer10.h"
#include "SubViewer20.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

const QString kMark(kLineBreakMark);

Subtitle twoLines(const QString& firstText, const QString& secondText) {
    Subtitle subtitle;
    subtitle.subtitles = {SubtitleLine::create(), SubtitleLine::create()};
    subtitle.subtitles[0]->setStartTimeCode(TimeCode(1500));
    subtitle.subtitles[0]->setEndTimeCode(TimeCode(3250));
    subtitle.subtitles[0]->setText(firstText);
    subtitle.subtitles[1]->setStartTimeCode(TimeCode(3723999));
    subtitle.subtitles[1]->setEndTimeCode(TimeCode(3724005));
    subtitle.subtitles[1]->setText(secondText);
    return subtitle;
}

void expectCue(const SubtitleLinePtr& line, double startMs, double endMs, const QString& text) {
    EXPECT_DOUBLE_EQ(line->startTimeCode().totalMilliseconds(), startMs);
    EXPECT_DOUBLE_EQ(line->endTimeCode().totalMilliseconds(), endMs);
    EXPECT_EQ(line->text(), text);
}

TEST(SubViewer10, ReadsOneTextLineBetweenStartAndEndTimes) {
    Subtitle subtitle;
    SubViewer10().loadSubtitle(subtitle,
                               {"[TITLE]", "******** START SCRIPT ********", "[01:02:03]",
                                "[09:09:09]", " A|B ", "ignored", " [01:02:05] ", "", "[1:00:00]",
                                "[00:00:10]", "", "no end time"},
                               QString());
    ASSERT_EQ(subtitle.subtitles.size(), 1);
    expectCue(subtitle.subtitles[0], 3723000, 3725000, "A" + kMark + "B");
}

TEST(SubViewer10, WriterDropsMillisecondsAndJoinsRowsWithBars) {
    EXPECT_EQ(SubViewer10().toText(twoLines("Hello\nworld", "A" + kMark + "B"), "SubViewer 1.0"),
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
    ASSERT_EQ(subtitle.subtitles.size(), 2);
    // The digits after the point are whole milliseconds.
    expectCue(subtitle.subtitles[0], 1050, 1500, "<i>word</i>" + kMark + "</i><b>b</b>");
    // A time line that does not split into eight fields is passed over, not taken as text.
    expectCue(subtitle.subtitles[1], 4000, 5000, "</b><u>u</u></u>");
}

TEST(SubViewer20, WriterTranslatesTagsToCodes) {
    const Subtitle subtitle = twoLines("<i>Hello</i>\nworld", "<b>A</b>" + kMark + "<u>B</u>");
    EXPECT_EQ(SubViewer20().toText(subtitle, "SubViewer 2.0"),
              "[INFORMATION]\n[TITLE]SubViewer 2.0\n[AUTHOR]\n[SOURCE]\n[PRG]\n[FILEPATH]\n"
              "[DELAY]0\n[CD TRACK]0\n[COMMENT]\n[END INFORMATION]\n[SUBTITLE]\n"
              "[COLF]&H000000,[STYLE]bd,[SIZE]25,[FONT]Arial\n"
              "00:00:01.500,00:00:03.250\n{\\i1}Hello{\\i0}[br]world\n\n"
              "01:02:03.999,01:02:04.005\n{\\b1}A{\\b0}[br]{\\u1}B{\\u0}");
}

TEST(SubViewer20, DataFileSkipsNegativeTimes) {
    Subtitle subtitle;
    loadSubtitle(subtitle, QDir(QUILLERY_TEST_DATA_DIR).filePath("sub/quillery-subviewer2.sub"));
    ASSERT_EQ(subtitle.subtitles.size(), 3);
    // "00.95" is 95 ms: the digits after the point are whole milliseconds.
    expectCue(subtitle.subtitles[0], 95, 3036, "The boats came in at dawn.");
    expectCue(subtitle.subtitles[1], 4064, 6063,
              "<i>Nobody was waiting</i>" + kMark + "<i>on the quay.</i>");
}

} // namespace
