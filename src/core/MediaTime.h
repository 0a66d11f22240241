// A rational media time: a 64-bit count of 1/timescale seconds, as the media engine
// and the player exchange times. It mirrors the shape the rest of the system expects:
// a valid flag, an indefinite value for "no such time", and exact integer arithmetic
// when both operands share a timescale.
#pragma once

#include <cstdint>

namespace quillery {

struct MediaTime {
    int64_t value = 0;
    int32_t timescale = 0;
    bool valid = false;
    bool indefinite = false;

    static MediaTime make(int64_t value, int32_t timescale);
    // Rounds seconds to the nearest unit of the preferred timescale.
    static MediaTime makeWithSeconds(double seconds, int32_t preferredTimescale);
    static MediaTime zero() { return make(0, 1); }
    static MediaTime invalid() { return MediaTime{}; }
    static MediaTime indefiniteTime();

    bool isNumeric() const { return valid && !indefinite && timescale > 0; }
    double seconds() const;
};

MediaTime add(const MediaTime& a, const MediaTime& b);
MediaTime subtract(const MediaTime& a, const MediaTime& b);
// -1, 0 or 1 as a is earlier than, equal to or later than b. Invalid times sort first,
// indefinite times last.
int compare(const MediaTime& a, const MediaTime& b);

inline bool operator==(const MediaTime& a, const MediaTime& b) {
    return compare(a, b) == 0;
}

} // namespace quillery
