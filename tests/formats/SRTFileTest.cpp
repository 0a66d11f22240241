#include "SRTFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using quillery::SRTFile;

namespace {

const QString kCorpus = QStringLiteral(QUILLERY_CORPUS_DIR);
const QChar kMark(0x23CE);

QString marked(const char* utf8) {
    return QString::fromUtf8(utf8).replace(u'|', kMark);
}

struct TimeLineCase {
    const char* name;
    const char* line;
    bool isTimeLine;
};

class SRTFileTimeLine : public testing::TestWithParam<TimeLineCase> {};

TEST_P(SRTFileTimeLine, MatchesThePatternExactlyOnce) {
    EXPECT_EQ(SRTFile::isTimecodeString(GetParam().line), GetParam().isTimeLine);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SRTFileTimeLine,
    testing::Values(TimeLineCase{"Plain", "00:00:01,000-->00:00:02,500", true},
                    TimeLineCase{"TrailingPosition", "00:00:01,000-->00:00:02,500X1:40X2:600",
                                 true},
                    // Any character stands in a field: nothing is validated here.
                    TimeLineCase{"Letters", "aa:bb:cc,ddd-->ee:ff:gg,hhh", true},
                    TimeLineCase{"SpacesStillIn", "00:00:01,000 --> 00:00:02,500", false},
                    TimeLineCase{"NoMilliseconds", "00:00:01-->00:00:10", false},
                    TimeLineCase{"TwoDigitMilliseconds", "00:02:04,08-->00:02:07,12", false},
                    TimeLineCase{"DotSeparator", "00:02:12.160-->00:02:15.200", false},
                    TimeLineCase{"TwoTimeLines",
                                 "00:00:01,000-->00:00:02,00000:00:03,000-->00:00:04,000", false}),
    [](const auto& info) { return info.param.name; });

struct ConversionCase {
    const char* name;
    float fps;
    const char* subRip;
    const char* script; // '|' stands for the line-break mark
};

class SRTFileConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(SRTFileConversion, ConvertsToScriptText) {
    EXPECT_EQ(SRTFile::convertToText(QString::fromUtf8(GetParam().subRip), GetParam().fps),
              marked(GetParam().script));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SRTFileConversion,
    testing::Values(
        // 500 x 25 / 1000 = 12.5, away from zero: 13.
        ConversionCase{"TwoRows", 25, "1\n00:00:01,000 --> 00:00:02,500\nHello\nWorld\n",
                       "[00:00:01.00]Hello|World[00:00:02.13]"},
        ConversionCase{"MessyLayout", 25,
                       "\r\n\r\n 1 \r\n\r\n00:00:01,000-->00:00 :02, 500   \r\n  Hello \r\n\r\n"
                       " World\r\n\r\n",
                       "[00:00:01.00]Hello|World[00:00:02.13]"},
        // 990 x 25 / 1000 = 24.75 gives 25: no carry into the seconds.
        ConversionCase{"FrameReachesTheRate", 25, "1\n00:00:59,990 --> 00:00:59,999\nA\n",
                       "[00:00:59.25]A[00:00:59.25]"},
        // 20 x 25 / 1000 = 0.5 exactly, 100 x 25 / 1000 = 2.5: both up.
        ConversionCase{"HalvesAwayFromZero", 25, "1\n00:00:00,020 --> 00:00:00,100\nA\n",
                       "[00:00:00.01]A[00:00:00.03]"},
        // 999 x 29.97 / 1000 = 29.94 gives 30, past the rate; 505 x 29.97 / 1000 = 15.13.
        ConversionCase{"Ntsc", 29.97f, "7\n01:02:03,999 --> 99:59:59,505\nA\n",
                       "[01:02:03.30]A[99:59:59.15]"},
        // -50 x 25 / 1000 = -1.25 gives -1, printed in two characters.
        ConversionCase{"NegativeMilliseconds", 25, "1\n00:00:01,-50 --> 00:00:02,-05\nA\n",
                       "[00:00:01.-1]A[00:00:02.00]"},
        ConversionCase{"LettersInTheClock", 25, "1\naa:bb:cc,ddd --> ee:ff:gg,1hh\nText here\n",
                       "[aa:bb:cc.00]Text here[ee:ff:gg.00]"},
        // The fields sit at fixed positions from the start of the line, wherever the
        // pattern matched: "-00:00:0" and ",47" (no digits, so 0 frames).
        ConversionCase{"MatchAfterLeadingMatter", 25,
                       "1\n-00:00:01,471 --> 00:00:00,946\nHi there\n",
                       "[-00:00:0.00]Hi there[>00:00:0.00]"},
        ConversionCase{"NumberAfterTimeLineIsText", 25, "1\n00:00:01,000 --> 00:00:02,000\n1984\n",
                       "[00:00:01.00]1984[00:00:02.00]"},
        ConversionCase{
            "CueWithoutTextSwallowsTheNext", 25,
            "1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nNext\n",
            "[00:00:01.00]2|00:00:03,000 --> 00:00:04,000|Next[00:00:02.00]"},
        ConversionCase{"FirstCueWithoutNumberIsLost", 25,
                       "00:00:01,000 --> 00:00:02,000\nLost\n\n2\n00:00:03,000 --> 00:00:04,000\n"
                       "Kept\n",
                       "[00:00:03.00]Kept[00:00:04.00]"},
        ConversionCase{"NumberWithoutTimeLineIsText", 25,
                       "1\n00:00:01,000 --> 00:00:02,000\nText\n42\nMore\n",
                       "[00:00:01.00]Text|42|More[00:00:02.00]"},
        ConversionCase{"LastNumberLineDropped", 25, "1\n00:00:01,000 --> 00:00:02,000\nText\n\n2",
                       "[00:00:01.00]Text[00:00:02.00]"},
        ConversionCase{"TwoCuesJoinedByOneLf", 25,
                       "1\n00:00:01,000 --> 00:00:02,000\nOne\n\n2\n00:00:03,040 --> "
                       "00:00:04,000 X1:1 Y1:2\nTwo\n",
                       "[00:00:01.00]One[00:00:02.00]\n[00:00:03.01]Two[00:00:04.00]"},
        ConversionCase{"TimeLineWithoutMilliseconds", 25,
                       "1\n00:00:01 --> 00:00:10\nThis subtitle is invalid\n", ""},
        ConversionCase{"TimeLineAtTheEnd", 25, "Some words\n1\n00:00:01,000 --> 00:00:02,000", ""}),
    [](const auto& info) { return info.param.name; });

QStringList scriptLinesOf(const QString& path, float fps) {
    const SRTFile file(path);
    EXPECT_FALSE(file.text.isNull()) << qPrintable(path);
    const QString script = SRTFile::convertToText(file.text, fps);
    return script.isEmpty() ? QStringList() : script.split(u'\n');
}

TEST(SRTFileCorpus, EveryFileConverts) {
    for (const char* folder : {"/srt", "/encodings"}) {
        const QDir dir(kCorpus + folder);
        const QStringList names = dir.entryList({"*.srt"}, QDir::Files);
        EXPECT_FALSE(names.isEmpty());
        for (const QString& name : names)
            scriptLinesOf(dir.filePath(name), 25);
    }
}

TEST(SRTFileCorpus, CrLfExampleAtTwentyFive) {
    // 566 -> 14.15, 763 -> 19.075, 803 -> 20.075, 897 -> 22.425, 939 -> 23.475,
    // 066 -> 1.65, 108 -> 2.7, 201 -> 5.025; cue 4 has no text and takes in cue 5.
    const QStringList expected = {
        "[00:00:33.14]Subtitle 1 Line 1[00:00:36.19]",
        marked("[00:00:36.20]Subtitle 2 Line 1|Subtitle 2 Line 2[00:00:39.22]"),
        marked("[00:00:39.23]Subtitle 3 Line 1|Subtitle 3 Line 2|Subtitle 3 Line 3[00:00:42.02]"),
        marked("[00:00:42.03]5|00:00:44,244 --> 00:00:46,769|Subtitle 5 Line 1[00:00:44.05]"),
    };
    EXPECT_EQ(scriptLinesOf(kCorpus + "/srt/otio-srt_example.srt", 25), expected);
}

TEST(SRTFileCorpus, CapabilityTesterOpening) {
    const QStringList lines = scriptLinesOf(kCorpus + "/srt/pysrt-capability_tester.srt", 25);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(
        lines[0],
        "[00:00:00.00]Don't show this text it may be used to insert hidden data[00:00:00.00]");
    EXPECT_EQ(lines[1],
              marked("[00:00:01.13]SubRip subtitles capability tester 1.3o by ale5000|"
                     "<b><i>Use VLC 1.1 or higher as reference for most things and MPC Home "
                     "Cinema for others</i></b>|<font color=\"#0000FF\">This text should be "
                     "blue</font>|<font color=\"red\">This text should be red</font>|<font "
                     "color=\"#000000\">This text should be black</font>|<font "
                     "face=\"Webdings\">If you see this with the normal font, the player don't "
                     "(fully) support font face</font>[00:00:04.13]"));
    EXPECT_EQ(lines[2], "[00:00:04.13]Hidden[00:00:04.13]");
    // 501 x 25 / 1000 = 12.525.
    EXPECT_TRUE(lines[3].startsWith("[00:00:04.13]<font size=\"8\">")) << qPrintable(lines[3]);
    EXPECT_TRUE(lines[4].startsWith(marked("[00:00:07.13]This should be an E with an accent: È|"
                                           "日本語|")));
}

TEST(SRTFileCorpus, FilesWithoutRecognisedTimeLinesGiveNothing) {
    // Times without milliseconds, with two digits or with a dot never match the pattern.
    EXPECT_TRUE(scriptLinesOf(kCorpus + "/srt/pysrt-invalid.srt", 25).isEmpty());
    EXPECT_TRUE(scriptLinesOf(kCorpus + "/srt/astisub-example-in.srt", 25).isEmpty());
}

TEST(SRTFileCorpus, NegativeTimesKeepTheirPositions) {
    // Cue 1's "-->-" line does not match; cue 2 matches one character in.
    const QStringList lines = scriptLinesOf(kCorpus + "/srt/gaupol-subrip-extended.srt", 25);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "[-00:00:0.00]I always wanted to come to France.[>00:00:0.00]");
    // 946 -> 23.65, 364 -> 9.1.
    EXPECT_EQ(lines[1], "[00:00:00.24]So, one day when I was 17, I left.[00:00:03.09]");
}

