#include "QYLog.h"

// Only warnings by default, so debug lines cost a flag test and print nothing.
Q_LOGGING_CATEGORY(lcQuillery, "quillery", QtWarningMsg)
