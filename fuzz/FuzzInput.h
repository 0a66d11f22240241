// What the harnesses share: the input as text, and the first byte choosing a frame rate,
// so every rate-dependent rounding is reached.
#pragma once

#include "QYTimeUtility.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace quillery::fuzz {

struct Input {
    const uint8_t* data;
    size_t size;

    QByteArray bytes() const {
        return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    QString text() const {
        return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    // Takes n bytes off the front; false (nothing taken) when there are fewer.
    bool take(void* out, size_t n) {
        if (size < n)
            return false;
        std::copy(data, data + n, static_cast<uint8_t*>(out));
        data += n;
        size -= n;
        return true;
    }
};

// Sets the process-wide rate from the first byte: film, PAL, NTSC, 30 and 60 fps.
inline void takeFrameRate(Input& input) {
    static constexpr std::array<double, 5> rates{23.976, 25, 29.97, 30, 60};
    uint8_t choice = 0;
    input.take(&choice, 1);
    QYTimeUtility::sharedInstance().setFPS(rates[choice % rates.size()]);
}

} // namespace quillery::fuzz
