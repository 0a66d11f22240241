// Restores the process-wide frame rate after a test that changes it.
#pragma once

#include "QYTimeUtility.h"

namespace quillery::test {

using FpsGuard = FrameRateScope;

} // namespace quillery::test
