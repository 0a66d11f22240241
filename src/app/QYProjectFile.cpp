#include "QYProjectFile.h"

#include "QYSetting.h"

#include <QFile>
#include <QSaveFile>
#include <QVariantList>
#include <memory>
#include <plist/plist.h>

namespace quillery {

namespace {

const QString kXMLKey = QStringLiteral("xml");
const QString kFCPXXMLKey = QStringLiteral("fcpxxml");
const QString kMovieKey = QStringLiteral("movie");
const QString kTextKey = QStringLiteral("text");
const QString kNeedCompositionKey = QStringLiteral("needComposition");
const QString kOnlyAssembleAudioKey = QStringLiteral("onlyAssembleAudio");
const QString kMainTrackKey = QStringLiteral("fcp7MovieMainTrackXMLString");
const QString kSecondTrackKey = QStringLiteral("fcp7MovieSecondTrackXMLString");

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QVariant variantFromPlist(plist_t node);

QVariantList listFromPlistArray(plist_t array) {
    QVariantList list;
    const uint32_t size = plist_array_get_size(array);
    for (uint32_t index = 0; index < size; ++index)
        list.append(variantFromPlist(plist_array_get_item(array, index)));
    return list;
}

QVariantMap mapFromPlistDictionary(plist_t dictionary) {
    QVariantMap map;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), variantFromPlist(value));
        free(key);
    }
    free(iterator);
    return map;
}

QString stringFromPlist(plist_t node) {
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

// Dates and other types no property reads become null values, which read as defaults.
QVariant variantFromPlist(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_STRING:
        return stringFromPlist(node);
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return static_cast<qulonglong>(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_ARRAY:
        return listFromPlistArray(node);
    case PLIST_DICT:
        return mapFromPlistDictionary(node);
    default:
        return QVariant();
    }
}

// Binary and XML property lists alike; an empty map for anything else.
QVariantMap readPlistDictionary(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    plist_t root = nullptr;
    plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &root);
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return {};
    return mapFromPlistDictionary(root);
}

// The dictionary holds only texts and flags.
plist_t plistFromVariant(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return plist_new_bool(value.toBool());
    return plist_new_string(value.toString().toUtf8().constData());
}

QByteArray plistXMLFromMap(const QVariantMap& map) {
    const PlistPtr dictionary(plist_new_dict());
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        plist_dict_set_item(dictionary.get(), entry.key().toUtf8().constData(),
                            plistFromVariant(entry.value()));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(dictionary.get(), &xml, &length);
    const QByteArray result(xml, length);
    plist_to_xml_free(xml);
    return result;
}

void insertUnlessEmpty(QVariantMap& map, const QString& key, const QString& value) {
    if (!value.isEmpty())
        map.insert(key, value);
}

} // namespace

QYProjectFile QYProjectFile::initWithFilePath(const QString& path) {
    QYProjectFile file;
    file.updateWithDictionary(readPlistDictionary(path));
    return file;
}

void QYProjectFile::updateWithDictionary(const QVariantMap& dictionary) {
    fcp7XMLString = getStringValueForKey(dictionary, kXMLKey, QString());
    fcpxXMLString = getStringValueForKey(dictionary, kFCPXXMLKey, QString());
    moviePath = getStringValueForKey(dictionary, kMovieKey, QString());
    subtitleText = getStringValueForKey(dictionary, kTextKey, QString());
    needComposition = getBoolValueForKey(dictionary, kNeedCompositionKey, false);
    onlyAssembleAudio = getBoolValueForKey(dictionary, kOnlyAssembleAudioKey, false);
    fcp7MovieMainTrackXMLString = getStringValueForKey(dictionary, kMainTrackKey, QString());
    fcp7MovieSecondTrackXMLString = getStringValueForKey(dictionary, kSecondTrackKey, QString());
}

QVariantMap QYProjectFile::toDictionary() const {
    QVariantMap dictionary{
        {kTextKey, subtitleText},
        {kNeedCompositionKey, needComposition},
        {kOnlyAssembleAudioKey, onlyAssembleAudio},
    };
    insertUnlessEmpty(dictionary, kXMLKey, fcp7XMLString);
    insertUnlessEmpty(dictionary, kFCPXXMLKey, fcpxXMLString);
    insertUnlessEmpty(dictionary, kMovieKey, moviePath);
    insertUnlessEmpty(dictionary, kMainTrackKey, fcp7MovieMainTrackXMLString);
    insertUnlessEmpty(dictionary, kSecondTrackKey, fcp7MovieSecondTrackXMLString);
    return dictionary;
}

bool QYProjectFile::writeToUrl(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(plistXMLFromMap(toDictionary()));
    return file.commit();
}

} // namespace quillery
