#include "WaveformStoreCache.h"

#include "QYLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quillery {

QString WaveformStoreCache::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/waveforms");
}

WaveformStoreCache::WaveformStoreCache(QString folder) : folder_(std::move(folder)) {}

QString WaveformStoreCache::sourceKey(const QString& moviePath, int track) {
    const QFileInfo movie(moviePath);
    if (!movie.isFile())
        return QString();
    return QStringLiteral("%1\n%2\n%3\n%4")
        .arg(movie.absoluteFilePath())
        .arg(movie.size())
        .arg(movie.lastModified().toMSecsSinceEpoch())
        .arg(track);
}

QString WaveformStoreCache::entryPath(const QString& sourceKey) const {
    const QByteArray name =
        QCryptographicHash::hash(sourceKey.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder_ + u'/' + QString::fromLatin1(name) + QStringLiteral(".qywave");
}

WaveformStorePtr WaveformStoreCache::load(const QString& moviePath, int track) const {
    const QString key = sourceKey(moviePath, track);
    if (key.isEmpty())
        return nullptr;
    QFile file(entryPath(key));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const std::optional<WaveformFileContents> contents = decodeWaveformFile(file.readAll());
    if (!contents || contents->sourceKey != key || contents->stores.size() != 1) {
        QY_DBG("Ignoring the damaged or stale waveform cache %s", qUtf8Printable(file.fileName()));
        return nullptr;
    }
    return contents->stores.front();
}

bool WaveformStoreCache::save(const QString& moviePath, const WaveformAudioDataStore& store) const {
    const QString key = sourceKey(moviePath, store.trackNumber());
    if (key.isEmpty() || !QDir().mkpath(folder_))
        return false;
    QSaveFile file(entryPath(key));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(encodeWaveformFile(key, {&store}));
    return file.commit();
}

} // namespace quillery
