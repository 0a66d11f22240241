// Writing text files the way the system writes every file: UTF-8 without a byte-order
// mark. An atomic write goes through a temporary file, so a failure leaves any earlier
// file intact; a plain write may leave a partial file behind.
#pragma once

#include <QString>

namespace quillery {

enum class WriteMode { Plain, Atomic };

// False when the file could not be written.
bool writeUtf8File(const QString& path, const QString& text, WriteMode mode);

} // namespace quillery
