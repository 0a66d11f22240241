#include "TextFileReader.h"

#include "QYLog.h"
#include "RichTextReader.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <memory>
#include <type_traits>
#include <uchardet.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

namespace quillery {

namespace {

constexpr QChar kByteOrderMark = QChar(0xFEFF);

// How sure ICU's detector must be (0-100) before bytes with NULs are read as UTF-16/32.
constexpr int32_t kWideUnicodeConfidence = 50;

struct DetectorDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};
using Detector = std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDeleter>;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

struct CharsetDetectorCloser {
    void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};
using CharsetDetector = std::unique_ptr<UCharsetDetector, CharsetDetectorCloser>;

enum class InvalidBytes { Substitute, Refuse };

std::optional<QByteArray> readBytes(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QY_DBG("Not a readable file: %s", qUtf8Printable(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QY_DBG("The error is : %s", qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        QY_DBG("The error is : %s", qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

bool isWideUnicode(const QByteArray& charset) {
    return charset.startsWith("UTF-16") || charset.startsWith("UTF-32");
}

// uchardet's answer, or empty when it has none.
QByteArray detectedCharset(const QByteArray& bytes) {
    Detector detector(uchardet_new());
    if (uchardet_handle_data(detector.get(), bytes.constData(), bytes.size()) != 0) {
        QY_DBG("The detector failed on %lld bytes", static_cast<long long>(bytes.size()));
        return {};
    }
    uchardet_data_end(detector.get());
    const QByteArray charset = QByteArray(uchardet_get_charset(detector.get())).toUpper();
    // Files labelled Latin-1 use the Windows superset in practice (euro sign, curly quotes).
    if (charset == "ISO-8859-1")
        return "windows-1252";
    return charset;
}

int32_t convert(UConverter* converter, QString& target, const QByteArray& bytes,
                UErrorCode& status) {
    return ucnv_toUChars(converter, reinterpret_cast<UChar*>(target.data()),
                         static_cast<int32_t>(target.size()), bytes.constData(),
                         static_cast<int32_t>(bytes.size()), &status);
}

// The whole code units of a UTF-16 or UTF-32 text: a dangling last byte would decode
// to a replacement character of its own.
QByteArray wholeCodeUnits(const QByteArray& bytes, const QByteArray& charset) {
    const qsizetype unit = charset.startsWith("UTF-16") ? 2 : charset.startsWith("UTF-32") ? 4 : 1;
    return bytes.size() % unit == 0 ? bytes : bytes.first(bytes.size() - bytes.size() % unit);
}

std::optional<QString> decode(const QByteArray& allBytes, const char* charset, InvalidBytes mode) {
    const QByteArray bytes = wholeCodeUnits(allBytes, QByteArray(charset).toUpper());
    if (bytes.size() >= std::numeric_limits<int32_t>::max()) {
        QY_DBG("The file is too large to decode");
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(charset, &status));
    if (U_FAILURE(status)) {
        QY_DBG("No converter for %s: %s", charset, u_errorName(status));
        return std::nullopt;
    }
    if (mode == InvalidBytes::Refuse)
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
    // The charsets in use give at most one UTF-16 unit per byte; any other is converted again.
    QString text(bytes.size(), Qt::Uninitialized);
    int32_t length = convert(converter.get(), text, bytes, status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        text = QString(length, Qt::Uninitialized);
        length = convert(converter.get(), text, bytes, status);
    }
    if (U_FAILURE(status)) {
        QY_DBG("Not %s: %s", charset, u_errorName(status));
        return std::nullopt;
    }
    text.resize(length);
    if (text.startsWith(kByteOrderMark))
        text.remove(0, 1);
    return text;
}

// NUL bytes are text only in UTF-16 and UTF-32, which ICU's detector recognises even
// without a byte-order mark.
std::optional<QString> decodeWideUnicode(const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    CharsetDetector detector(ucsdet_open(&status));
    ucsdet_setText(detector.get(), bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr)
        return std::nullopt;
    const QByteArray charset(ucsdet_getName(match, &status));
    if (U_FAILURE(status) || !isWideUnicode(charset) ||
        ucsdet_getConfidence(match, &status) < kWideUnicodeConfidence)
        return std::nullopt;
    return decode(bytes, charset.constData(), InvalidBytes::Substitute);
}

bool isNonAsciiLetter(QChar c) {
    return c.unicode() > 0x7F && c.isLetter();
}

qsizetype nonAsciiLetterPairs(const QString& text) {
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < text.size(); ++i)
        pairs += isNonAsciiLetter(text[i - 1]) && isNonAsciiLetter(text[i]);
    return pairs;
}

// Both pages keep their letters in the same byte block, so Cyrillic read as Western
// shows symbols such as × and ÷ (Ч and ч) between letters; Western wins a tie.
std::optional<QString> decodeWindowsCodePage(const QByteArray& bytes) {
    std::optional<QString> best;
    qsizetype bestPairs = -1;
    for (const char* codePage : {"windows-1252", "windows-1251"}) {
        std::optional<QString> text = decode(bytes, codePage, InvalidBytes::Substitute);
        if (!text)
            continue;
        const qsizetype pairs = nonAsciiLetterPairs(*text);
        if (pairs > bestPairs) {
            best = std::move(text);
            bestPairs = pairs;
        }
    }
    return best;
}

bool hasNonAsciiByte(const QByteArray& bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

// Seven-bit bytes read the same in every charset the detector could name, except the
// ISO-2022 family (escape sequences) and HZ ("~{"), which it is left to tell.
bool isPlainAscii(const QByteArray& bytes) {
    return !hasNonAsciiByte(bytes) && !bytes.contains('\x1B') && !bytes.contains("~{");
}

// NULs are text in UTF-16 and UTF-32, and stray characters (which the readers clean up) in
// an otherwise valid UTF-8 text; other bytes with NULs are binary data.
std::optional<QString> decodeTextWithNuls(const QByteArray& bytes) {
    if (std::optional<QString> text = decodeWideUnicode(bytes))
        return text;
    return decode(bytes, "UTF-8", InvalidBytes::Refuse);
}

} // namespace

std::optional<QString> decodeText(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QStringLiteral("");
    // Text in a code page is almost never valid UTF-8 once it has bytes above 127, while a
    // short UTF-8 text can look like a code page to the detector: valid UTF-8 comes first.
    if (hasNonAsciiByte(bytes)) {
        if (std::optional<QString> text = decode(bytes, "UTF-8", InvalidBytes::Refuse))
            return text;
    }
    if (bytes.contains('\0'))
        return decodeTextWithNuls(bytes);
    if (isPlainAscii(bytes))
        return QString::fromLatin1(bytes);
    const QByteArray charset = detectedCharset(bytes);
    if (!charset.isEmpty()) {
        std::optional<QString> text = decode(bytes, charset.constData(), InvalidBytes::Substitute);
        if (text && !text->isEmpty())
            return text;
    }
    if (std::optional<QString> text = decode(bytes, "UTF-8", InvalidBytes::Refuse))
        return text;
    return decodeWindowsCodePage(bytes);
}

std::optional<QString> getContentFromURL(const QString& path) {
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    std::optional<QString> text = decodeText(*bytes);
    if (!text)
        QY_DBG("The error is : no decoder reads %s", qUtf8Printable(path));
    return text;
}

TextFileReader& TextFileReader::sharedInstance() {
    static TextFileReader instance;
    return instance;
}

std::optional<QString> TextFileReader::readFile(const QString& path) const {
    const QString lowered = path.toLower();
    if (lowered.endsWith(u".doc") || lowered.endsWith(u".rtf"))
        return readRichTextFile(path);
    std::optional<QString> text = getContentFromURL(path);
    if (text)
        text->remove(u'\r');
    return text;
}

std::optional<QString> TextFileReader::readRichTextFile(const QString& path) {
    return readRichTextDocument(path).text;
}

QStringList TextFileReader::getLinesFromText(const QString& text) const {
    QStringList lines;
    forEachLineOfText(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

void TextFileReader::forEachLineOfText(QStringView text,
                                       const std::function<void(QStringView)>& visit) {
    qsizetype begin = 0;
    while (begin <= text.size()) {
        qsizetype end = begin;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = text.sliced(begin, end - begin).trimmed();
        if (!line.isEmpty())
            visit(line);
        begin = end + 1;
    }
}

QString TextFileReader::removeEmptyLinesFromString(const QString& text) const {
    return getLinesFromText(text).join(u'\n');
}

} // namespace quillery
