// What the exporter needs from the script it exports. The script editor implements it;
// so does a plain script holder for the command-line tool and the tests, so exports run
// without a window.
#pragma once

#include <QString>
#include <cstdint>

namespace quillery {

class QYExportSource {
public:
    virtual ~QYExportSource() = default;

    // The whole script text, one subtitle per line.
    virtual QString scriptText() const = 0;
    // The loaded movie's duration in seconds; 0 when no movie is loaded.
    virtual double movieDuration() const = 0;
    // The Final Cut Pro X frame duration (1001 and 30000 for 29.97 fps); 0 when none.
    virtual int32_t fcpxFrameDurationNumerator() const = 0;
    virtual int32_t fcpxFrameDurationDenominator() const = 0;
    // A time string as a count of Final Cut Pro X ticks at that frame duration.
    virtual int32_t numeratorFromQuilleryTimecode(const QString& timeString) const = 0;
};

} // namespace quillery
