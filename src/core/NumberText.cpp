#include "NumberText.h"

#include <cmath>
#include <limits>

namespace quillery {

namespace {

template <typename Int> Int leadingInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    // Accumulate as a negative number so the minimum value is reachable.
    Int value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const Int digit = text[i].unicode() - u'0';
        if (value < (std::numeric_limits<Int>::min() + digit) / 10)
            return negative ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == std::numeric_limits<Int>::min() ? std::numeric_limits<Int>::max() : -value;
}

qsizetype skipDigits(QStringView text, qsizetype i) {
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return i;
}

// The length of the decimal number at the start of text (after white space), 0 if none.
qsizetype decimalPrefixLength(QStringView text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype integerStart = i;
    i = skipDigits(text, i);
    bool digits = i > integerStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = i + 1;
        const qsizetype fractionEnd = skipDigits(text, fractionStart);
        if (digits || fractionEnd > fractionStart) {
            digits = true;
            i = fractionEnd;
        }
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'-' || text[e] == u'+'))
            ++e;
        const qsizetype exponentEnd = skipDigits(text, e);
        if (exponentEnd > e)
            i = exponentEnd;
    }
    return i;
}

} // namespace

float floatValue(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    const QStringView rest = text.sliced(start);
    const qsizetype length = decimalPrefixLength(rest);
    // QStringView::toFloat reads the C locale's notation whatever the process locale is.
    return length == 0 ? 0.0f : rest.first(length).toFloat();
}

int32_t intValue(QStringView text) {
    return leadingInteger<int32_t>(text);
}

int64_t longLongValue(QStringView text) {
    return leadingInteger<int64_t>(text);
}

void appendPadded(QString& out, int64_t value, int digits) {
    char buffer[24];
    int length = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
    do {
        buffer[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (length < digits)
        buffer[length++] = '0';
    if (value < 0)
        out += u'-';
    while (length > 0)
        out += QLatin1Char(buffer[--length]);
}

int32_t toInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace quillery
