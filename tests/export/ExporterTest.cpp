#include "FpsGuard.h"
#include "NumberText.h"
#include "QYExporter.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FpsGuard;

namespace {

// A script without an editor. Its tick conversion is a stand-in that reads the seconds and
// frame digits as one number ([00:00:03.12] is 312), enough to see which string went where.
class FakeScript : public QYExportSource {
public:
    FakeScript(QString text, double duration = 0) : text_(std::move(text)), duration_(duration) {}

    QString scriptText() const override { return text_; }
    double movieDuration() const override { return duration_; }
    int32_t fcpxFrameDurationNumerator() const override { return 1; }
    int32_t fcpxFrameDurationDenominator() const override { return 10; }
    int32_t numeratorFromQuilleryTimecode(const QString& timeString) const override {
        return intValue(QString(timeString.mid(7, 2) + timeString.mid(10, 2)));
    }

private:
    QString text_;
    double duration_;
};

struct ParseCase {
    const char* name;
    double fps;
    QString script;
    double movieDuration;
    // Each line as "start end startNumerator endNumerator text", times to the millisecond.
    QStringList lines;
};

QString described(const SubtitleLine& line) {
    return QString::asprintf("%.3f %.3f %lld %lld ", line.startTime(), line.endTime(),
                             static_cast<long long>(line.startNumerator),
                             static_cast<long long>(line.endNumerator)) +
           line.text();
}

ParseCase row(const char* name, double fps, const QString& script, double movieDuration,
              const QStringList& lines) {
    return ParseCase{name, fps, script, movieDuration, lines};
}

class GenerateSubtitleLines : public testing::TestWithParam<ParseCase> {};

TEST_P(GenerateSubtitleLines, FollowsTheTimeStrings) {
    const ParseCase& c = GetParam();
    FpsGuard guard(c.fps);
    const FakeScript script(c.script, c.movieDuration);
    QStringList lines;
    for (const SubtitleLinePtr& line : QYExporter(script).generateSubtitleLines())
        lines.append(described(*line));
    EXPECT_EQ(lines, c.lines);
}

const QString kTwoSubtitles = "[00:00:01.00]Hello[00:00:02.12]\n[00:00:03.00]World[00:00:04.00]";

INSTANTIATE_TEST_SUITE_P(
    Exporter, GenerateSubtitleLines,
    testing::Values(
        row("TwoSubtitles", 25, kTwoSubtitles, 0,
            {"1.000 2.480 100 212 Hello", "3.000 4.000 300 400 World"}),
        row("NoTimeStrings", 25, "Just text\nand more", 0, {}),
        row("OnlyBlanksBetween", 25, "[00:00:01.00] \t\r\n [00:00:02.00]", 0, {}),
        row("OtherWhiteSpaceIsText", 25, "[00:00:01.00]\u3000[00:00:02.00]", 0,
            {"1.000 2.000 100 200 \u3000"}),
        row("SharedTimeStringEndsOneAndStartsNext", 25, "[00:00:01.00]A[00:00:02.00]B[00:00:03.00]",
            0, {"1.000 2.000 100 200 A", "2.000 3.000 200 300 B"}),
        row("FreeTextBetweenSubtitlesIsASubtitle", 25,
            "[00:00:01.00]A[00:00:02.00]\nnote\n[00:00:03.00]B[00:00:04.00]", 0,
            {"1.000 2.000 100 200 A", "2.000 3.000 200 300 note", "3.000 4.000 300 400 B"}),
        row("TextOrderAndInvertedTimesKept", 25,
            "[00:00:05.00]Late[00:00:06.00]\n[00:00:03.00]Back[00:00:02.00]", 0,
            {"5.000 6.000 500 600 Late", "3.000 2.000 300 200 Back"}),
        row("ThreeDigitFractionCountsFrames", 25, "[00:00:01.123]A[00:00:10.00]", 0,
            {"5.920 10.000 112 1000 A"}),
        // 10/30 s = 0.3333 s, rounded up to the millisecond when stored.
        row("StartRoundedUpToMillisecond", 30, "[00:00:01.10]A[00:00:02.00]", 0,
            {"1.334 2.000 110 200 A"}),
        row("TrailingTextRunsToZeroWithoutMovie", 25,
            "[00:00:01.00]A[00:00:02.00]\n[00:00:05.00]Tail", 0,
            {"1.000 2.000 100 200 A", "5.000 0.000 500 0 Tail"}),
        // 10 ticks a second: 10.99 s is 109.9 ticks, truncated.
        row("TrailingTextRunsToMovieEnd", 25, "[00:00:05.00]Tail", 10.99,
            {"5.000 10.990 500 109 Tail"}),
        // The trailing start is floored to hundredths: 10/30 s gives 0.33, not 0.334.
        // 1e15 s is past the 2^31 seconds any time holds: the end cannot be converted.
        row("MovieEndNoTimeCanHold", 25, "[00:00:05.00]Tail", 1e15, {"5.000 -1.000 500 -1 Tail"}),
        row("TrailingStartFlooredToHundredths", 30, "[00:00:01.10]Tail", 0,
            {"1.330 0.000 110 0 Tail"}),
        row("TrailingRestIsUntrimmedUpToLineEnd", 25, "[00:00:05.00] Tail \nnext line", 0,
            {"5.000 0.000 500 0  Tail "}),
        row("TrailingTimeStringThenLineBreakGivesNothing", 25,
            "[00:00:01.00]A[00:00:02.00]\nfree text", 0, {"1.000 2.000 100 200 A"}),
        row("WholeTextTrimmedBeforeParsing", 25, "\n [00:00:01.00]A[00:00:02.00] \t", 0,
            {"1.000 2.000 100 200 A"})),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

struct TimeStringCase {
    const char* name;
    double fps;
    double seconds;
    QString srt;
    QString stl;
    QString textScript;
};

class ExportTimeStrings : public testing::TestWithParam<TimeStringCase> {};

TEST_P(ExportTimeStrings, SplitTheTimeByItsClockParts) {
    const TimeStringCase& c = GetParam();
    FpsGuard guard(c.fps);
    EXPECT_EQ(QYExporter::srtTimeStringFromTimeInterval(c.seconds), c.srt);
    EXPECT_EQ(QYExporter::stlTimeStringFromTimeInterval(c.seconds), c.stl);
    EXPECT_EQ(QYExporter::textScriptTimeStringFromTimeInterval(c.seconds), c.textScript);
}

INSTANTIATE_TEST_SUITE_P(
    Exporter, ExportTimeStrings,
    testing::Values(
        // 500 ms at 25 fps is 12.5 frames, rounded away from zero.
        TimeStringCase{"HoursNotWrapped", 25, 90000.5, "25:00:00,500", "25:00:00:13",
                       "25;00;00;13"},
        TimeStringCase{"FractionalRate", 29.97, 3723.5, "01:02:03,500", "01:02:03:15",
                       "01;02;03;15"},
        // -1 splits into -1 whole seconds and 0 ms; "%.2d" pads after the sign, "%02d" not.
        TimeStringCase{"UnsetTime", 25, -1, "00:00:-01,000", "00:00:-1:00", "00;00;-1;00"}),
    [](const testing::TestParamInfo<TimeStringCase>& info) { return info.param.name; });

const QString kStlComment = "//This STL file is genetated by Quillery";

struct ContentCase {
    const char* name;
    QString script;
    double movieDuration;
    QString srt;
    QString stl;
    QString textScript;
};

class ExportContent : public testing::TestWithParam<ContentCase> {};

TEST_P(ExportContent, PrintsEveryWriter) {
    const ContentCase& c = GetParam();
    FpsGuard guard(25);
    const FakeScript script(c.script, c.movieDuration);
    const QYExporter exporter(script);
    EXPECT_EQ(exporter.getSRTFileContent(), c.srt);
    EXPECT_EQ(exporter.getSTLFileContent(), c.stl);
    EXPECT_EQ(exporter.getTextScriptFileContent(), c.textScript);
}

INSTANTIATE_TEST_SUITE_P(
    Exporter, ExportContent,
    testing::Values(ContentCase{"NoSubtitles", "no time strings here", 0, "", kStlComment, ""},
                    ContentCase{"TwoSubtitles", kTwoSubtitles, 0,
                                "0\n00:00:01,000 --> 00:00:02,480\nHello\n\n"
                                "1\n00:00:03,000 --> 00:00:04,000\nWorld\n",
                                kStlComment + "\n00:00:01:00, 00:00:02:12, Hello"
                                              "\n00:00:03:00, 00:00:04:00, World",
                                "0 00;00;01;00 00;00;02;12 Hello\n1 00;00;03;00 00;00;04;00 World"},
                    ContentCase{"LineBreakMark", "[00:00:01.00]One\u23CETwo[00:00:02.00]", 0,
                                "0\n00:00:01,000 --> 00:00:02,000\nOne\nTwo\n",
                                kStlComment + "\n00:00:01:00, 00:00:02:00, One\u23CETwo",
                                "0 00;00;01;00 00;00;02;00 One\nTwo"},
                    ContentCase{"EndAtMovieDurationWithoutCarry", "[00:00:01.00]Hello", 1.99,
                                "0\n00:00:01,000 --> 00:00:01,990\nHello\n",
                                kStlComment + "\n00:00:01:00, 00:00:01:25, Hello",
                                "0 00;00;01;00 00;00;01;25 Hello"}),
    [](const testing::TestParamInfo<ContentCase>& info) { return info.param.name; });

TEST(ExporterFiles, ExtensionAppendedOnlyWhenMissing) {
    EXPECT_EQ(pathWithExtension("/tmp/movie", "srt"), "/tmp/movie.srt");
    EXPECT_EQ(pathWithExtension("/tmp/movie.srt", "srt"), "/tmp/movie.srt");
    EXPECT_EQ(pathWithExtension("/tmp/moviesrt", "srt"), "/tmp/moviesrt.srt");
    EXPECT_EQ(pathWithExtension("/tmp/movie.srt", "txt"), "/tmp/movie.srt.txt");
}

} // namespace
