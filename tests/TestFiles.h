// Writing and reading the small files tests make in their temporary folders.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quillery::test {

inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quillery::test
