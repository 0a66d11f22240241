// User-visible texts are looked up in the translation table by their English text,
// which is also what shows when no translation exists.
#pragma once

#include <QCoreApplication>
#include <QString>

namespace quillery {

inline QString localized(const char* english) {
    return QCoreApplication::translate("Quillery", english);
}

} // namespace quillery
