// Debug lines: "<function> DBG: <message>", off unless the user enables the category,
// e.g. QT_LOGGING_RULES="quillery.debug=true". Warnings and errors of the category stay on.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcQuillery)

// printf-style, like the messages it replaces: QY_DBG("The speed rate is : %f", rate).
#define QY_DBG(format, ...)                                                                        \
    qCDebug(lcQuillery, "%s DBG: " format, Q_FUNC_INFO __VA_OPT__(, ) __VA_ARGS__)
