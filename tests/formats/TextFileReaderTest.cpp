#include "TextFileReader.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using quillery::getContentFromURL;
using quillery::TextFileReader;

namespace {

const QString kEncodings = QStringLiteral(QUILLERY_CORPUS_DIR "/encodings/");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray utf16LittleEndian(const QString& text) {
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// The Japanese trio shares one text; the UTF-8 copy is the reference.
struct ReferenceCase {
    const char* name;
    const char* file;
    // Shift_JIS 81 60 is 〜 (U+301C) in JIS X 0208 but ～ (U+FF5E) in the Windows table,
    // which is how Shift_JIS is decoded (the other differing pairs do not occur here).
    bool windowsWaveDash;
};

class TextFileReaderJapanese : public testing::TestWithParam<ReferenceCase> {};

TEST_P(TextFileReaderJapanese, DecodesToTheReferenceText) {
    QString reference = QString::fromUtf8(fileBytes(kEncodings + "jsubtitle-testsubs1.utf8.srt"));
    ASSERT_EQ(reference.count(QChar(0x301C)), 2);
    if (GetParam().windowsWaveDash)
        reference.replace(QChar(0x301C), QChar(0xFF5E));
    const std::optional<QString> text = getContentFromURL(kEncodings + GetParam().file);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, reference) << qPrintable(*text);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, TextFileReaderJapanese,
    testing::Values(ReferenceCase{"Utf8", "jsubtitle-testsubs1.utf8.srt", false},
                    ReferenceCase{"ShiftJis", "jsubtitle-testsubs1.shift_jis.srt", true},
                    ReferenceCase{"Utf16LeWithBom", "jsubtitle-testsubs1.utf16le-bom.srt", false}),
    [](const auto& info) { return info.param.name; });

// Legacy encodings: the first cue's text, read from the bytes with each code table.
struct KnownTextCase {
    const char* name;
    const char* file;
    const char* firstCueText;
};

class TextFileReaderLegacy : public testing::TestWithParam<KnownTextCase> {};

TEST_P(TextFileReaderLegacy, DecodesTheFirstCue) {
    const std::optional<QString> text = getContentFromURL(kEncodings + GetParam().file);
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->startsWith("1\n00:00:00,500 --> 00:00:01,000\n"));
    EXPECT_TRUE(text->contains(QString::fromUtf8(GetParam().firstCueText))) << qPrintable(*text);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, TextFileReaderLegacy,
    testing::Values(
        // A6 6F 她, A6 B3 有, A4 40 一, B0 A6 隻, BF DF 貓, A1 43 。, A5 D6 皮, A4 F2 毛
        KnownTextCase{"Big5", "juvoplayer-media_player_subs_big5.srt",
                      "[Chinese Traditional] 0.5: 她有一隻貓。貓有皮毛\n"},
        // CB FD 她, D3 D0 有, D2 BB 一, D6 BB 只, C3 A8 猫, B5 C4 的, C6 A4 皮, C3 AB 毛
        KnownTextCase{"Gb2312", "juvoplayer-media_player_subs_gb2312.srt",
                      "[Chinese Simplified] 0.5: 她有一只猫.猫的皮毛有\n"},
        // C0-DF are А-Я and E0-FF а-я: C6 E6 Жж ... DF FF Яя
        KnownTextCase{"Cp1251", "juvoplayer-media_player_subs_windows-1251.srt",
                      "[Cyrylic] 0.5: Жж Зз Кк Лл Ыы Чч Щщ Ъъ Ыы Юю Яя\n"},
        // D0 F0 Ðð, DD FD Ýý, DE FE Þþ, A3 £, 80 € (the letters Turkish puts elsewhere)
        KnownTextCase{"Cp1252", "juvoplayer-media_player_subs_windows-1252.srt",
                      "[Western Europe] 0.5: Àà Áá Ââ Ææ Çç Èè Ïï Ðð Ññ Õõ Øø Ýý Þþ £ €\n"}),
    [](const auto& info) { return info.param.name; });

TEST(TextFileReaderCorpus, Utf8ByteOrderMarkIsDropped) {
    const QByteArray bytes = fileBytes(kEncodings + "ums-english-utf8-with-bom.srt");
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const std::optional<QString> text =
        getContentFromURL(kEncodings + "ums-english-utf8-with-bom.srt");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, QString::fromUtf8(bytes.mid(3)));
    EXPECT_TRUE(text->startsWith("1\n00:00:02,107 --> 00:00:05,810\nAlcide, you sure know\n"));
}

// Files made here: what each must decode to, or nothing.
struct GeneratedCase {
    const char* name;
    QByteArray bytes;
    std::optional<QString> expected;
};

class TextFileReaderGenerated : public testing::TestWithParam<GeneratedCase> {};

TEST_P(TextFileReaderGenerated, Decodes) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "file.srt", GetParam().bytes);
    const std::optional<QString> text = getContentFromURL(path);
    ASSERT_EQ(text.has_value(), GetParam().expected.has_value());
    if (text) {
        EXPECT_EQ(*text, *GetParam().expected);
    }
}

const QString kWideText = QString::fromUtf8("1\r\n00:00:01,000 --> 00:00:02,000\r\nÉté ☺ 日本\r\n");

