// The date and time that stamp generated names: exported Final Cut Pro projects and
// sequences, and autosave files. Whatever writes a date into a name asks a clock handed to
// it, so tests fix the time instead of racing the real one.
#pragma once

#include <QDateTime>
#include <functional>

namespace quillery {

using Clock = std::function<QDateTime()>;

// The local date and time now.
Clock systemClock();

} // namespace quillery
