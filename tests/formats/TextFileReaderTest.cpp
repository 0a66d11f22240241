#include "TextFileReader.h"

#include "ImportMessages.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quillery;

namespace {

const QString kEncodings = QStringLiteral(QUILLERY_TEST_DATA_DIR "/encodings/");

QByteArray utf16LittleEndian(const QString& text) {
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF))
            .append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

// Files in tests/data: the first row of text each must give.
TEST(TextDecoding, DataFilesDecodeToTheirText) {
    const struct {
        const char* file;
        const char* text;
    } rows[] = {
        // A6 6F 她, A6 B3 有, A4 40 一, B0 A6 隻, BF DF 貓, A1 43 。
        {"juvoplayer-media_player_subs_big5.srt", "[Chinese Traditional] 0.5: 她有一隻貓。"},
        // 81 60 is 〜 in JIS X 0208 but ～ (U+FF5E) in the Windows table Shift_JIS is read with.
        {"quillery-japanese.shift_jis.srt", "ふたりは出会った\r\n\r\n2\r\n00:00:04,000 --> "
                                            "00:00:05,120\r\n♪～"},
    };
    for (const auto& row : rows) {
        const std::optional<QString> text = getContentFromURL(kEncodings + row.file);
        ASSERT_TRUE(text.has_value()) << row.file;
        EXPECT_TRUE(text->contains(QString::fromUtf8(row.text))) << row.file << qPrintable(*text);
        EXPECT_FALSE(text->contains(QChar(0xFEFF))) << row.file;
    }
}

const QString kWideText = QString::fromUtf8("1\r\n00:00:01,000 --> 00:00:02,000\r\nÉté ☺ 日本\r\n");

QByteArray binaryWithNuls() {
    QByteArray bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>((i * 37) % 256));
    return bytes;
}

TEST(TextDecoding, BytesDecodeOrAreBinary) {
    const struct {
        const char* name;
        QByteArray bytes;
        std::optional<QString> expected;
    } rows[] = {
        {"UTF-16 LE with BOM", "\xFF\xFE" + utf16LittleEndian(kWideText), kWideText},
        {"UTF-16 LE without BOM", utf16LittleEndian(kWideText), kWideText},
        // The byte after the last whole unit is dropped, not read as a character.
        {"UTF-16 odd byte count", "\xFF\xFE" + utf16LittleEndian(kWideText) + "\x41", kWideText},
        {"UTF-8 BOM only", "\xEF\xBB\xBF", QString()},
        // E2 8F 8E is ⏎: valid UTF-8, which the detector alone took for Windows-1257.
        {"short valid UTF-8", "Hello\xE2\x8F\x8EWorld", QString::fromUtf8("Hello⏎World")},
        // A NUL in otherwise valid UTF-8 is a character the readers clean up later.
        {"UTF-8 with a NUL", QByteArray("a\0b \xC3\xA9", 6), QString::fromUtf8("a\0b é", 6)},
        // Not UTF-8 (E9, E8 alone), so Western: E9 é, E8 è, 80 €.
        {"invalid UTF-8 is Western", "caf\xE9 cr\xE8me \x80 5",
         QString::fromUtf8("café crème € 5")},
        {"Russian in CP1251",
         "\xCF\xF0\xE8\xE2\xE5\xF2, \xEA\xE0\xEA \xE4\xE5\xEB\xE0? "
         "\xDD\xF2\xEE \xEE\xE1\xFB\xF7\xED\xFB\xE9 \xF2\xE5\xEA\xF1\xF2.",
         QString::fromUtf8("Привет, как дела? Это обычный текст.")},
        {"binary with NULs", binaryWithNuls(), std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(decodeText(row.bytes), row.expected) << row.name;
}

// Missing files, folders and pipes are told apart in the window's and the command line's
// messages (tests/app, tests/cli), which check before reading; a reader alone must not wait
// on a pipe either. Root opens anything, so a refusal is checked by its number.
TEST(FileAccess, PipesAreNotReadAndARefusalIsAPermissionProblem) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(getContentFromURL(fifo).has_value());
    EXPECT_EQ(openErrorReason(EACCES), "permission denied");
}

TEST(TextFileReader, ReadFileChoosesBySuffix) {
    const struct {
        const char* fileName;
        QByteArray bytes;
        std::optional<QString> expected;
    } rows[] = {
        // CR alone is removed, not turned into LF: the lines run together.
        {"a.sub", "one\rtwo\r", QStringLiteral("onetwo")},
        // A .doc that is no Word document gives no text rather than its raw bytes.
        {"a.DOC", "plain words", std::nullopt},
        // An empty file is an empty text, not an unreadable one.
        {"a.txt", "", QString("")},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        EXPECT_EQ(TextFileReader::sharedInstance().readFile(
                      test::writeFile(dir.filePath(row.fileName), row.bytes)),
                  row.expected)
            << row.fileName;
    }
}

TEST(TextFileReader, LinesAreCutTrimmedAndNeverEmpty) {
    const struct {
        QString text;
        QStringList lines;
    } rows[] = {
        {" \t\r\n\r \n", {}},
        {"one\rtwo", {"one", "two"}},
        // No-break, ideographic and line-separator spaces are white space too...
        {QString(QChar(0xA0)) + "x" + QChar(0x3000) + "\n" + QChar(0x2028), {"x"}},
        // ...but U+2028 inside a line is not a line end.
        {QString("a") + QChar(0x2028) + "b", {QString("a") + QChar(0x2028) + "b"}},
    };
    const TextFileReader& reader = TextFileReader::sharedInstance();
    for (const auto& row : rows) {
        EXPECT_EQ(reader.getLinesFromText(row.text), row.lines) << qPrintable(row.text);
        EXPECT_EQ(reader.removeEmptyLinesFromString(row.text), row.lines.join(u'\n'));
    }
}

} // namespace