QByteArray binaryWithNuls() {
    QByteArray bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>((i * 37) % 256));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, TextFileReaderGenerated,
    testing::Values(
        GeneratedCase{"Utf16LeWithBom", "\xFF\xFE" + utf16LittleEndian(kWideText), kWideText},
        GeneratedCase{"Utf16LeWithoutBom", utf16LittleEndian(kWideText), kWideText},
        GeneratedCase{"Utf8WithBom", "\xEF\xBB\xBFHello there", QStringLiteral("Hello there")},
        GeneratedCase{"OnlyAByteOrderMark", "\xEF\xBB\xBF", QString()},
        GeneratedCase{"Empty", QByteArray(), QString()},
        // Not UTF-8 (E9, E8 alone), so Western: E9 é, E8 è, 80 €.
        GeneratedCase{"InvalidUtf8IsWestern", "caf\xE9 cr\xE8me \x80 5",
                      QString::fromUtf8("café crème € 5")},
        GeneratedCase{"RussianCp1251",
                      "\xCF\xF0\xE8\xE2\xE5\xF2, \xEA\xE0\xEA \xE4\xE5\xEB\xE0? "
                      "\xDD\xF2\xEE \xEE\xE1\xFB\xF7\xED\xFB\xE9 \xF2\xE5\xEA\xF1\xF2.",
                      QString::fromUtf8("Привет, как дела? Это обычный текст.")},
        GeneratedCase{"BinaryWithNuls", binaryWithNuls(), std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(TextFileReaderFiles, EmptyFileGivesAnEmptyStringNotNothing) {
    QTemporaryDir dir;
    const std::optional<QString> text = getContentFromURL(writeFile(dir, "empty.txt", {}));
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->isEmpty());
    EXPECT_FALSE(text->isNull());
}

TEST(TextFileReaderFiles, RandomBytesDoNotCrash) {
    QTemporaryDir dir;
    std::mt19937 generator(20240607);
    QByteArray anyBytes;
    QByteArray highBytes;
    for (int i = 0; i < 1 << 16; ++i) {
        anyBytes.append(static_cast<char>(generator() & 0xFF));
        highBytes.append(static_cast<char>(0x80 | (generator() & 0x7F)));
    }
    getContentFromURL(writeFile(dir, "any.bin", anyBytes));
    // No NUL: some code page reads every byte.
    const std::optional<QString> text = getContentFromURL(writeFile(dir, "high.bin", highBytes));
    ASSERT_TRUE(text.has_value());
    EXPECT_FALSE(text->isEmpty());
}

TEST(TextFileReaderFiles, PathsThatAreNotReadableFilesGiveNothing) {
    QTemporaryDir dir;
    const QString file = writeFile(dir, "plain.txt", "text");
    EXPECT_FALSE(getContentFromURL(dir.filePath("missing.srt")).has_value());
    EXPECT_FALSE(getContentFromURL(dir.path()).has_value());
    EXPECT_FALSE(getContentFromURL(file + "/child.srt").has_value());
    EXPECT_FALSE(getContentFromURL(QString()).has_value());
}

struct ReadFileCase {
    const char* name;
    const char* fileName;
    QByteArray bytes;
    std::optional<QString> expected;
};

class TextFileReaderReadFile : public testing::TestWithParam<ReadFileCase> {};

TEST_P(TextFileReaderReadFile, ChoosesBySuffix) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, GetParam().fileName, GetParam().bytes);
    const std::optional<QString> text = TextFileReader::sharedInstance().readFile(path);
    ASSERT_EQ(text.has_value(), GetParam().expected.has_value());
    if (text) {
        EXPECT_EQ(*text, *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Suffixes, TextFileReaderReadFile,
    testing::Values(
        ReadFileCase{"CrLfBecomesLf", "a.vtt", "WEBVTT\r\n\r\ncue\r\n",
                     QStringLiteral("WEBVTT\n\ncue\n")},
        // CR alone is removed, not turned into LF: the lines run together.
        ReadFileCase{"LoneCrJoinsLines", "a.sub", "one\rtwo\r", QStringLiteral("onetwo")},
        // A .doc that is no Word document gives no text rather than its raw bytes.
        ReadFileCase{"NotAWordDocument", "a.DOC", "plain words", std::nullopt},
        ReadFileCase{"RtfThroughTheRichTextReader", "a.rtf", "{\\rtf1 hi}", QStringLiteral("hi\n")}),
    [](const auto& info) { return info.param.name; });

struct LinesCase {
    const char* name;
    QString text;
    QStringList lines;
};

class TextFileReaderLines : public testing::TestWithParam<LinesCase> {};

TEST_P(TextFileReaderLines, CutsTrimsAndDropsEmptyLines) {
    const TextFileReader& reader = TextFileReader::sharedInstance();
    EXPECT_EQ(reader.getLinesFromText(GetParam().text), GetParam().lines);
    EXPECT_EQ(reader.removeEmptyLinesFromString(GetParam().text), GetParam().lines.join(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextFileReaderLines,
    testing::Values(LinesCase{"Mixed", "  a \r\n\r\n b\n", {"a", "b"}}, LinesCase{"Empty", "", {}},
                    LinesCase{"OnlyWhiteSpace", " \t\r\n\r \n", {}},
                    LinesCase{"LoneCrEndsALine", "one\rtwo", {"one", "two"}},
                    LinesCase{"InnerSpacesStay", " a  b ", {"a  b"}},
                    // No-break, ideographic and line-separator spaces are white space too.
                    LinesCase{"UnicodeSpaces",
                              QString(QChar(0xA0)) + "x" + QChar(0x3000) + "\n" + QChar(0x2028),
                              {"x"}},
                    // U+2028 inside a line is not a line end.
                    LinesCase{"LineSeparatorInside",
                              QString("a") + QChar(0x2028) + "b",
                              {QString("a") + QChar(0x2028) + "b"}}),
    [](const auto& info) { return info.param.name; });

} // namespace
