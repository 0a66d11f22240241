// Fuzzes the reader of waveform store files (the on-disk cache, `quillery-cli waveform`).
// The input's last 16 bytes are replaced by the checksum of the rest, so that the fuzzer
// explores the fields instead of the hash. What a file reads as must write out to a file
// that reads as the same again.
#include "FuzzInput.h"
#include "WaveformStoreFile.h"

#include <QCryptographicHash>

using namespace quillery;

namespace {

QByteArray encoded(const WaveformFileContents& contents) {
    std::vector<const WaveformAudioDataStore*> stores;
    for (const WaveformStorePtr& store : contents.stores)
        stores.push_back(store.get());
    return encodeWaveformFile(contents.sourceKey, stores);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input{data, size};
    QByteArray file = input.bytes();
    file.chop(16);
    file += QCryptographicHash::hash(file, QCryptographicHash::Md5);
    const std::optional<WaveformFileContents> contents = decodeWaveformFile(file);
    if (!contents)
        return 0;
    const QByteArray written = encoded(*contents);
    const std::optional<WaveformFileContents> reread = decodeWaveformFile(written);
    if (!reread || encoded(*reread) != written)
        __builtin_trap();
    return 0;
}
