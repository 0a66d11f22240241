// A range of UTF-16 code units in a QString: every position in the system is one.
#pragma once

#include <QtGlobal>

namespace quillery {

struct TextRange {
    static constexpr qsizetype NotFound = -1;

    qsizetype location = NotFound;
    qsizetype length = 0;

    bool found() const { return location != NotFound; }
    qsizetype end() const { return location + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

} // namespace quillery
