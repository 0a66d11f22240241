#include "AppleEvent.h"

#include <QFileInfo>
#include <atomic>

namespace quillery {

namespace {

enum FileMode { kFileReference = 0, kFileURL = 2 };

int32_t nextReturnID() {
    static std::atomic<int32_t> last{0};
    return ++last;
}

} // namespace

QString fourCharCodeText(FourCharCode code) {
    const char bytes[4] = {static_cast<char>(code >> 24), static_cast<char>(code >> 16),
                           static_cast<char>(code >> 8), static_cast<char>(code)};
    return QString::fromLatin1(bytes, 4);
}

std::optional<FourCharCode> fourCharCodeFromText(const QString& text) {
    if (text.size() != 4)
        return std::nullopt;
    FourCharCode code = 0;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
        code = code << 8 | c.unicode();
    }
    return code;
}

const AEDesc* AEDesc::field(AEKeyword fieldKey) const {
    for (const AEDesc& item : items) {
        if (item.key == fieldKey)
            return &item;
    }
    return nullptr;
}

void AEDesc::putField(AEKeyword fieldKey, AEDesc value) {
    value.key = fieldKey;
    for (AEDesc& item : items) {
        if (item.key == fieldKey) {
            item = std::move(value);
            return;
        }
    }
    items.push_back(std::move(value));
}

QString AEDesc::filePath() const {
    if (descriptorType != typeFSRef && descriptorType != typeFileURL)
        return QString();
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

FourCharCode AppleEvent::targetSignature() const {
    return fourCharCodeFromText(target.value.toString()).value_or(0);
}

apple_event::apple_event(AppleEventTransport& transport) : transport_(transport) {}

void apple_event::create(AEEventID eventId, AEEventClass eventClass, FourCharCode dest) {
    if (err_ != noErr)
        return;
    event_.target = {typeApplSignature, fourCharCodeText(dest), {}, 0};
    event_.eventClass = eventClass;
    event_.eventID = eventId;
    event_.returnID = nextReturnID();
}

void apple_event::sendAFile(const QString& path, const std::optional<QUrl>& url, AEKeyword key,
                            int mode) {
    if (err_ != noErr)
        return;
    if (mode != kFileReference && mode != kFileURL) {
        err_ = fnfErr;
        return;
    }
    if (path.isEmpty() && !url)
        return;
    const QString named = url ? url->toLocalFile() : path;
    if (mode == kFileURL) {
        putParameter(key, {typeFileURL, named, {}, 0});
        return;
    }
    // Like the platform's file references, this one can only name a file that exists.
    const QFileInfo file(named);
    if (named.isEmpty() || !file.exists()) {
        err_ = fnfErr;
        return;
    }
    putParameter(key, {typeFSRef, file.absoluteFilePath(), {}, 0});
}

void apple_event::version(const QString& text) {
    if (err_ != noErr || text.isEmpty())
        return;
    putParameter(fcp::kXMLVersion, {typeCGFloat, text.toDouble(), {}, 0});
}

void apple_event::uuid(const QString& text) {
    if (err_ != noErr)
        return;
    putParameter(fcp::kSequenceUuid, AEDesc::text(text));
}

void apple_event::addDoc(const QString& text) {
    if (err_ != noErr)
        return;
    putParameter(fcp::kXMLDocument, AEDesc::text(text));
}

int32_t apple_event::send() {
    if (err_ != noErr)
        return err_;
    reply_ = AEDesc::record();
    const int32_t sent = transport_.sendAndWait(event_, reply_);
    if (sent != noErr)
        return sent;
    const AEDesc* errorNumber = reply_.field(keyErrorNumber);
    return errorNumber ? errorNumber->value.toInt() : noErr;
}

std::optional<QString> apple_event::createDocFromXML() const {
    const AEDesc* document = reply_.field(fcp::kXMLDocument);
    if (document == nullptr || document->value.typeId() != QMetaType::QString)
        return std::nullopt;
    return document->value.toString();
}

QStringList apple_event::createDocFromList() const {
    QStringList paths;
    const AEDesc* projects = reply_.field(fcp::kProjectList);
    if (projects == nullptr || projects->descriptorType != typeAEList)
        return paths;
    for (const AEDesc& project : projects->items) {
        const AEDesc* file = project.descriptorType == typeAERecord
                                 ? project.field(fcp::kProjectRecordFile)
                                 : nullptr;
        const QString path = file ? file->filePath() : QString();
        if (path.isEmpty())
            break;
        paths << path;
    }
    return paths;
}

void apple_event::putParameter(AEKeyword key, AEDesc value) {
    event_.parameters.putField(key, std::move(value));
}

} // namespace quillery
