// Restores the process-wide frame rate after a test that changes it.
#pragma once

#include "QYTimeUtility.h"

namespace quillery::test {

class FpsGuard {
public:
    explicit FpsGuard(double fps) : saved_(QYTimeUtility::sharedInstance().getFPS()) {
        QYTimeUtility::sharedInstance().setFPS(fps);
    }
    ~FpsGuard() { QYTimeUtility::sharedInstance().setFPS(saved_); }
    FpsGuard(const FpsGuard&) = delete;
    FpsGuard& operator=(const FpsGuard&) = delete;

private:
    double saved_;
};

} // namespace quillery::test
