#include "MediaTime.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace quillery {

namespace {

// 2^63: the first count a 64-bit value cannot hold.
constexpr double kTwoToThe63 = 9223372036854775808.0;

// Products of a 64-bit value and a 32-bit timescale need 95 bits: worked out in 128, so
// nothing overflows before a result is checked.
using Wide = __int128;

bool fitsInt64(Wide value) {
    return value >= std::numeric_limits<int64_t>::min() &&
           value <= std::numeric_limits<int64_t>::max();
}

// The value in units of another timescale, rounded half away from zero.
Wide rescaled(const MediaTime& t, int32_t timescale) {
    const Wide units = Wide(t.value) * timescale;
    Wide whole = units / t.timescale;
    const Wide remainder = units % t.timescale;
    if (2 * (remainder < 0 ? -remainder : remainder) >= t.timescale)
        whole += units < 0 ? -1 : 1;
    return whole;
}

// Both values on their least common timescale, so sums stay exact.
struct CommonScale {
    Wide a;
    Wide b;
    int32_t timescale;
};

CommonScale toCommonScale(const MediaTime& a, const MediaTime& b) {
    if (a.timescale == b.timescale)
        return {a.value, b.value, a.timescale};
    const int64_t lcm = std::lcm<int64_t, int64_t>(a.timescale, b.timescale);
    if (lcm <= std::numeric_limits<int32_t>::max())
        return {Wide(a.value) * (lcm / a.timescale), Wide(b.value) * (lcm / b.timescale),
                static_cast<int32_t>(lcm)};
    // Timescales too far apart to share exactly: the finer one, rounded to.
    const int32_t scale = std::max(a.timescale, b.timescale);
    return {rescaled(a, scale), rescaled(b, scale), scale};
}

// A sum or difference beyond 64 bits is no time at all, never a wrapped one.
MediaTime combine(const MediaTime& a, const MediaTime& b, int sign) {
    if (!a.valid || !b.valid)
        return MediaTime::invalid();
    if (a.indefinite || b.indefinite)
        return MediaTime::indefiniteTime();
    const CommonScale c = toCommonScale(a, b);
    const Wide result = c.a + sign * c.b;
    if (!fitsInt64(result))
        return MediaTime::invalid();
    return MediaTime::make(static_cast<int64_t>(result), c.timescale);
}

} // namespace

MediaTime MediaTime::make(int64_t value, int32_t timescale) {
    MediaTime t;
    t.value = value;
    t.timescale = timescale;
    t.valid = timescale > 0;
    return t;
}

MediaTime MediaTime::makeWithSeconds(double seconds, int32_t preferredTimescale) {
    if (!std::isfinite(seconds) || preferredTimescale <= 0)
        return invalid();
    // Rounded half away from zero; a count beyond 64 bits is no time rather than a wrapped one.
    const double units = std::round(seconds * preferredTimescale);
    if (!(units >= -kTwoToThe63 && units < kTwoToThe63))
        return invalid();
    return make(static_cast<int64_t>(units), preferredTimescale);
}

MediaTime MediaTime::indefiniteTime() {
    MediaTime t;
    t.valid = true;
    t.indefinite = true;
    return t;
}

double MediaTime::seconds() const {
    if (!isNumeric())
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(value) / timescale;
}

MediaTime add(const MediaTime& a, const MediaTime& b) {
    return combine(a, b, 1);
}

MediaTime subtract(const MediaTime& a, const MediaTime& b) {
    return combine(a, b, -1);
}

int compare(const MediaTime& a, const MediaTime& b) {
    const auto rank = [](const MediaTime& t) {
        return !t.valid ? 0 : t.indefinite ? 2 : 1;
    };
    if (rank(a) != rank(b) || rank(a) != 1)
        return rank(a) < rank(b) ? -1 : rank(a) > rank(b) ? 1 : 0;
    // Cross-multiplied: exact whatever the timescales.
    const Wide left = Wide(a.value) * b.timescale;
    const Wide right = Wide(b.value) * a.timescale;
    return left < right ? -1 : left > right ? 1 : 0;
}

} // namespace quillery