struct EncodedCase {
    const char* name;
    const char* file;
    qsizetype cues;
    const char* firstLine;
};

class SRTFileEncoded : public testing::TestWithParam<EncodedCase> {};

TEST_P(SRTFileEncoded, ConvertsEveryCue) {
    const QStringList lines = scriptLinesOf(kCorpus + "/encodings/" + GetParam().file, 25);
    ASSERT_EQ(lines.size(), GetParam().cues);
    EXPECT_EQ(lines[0], marked(GetParam().firstLine));
}

// 920 -> 23, 180 -> 4.5, 500 -> 12.5, 107 -> 2.675, 810 -> 20.25.
INSTANTIATE_TEST_SUITE_P(
    Corpus, SRTFileEncoded,
    testing::Values(
        EncodedCase{
            "Utf8", "jsubtitle-testsubs1.utf8.srt", 6,
            "[00:00:13.23]（エレン）|壁の向こうには海があると|アルミンが言った[00:00:18.05]"},
        EncodedCase{
            "ShiftJis", "jsubtitle-testsubs1.shift_jis.srt", 6,
            "[00:00:13.23]（エレン）|壁の向こうには海があると|アルミンが言った[00:00:18.05]"},
        EncodedCase{
            "Utf16", "jsubtitle-testsubs1.utf16le-bom.srt", 6,
            "[00:00:13.23]（エレン）|壁の向こうには海があると|アルミンが言った[00:00:18.05]"},
        EncodedCase{"Big5", "juvoplayer-media_player_subs_big5.srt", 9,
                    "[00:00:00.13][Chinese Traditional] 0.5: 她有一隻貓。貓有皮毛[00:00:01.00]"},
        EncodedCase{"Cp1251", "juvoplayer-media_player_subs_windows-1251.srt", 9,
                    "[00:00:00.13][Cyrylic] 0.5: Жж Зз Кк Лл Ыы Чч Щщ Ъъ Ыы Юю Яя[00:00:01.00]"},
        // A byte-order mark left in the text would hide the first number line.
        EncodedCase{"Utf8WithBom", "ums-english-utf8-with-bom.srt", 44,
                    "[00:00:02.03]Alcide, you sure know|how to treat a lady.[00:00:05.20]"}),
    [](const auto& info) { return info.param.name; });

