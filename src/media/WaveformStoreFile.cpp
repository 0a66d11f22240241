#include "WaveformStoreFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

namespace quillery {

namespace {

const QByteArray kMagic = QByteArrayLiteral("QYWAVEF1");
constexpr quint32 kVersion = 1;
constexpr int kChecksumLength = 16;
// More would not be a movie's: a guard against allocating from a damaged count.
constexpr quint32 kMostStores = 64;
constexpr quint32 kMostChannels = 64;

QByteArray checksum(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

void prepare(QDataStream& stream) {
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

void writeStore(QDataStream& out, const WaveformAudioDataStore& store) {
    out << qint32(store.trackNumber()) << store.mASBD().sampleRate << quint32(store.channelCount())
        << quint32(store.mDataBlockSize()) << store.length() << quint32(store.mTotalLength());
    for (uint32_t c = 0; c < store.channelCount(); ++c) {
        const auto values = store.mData(static_cast<int>(c));
        out.writeRawData(reinterpret_cast<const char*>(values.data()),
                         static_cast<int>(values.size()));
    }
}

WaveformStorePtr readStore(QDataStream& in, qint64 bytesLeft) {
    qint32 track = 0;
    double rate = 0;
    double duration = 0;
    quint32 channels = 0;
    quint32 blockSize = 0;
    quint32 count = 0;
    in >> track >> rate >> channels >> blockSize >> duration >> count;
    if (in.status() != QDataStream::Ok || channels == 0 || channels > kMostChannels ||
        !(rate > 0) || !(duration > 0) || qint64(count) * channels > bytesLeft)
        return nullptr;
    AudioStreamDescription source{rate, channels, 32};
    AudioStreamDescription target = source;
    target.sampleRate = kWaveformValuesPerSecond;
    // A store is sized from its duration: a duration that disagrees with the values the
    // file holds must not allocate what it claims.
    if (WaveformAudioDataStore::totalLengthFor(target, duration) != count)
        return nullptr;
    auto store = std::make_shared<WaveformAudioDataStore>(source, target, duration);
    if (store->mDataBlockSize() != blockSize)
        return nullptr;
    std::vector<std::vector<uint8_t>> values(channels, std::vector<uint8_t>(count));
    for (std::vector<uint8_t>& channel : values) {
        if (in.readRawData(reinterpret_cast<char*>(channel.data()), static_cast<int>(count)) !=
            static_cast<int>(count))
            return nullptr;
    }
    store->setTrackNumber(track);
    return store->restore(std::move(values)) ? store : nullptr;
}

} // namespace

QByteArray encodeWaveformFile(const QString& sourceKey,
                              const std::vector<const WaveformAudioDataStore*>& stores) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    out.writeRawData(kMagic.constData(), kMagic.size());
    const QByteArray key = sourceKey.toUtf8();
    out << kVersion << quint32(key.size());
    out.writeRawData(key.constData(), static_cast<int>(key.size()));
    out << quint32(stores.size());
    for (const WaveformAudioDataStore* store : stores)
        writeStore(out, *store);
    bytes += checksum(bytes);
    return bytes;
}

std::optional<WaveformFileContents> decodeWaveformFile(const QByteArray& bytes) {
    if (bytes.size() < kMagic.size() + kChecksumLength)
        return std::nullopt;
    const QByteArrayView body(bytes.constData(), bytes.size() - kChecksumLength);
    if (!body.startsWith(kMagic) || checksum(body) != bytes.right(kChecksumLength))
        return std::nullopt;
    const QByteArray content = body.toByteArray();
    QDataStream in(content);
    prepare(in);
    in.skipRawData(static_cast<int>(kMagic.size()));
    quint32 version = 0;
    quint32 keyLength = 0;
    in >> version >> keyLength;
    if (in.status() != QDataStream::Ok || version != kVersion || keyLength > content.size())
        return std::nullopt;
    QByteArray key(static_cast<qsizetype>(keyLength), Qt::Uninitialized);
    quint32 storeCount = 0;
    if (in.readRawData(key.data(), static_cast<int>(keyLength)) != static_cast<int>(keyLength))
        return std::nullopt;
    in >> storeCount;
    if (in.status() != QDataStream::Ok || storeCount > kMostStores)
        return std::nullopt;
    WaveformFileContents contents{QString::fromUtf8(key), {}};
    for (quint32 i = 0; i < storeCount; ++i) {
        WaveformStorePtr store = readStore(in, content.size() - in.device()->pos());
        if (!store)
            return std::nullopt;
        contents.stores.push_back(std::move(store));
    }
    if (!in.atEnd())
        return std::nullopt;
    return contents;
}

} // namespace quillery
