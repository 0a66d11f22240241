#include "WebVTTFormat.h"

#include "FormatTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

TEST(WebVTTFormat, TimeLines) {
    const struct {
        const char* name;
        const char* line;
        const char* cue; // null: not a time line
    } rows[] = {
        {"short start, long end", "01:02.500 --> 1:01:04.000", "62500 3664000 Text"},
        {"settings ignored, ms whole", "00:00:01.5 -->00:00:02.50 align:start", "1005 2050 Text"},
        // 99999 x 60,000 ms is past 32 bits but well within a time.
        {"minutes past 32-bit products", "00:99999:00.000 --> 00:40000:00.000",
         "5999940000 2400000000 Text"},
        // 600,000 hours is past the 2^31 seconds any time holds: the unset -1 ms.
        {"hours past any time", "600000:00:00.000 --> 00:00:01.000", "-1 1000 Text"},
        {"short end needs a space after the arrow", "00:01.000 -->00:02.000", nullptr},
        {"leading spaces", "  00:01.000 --> 00:02.000", nullptr},
    };
    for (const auto& row : rows) {
        Subtitle subtitle;
        WebVTTFormat().loadSubtitle(subtitle, {"WEBVTT", "", row.line, "Text"}, QString());
        EXPECT_EQ(cuesOf(subtitle), row.cue ? QStringList{row.cue} : QStringList()) << row.name;
    }
}

TEST(WebVTTFormat, CueTextRunsToTheFirstEmptyLine) {
    Subtitle subtitle;
    WebVTTFormat().loadSubtitle(subtitle,
                                {"WEBVTT", "", "1", "00:01.000 --> 00:02.000", "  first  ", "   ",
                                 "second", "", "NOTE between cues", "00:03.000 --> 00:04.000", "",
                                 "00:05.000 --> 00:06.000", "third", "00:07.000 --> 00:08.000",
                                 "fourth"},
                                QString());
    EXPECT_EQ(texts(subtitle), QStringList({"first\nsecond", "", "third", "fourth"}));
    EXPECT_EQ(subtitle.subtitles.last()->number, 4);
}

TEST(WebVTTFormat, RemoveTagDropsTheFirstOpeningTagAndEveryClosingTag) {
    const char* rows[][3] = {
        {"v", "<v A>Hi</v> <v B>Yo</v>", "Hi <v B>Yo"},
        {"v", "<v.loud A>Hi</v>", "<v.loud A>Hi</v>"},
        {"c", "<c a b</c>!", "!"},
        {"c", "<cc a>x</c>", "<cc a>x</c>"},
    };
    for (const auto& [tag, text, expected] : rows)
        EXPECT_EQ(WebVTTFormat::removeTag(tag, text), expected) << text;
}

TEST(WebVTTFormat, NativeFormattingDropsVoiceRubyClassAndSpanMarkup) {
    Subtitle subtitle;
    WebVTTFormat format;
    format.loadSubtitle(subtitle,
                        {"00:01.000 --> 00:02.000", "<v Ann><c hi>Hi</c> <span x>there</span>",
                         "<ruby x>k<rt y>a</rt></ruby></v> <i>ok</i>"},
                        QString());
    format.removeNativeFormatting(subtitle, nullptr);
    EXPECT_EQ(texts(subtitle), QStringList({"Hi there\nka <i>ok</i>"}));
}

TEST(WebVTTFormat, WriterAddsHoursOnlyWhenACueNeedsThem) {
    const Subtitle subtitle =
        subtitleOf({cue(1500, 3000, "Hello\n\n\nworld"), cue(3599000, 3601000, "Bye")});
    EXPECT_EQ(WebVTTFormat().toText(subtitle, "WebVTT"),
              "WEBVTT\n\n00:01.500 --> 00:03.000\nHello\nworld\n\n"
              "00:59:59.000 --> 01:00:01.000\nBye");
    EXPECT_EQ(WebVTTFormat().toText(Subtitle(), "WebVTT"), "WEBVTT");
}

TEST(WebVTTFormat, DataFileArrowsOutsideTimeLinesAreText) {
    Subtitle arrows;
    loadSubtitle(arrows, QDir(QUILLERY_TEST_DATA_DIR).filePath("vtt/wpt-arrows.vtt"));
    EXPECT_EQ(texts(arrows), QStringList({"text1\nfoo-->", "text2\n-->foo", "text3\n--->",
                                          "text4\n-->-->", "text5", "text6"}));
}

} // namespace
