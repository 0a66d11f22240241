#include "WaveformMapping.h"

#include <algorithm>

namespace quillery {

double followPlayheadOrigin(const PlayheadFollowing& f) {
    const double x = f.playheadX;
    const double w = f.width;
    const double l = f.totalWidth;
    const double o = f.origin;
    if (x < w / 2)
        return o >= 0 && o <= x ? o : 0;
    if (x > l - w / 2)
        return o <= l - w && x <= o + w ? o : l - w;
    if (f.centre)
        return x - w / 2;
    if (f.playForward && x > o + w)
        return std::min(x - w / 5, l - w);
    if (!f.playForward && x < o)
        return std::max(0.0, x - 4 * w / 5);
    return o;
}

double originAfterResize(double origin, double oldWidth, double newWidth) {
    // Single precision, as the view's geometry is kept.
    const float moved = static_cast<float>(origin) + static_cast<float>(oldWidth) / 2 -
                        static_cast<float>(newWidth) / 2;
    return std::max(0.0f, moved);
}

double originAfterScroll(double origin, double delta, double movieWidth, double viewWidth) {
    return std::min(movieWidth - viewWidth, std::max(0.0, origin - delta));
}

} // namespace quillery
