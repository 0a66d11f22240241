// A clock split of a time interval into whole seconds and milliseconds. Every exporter
// prints its hours, minutes, seconds and milliseconds from this split, so its floor and
// truncation rules decide what a time prints as.
#pragma once

#include <cstdint>

namespace quillery {

class ITTime {
public:
    explicit ITTime(double timeInterval);

    int32_t getHours() const { return data / 3600; }
    int32_t getMinutes() const { return (data % 3600) / 60; }
    int32_t getSeconds() const { return (data % 3600) % 60; }
    int32_t getMilliSeconds() const { return ms; }

    int32_t data = 0; // whole seconds
    int32_t ms = 0;   // milliseconds within the second
};

} // namespace quillery
