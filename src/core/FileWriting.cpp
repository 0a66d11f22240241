#include "FileWriting.h"

#include <QFile>
#include <QSaveFile>

namespace quillery {

namespace {

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

} // namespace

bool writeUtf8File(const QString& path, const QString& text, WriteMode mode) {
    const QByteArray bytes = text.toUtf8();
    if (mode == WriteMode::Atomic) {
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && writeAll(file, bytes) && file.commit();
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && writeAll(file, bytes);
}

} // namespace quillery
