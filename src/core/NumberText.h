// Small number <-> text helpers shared by every time format. They reproduce the
// lenient integer reading the script format relies on (leading digits, no digits
// reads 0) and printf-style zero padding without going through printf.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace quillery {

// Skips leading white space, takes an optional sign and the digits that follow;
// anything else ends the number. Saturates at the 32-bit limits.
int32_t intValue(QStringView text);
// The same, saturating at the 64-bit limits.
int64_t longLongValue(QStringView text);
// A decimal number read the same lenient way: leading white space, an optional sign,
// digits with an optional fraction and exponent; anything else ends the number, no
// number at all reads 0. Never depends on the process locale.
float floatValue(QStringView text);

// Appends value as printf's "%.Nd" would: at least `digits` digits, zero padded,
// with a leading '-' for negative values.
void appendPadded(QString& out, int64_t value, int digits);

// Narrows a double to 32 bits the way the time formats need it: truncating toward zero,
// saturating instead of overflowing, NaN reading 0.
int32_t toInt32(double value);

} // namespace quillery
