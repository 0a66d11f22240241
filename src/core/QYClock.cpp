#include "QYClock.h"

namespace quillery {

Clock systemClock() {
    return [] {
        return QDateTime::currentDateTime();
    };
}

} // namespace quillery