TEST(SRTFileLoading, CarriageReturnsBecomeLineFeeds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cr.srt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1\r00:00:01,000 --> 00:00:02,000\r\nHi\r");
    file.close();
    SRTFile srt(path);
    EXPECT_EQ(srt.path, path);
    EXPECT_EQ(srt.text, "1\n00:00:01,000 --> 00:00:02,000\n\nHi\n");
}

TEST(SRTFileLoading, MissingFileGivesNullTextAndEmptyFileEmptyText) {
    QTemporaryDir dir;
    EXPECT_TRUE(SRTFile(dir.filePath("missing.srt")).text.isNull());
    QFile empty(dir.filePath("empty.srt"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const SRTFile srt(empty.fileName());
    EXPECT_FALSE(srt.text.isNull());
    EXPECT_TRUE(srt.text.isEmpty());
}

TEST(SRTFileLoading, TwentyMegabyteFile) {
    const QByteArray cueText = "A reasonably long subtitle row with ünïcode, repeated\r\n";
    QByteArray bytes;
    qsizetype cues = 0;
    while (bytes.size() < 20 * 1024 * 1024) {
        ++cues;
        bytes += QByteArray::number(cues) + "\r\n00:00:01,000 --> 00:00:02,500\r\n" + cueText +
                 cueText + "\r\n";
    }
    QTemporaryDir dir;
    QFile file(dir.filePath("big.srt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();
    const QStringList lines = scriptLinesOf(file.fileName(), 25);
    ASSERT_EQ(lines.size(), cues);
    const QString row = QString::fromUtf8(cueText).trimmed();
    EXPECT_EQ(lines.last(), "[00:00:01.00]" + row + kMark + row + "[00:00:02.13]");
}

} // namespace
