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

const QString kTwoSubtitles = "[00:00:01.00]Hello[00:00:02.12]\n[00:00:03.00]World[00:00:04.00]";

// Each line as "start end startNumerator endNumerator text", times to the millisecond, the
// lines joined by " | ".
TEST(Exporter, SubtitleLinesFollowTheTimeStrings) {
    const struct {
        const char* name;
        double fps;
        QString script;
        double movieDuration;
        QString lines;
    } rows[] = {
        {"two subtitles", 25, kTwoSubtitles, 0,
         "1.000 2.480 100 212 Hello | 3.000 4.000 300 400 World"},
        {"no time strings", 25, "Just text\nand more", 0, ""},
        {"a shared time string ends one and starts the next", 25,
         "[00:00:01.00]A[00:00:02.00]B[00:00:03.00]", 0,
         "1.000 2.000 100 200 A | 2.000 3.000 200 300 B"},
        {"free text between subtitles is a subtitle", 25,
         "[00:00:01.00]A[00:00:02.00]\nnote\n[00:00:03.00]B[00:00:04.00]", 0,
         "1.000 2.000 100 200 A | 2.000 3.000 200 300 note | 3.000 4.000 300 400 B"},
        // 10/30 s = 0.3333 s, rounded up to the millisecond when stored.
        {"start rounded up to the millisecond", 30, "[00:00:01.10]A[00:00:02.00]", 0,
         "1.334 2.000 110 200 A"},
        // 10 ticks a second: 10.99 s is 109.9 ticks, truncated.
        {"trailing text runs to the movie's end", 25, "[00:00:05.00]Tail", 10.99,
         "5.000 10.990 500 109 Tail"},
        // 1e15 s is past the 2^31 seconds any time holds: the end cannot be converted.
        {"a movie end no time can hold", 25, "[00:00:05.00]Tail", 1e15, "5.000 -1.000 500 -1 Tail"},
        // The trailing start is floored to hundredths: 10/30 s gives 0.33, not 0.334.
        {"trailing start floored to hundredths", 30, "[00:00:01.10]Tail", 0,
         "1.330 0.000 110 0 Tail"},
        {"the trailing rest is untrimmed up to the line end", 25, "[00:00:05.00] Tail \nnext line",
         0, "5.000 0.000 500 0  Tail "},
        {"a trailing time string then a line break gives nothing", 25,
         "[00:00:01.00]A[00:00:02.00]\nfree text", 0, "1.000 2.000 100 200 A"},
        {"the whole text is trimmed before parsing", 25, "\n [00:00:01.00]A[00:00:02.00] \t", 0,
         "1.000 2.000 100 200 A"},
    };
    for (const auto& row : rows) {
        FpsGuard guard(row.fps);
        const FakeScript script(row.script, row.movieDuration);
        QStringList lines;
        for (const SubtitleLinePtr& line : QYExporter(script).generateSubtitleLines())
            lines << QString::asprintf("%.3f %.3f %lld %lld ", line->startTime(), line->endTime(),
                                       static_cast<long long>(line->startNumerator),
                                       static_cast<long long>(line->endNumerator)) +
                         line->text();
        EXPECT_EQ(lines.join(" | "), row.lines) << row.name;
    }
}

TEST(Exporter, TimeStringsSplitTheTimeByItsClockParts) {
    const struct {
        double fps;
        double seconds;
        const char* srt;
        const char* stl;
        const char* textScript;
    } rows[] = {
        // 500 ms at 25 fps is 12.5 frames, rounded away from zero; hours are not wrapped.
        {25, 90000.5, "25:00:00,500", "25:00:00:13", "25;00;00;13"},
        {29.97, 3723.5, "01:02:03,500", "01:02:03:15", "01;02;03;15"},
        // -1 splits into -1 whole seconds and 0 ms; "%.2d" pads after the sign, "%02d" not.
        {25, -1, "00:00:-01,000", "00:00:-1:00", "00;00;-1;00"},
    };
    for (const auto& row : rows) {
        FpsGuard guard(row.fps);
        EXPECT_EQ(QYExporter::srtTimeStringFromTimeInterval(row.seconds), row.srt);
        EXPECT_EQ(QYExporter::stlTimeStringFromTimeInterval(row.seconds), row.stl);
        EXPECT_EQ(QYExporter::textScriptTimeStringFromTimeInterval(row.seconds), row.textScript);
    }
}

TEST(Exporter, EveryWriterPrintsTheSubtitles) {
    FpsGuard guard(25);
    const QString stlComment = "//This STL file is genetated by Quillery";
    const struct {
        const char* name;
        QString script;
        double movieDuration;
        QString srt;
        QString stl;
        QString textScript;
    } rows[] = {
        {"no subtitles", "no time strings here", 0, "", stlComment, ""},
        {"two subtitles", kTwoSubtitles, 0,
         "0\n00:00:01,000 --> 00:00:02,480\nHello\n\n1\n00:00:03,000 --> 00:00:04,000\nWorld\n",
         stlComment + "\n00:00:01:00, 00:00:02:12, Hello\n00:00:03:00, 00:00:04:00, World",
         "0 00;00;01;00 00;00;02;12 Hello\n1 00;00;03;00 00;00;04;00 World"},
        {"line-break mark", "[00:00:01.00]One\u23CETwo[00:00:02.00]", 0,
         "0\n00:00:01,000 --> 00:00:02,000\nOne\nTwo\n",
         stlComment + "\n00:00:01:00, 00:00:02:00, One\u23CETwo",
         "0 00;00;01;00 00;00;02;00 One\nTwo"},
        {"an end at the movie's duration without carry", "[00:00:01.00]Hello", 1.99,
         "0\n00:00:01,000 --> 00:00:01,990\nHello\n",
         stlComment + "\n00:00:01:00, 00:00:01:25, Hello", "0 00;00;01;00 00;00;01;25 Hello"},
    };
    for (const auto& row : rows) {
        const FakeScript script(row.script, row.movieDuration);
        const QYExporter exporter(script);
        EXPECT_EQ(exporter.getSRTFileContent(), row.srt) << row.name;
        EXPECT_EQ(exporter.getSTLFileContent(), row.stl) << row.name;
        EXPECT_EQ(exporter.getTextScriptFileContent(), row.textScript) << row.name;
    }
}

} // namespace
