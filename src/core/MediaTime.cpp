#include "MediaTime.h"

#include <cmath>
#include <limits>
#include <numeric>

namespace quillery {

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
    return make(std::llround(seconds * preferredTimescale), preferredTimescale);
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

namespace {

// Brings both values onto their least common timescale, so sums stay exact.
struct CommonScale {
    int64_t a;
    int64_t b;
    int32_t timescale;
};

CommonScale toCommonScale(const MediaTime& a, const MediaTime& b) {
    if (a.timescale == b.timescale)
        return {a.value, b.value, a.timescale};
    const int64_t lcm = std::lcm<int64_t, int64_t>(a.timescale, b.timescale);
    if (lcm <= std::numeric_limits<int32_t>::max())
        return {a.value * (lcm / a.timescale), b.value * (lcm / b.timescale),
                static_cast<int32_t>(lcm)};
    // Timescales too far apart to share exactly: fall back to the finer one.
    const int32_t scale = std::max(a.timescale, b.timescale);
    return {std::llround(a.seconds() * scale), std::llround(b.seconds() * scale), scale};
}

MediaTime combine(const MediaTime& a, const MediaTime& b, int sign) {
    if (!a.valid || !b.valid)
        return MediaTime::invalid();
    if (a.indefinite || b.indefinite)
        return MediaTime::indefiniteTime();
    const CommonScale c = toCommonScale(a, b);
    return MediaTime::make(c.a + sign * c.b, c.timescale);
}

} // namespace

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
    const CommonScale c = toCommonScale(a, b);
    return c.a < c.b ? -1 : c.a > c.b ? 1 : 0;
}

} // namespace quillery
