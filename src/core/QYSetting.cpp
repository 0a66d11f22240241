#include "QYSetting.h"

#include "NumberText.h"
#include "SystemUtility.h"

#include <QCoreApplication>
#include <QHash>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStandardPaths>
#include <array>

namespace quillery {

namespace {

// The store's folder and file name, and the domain of its errors.
const QString kStoreName = QStringLiteral("Quillery");

const QString kAutoSaveKey = QStringLiteral("AutoSave");
const QString kAutosaveDirectoryKey = QStringLiteral("AutosaveDirectory");
const QString kLastTitleTemplateDirectoryKey = QStringLiteral("lastTitleTemplateDirectory");
const QString kWaveFormZoomRateKey = QStringLiteral("waveFormZoomRate");
const QString kFinalCutPro7ToolBarKey = QStringLiteral("isFinalCutPro7ToolBar");
const QString kFirstLaunchKey = QStringLiteral("firstLaunch");
const QString kAutoAssembleKey = QStringLiteral("isAutoAssembleVideoAndAudio");

constexpr int kDefaultAutoSaveMinutes = 5;
constexpr float kDefaultWaveFormZoomRate = 0.5f;

struct IntegerPreference {
    QString key;
    int defaultValue;
    int QYSetting::*field;
};

const std::array<IntegerPreference, 4>& integerPreferences() {
    static const std::array<IntegerPreference, 4> preferences{{
        {QStringLiteral("SkipFrame"), 5, &QYSetting::timecodeAdjustmentPerArrowKey},
        {QStringLiteral("forwardBackwardPerKey"), 5, &QYSetting::forwardBackwardPerKey},
        {QStringLiteral("AutoSkipFrame"), 0, &QYSetting::frameIntervalInSpaceMode3},
        {QStringLiteral("dragPlayRate"), 1, &QYSetting::dragPlayRate},
    }};
    return preferences;
}

// One row of the shortcut table, in the order conflicts are looked up.
struct ShortCutPreference {
    const QString& action;
    QString key;
    QString defaultValue;
    QString QYSetting::*field;
};

const std::array<ShortCutPreference, 10>& shortCutPreferences() {
    static const std::array<ShortCutPreference, 10> preferences{{
        {kMode1Action, QStringLiteral("mode1ShourtCut"), QStringLiteral("Space"),
         &QYSetting::mode1ShourtCut},
        {kMode2Action, QStringLiteral("mode2ShourtCut"), QStringLiteral("2"),
         &QYSetting::mode2ShourtCut},
        {kMode3Action, QStringLiteral("mode3ShourtCut"), QStringLiteral("↩"),
         &QYSetting::mode3ShourtCut},
        {kPlayAction, QStringLiteral("playVideoShortCut"), QStringLiteral("⌘K"),
         &QYSetting::playVideoShortCut},
        {kForwardAction, QStringLiteral("forwardVideoShortCut"), QStringLiteral("⌘L"),
         &QYSetting::forwardVideoShortCut},
        {kBackwardAction, QStringLiteral("backwardVideoShortCut"), QStringLiteral("⌘J"),
         &QYSetting::backwardVideoShortCut},
        {kInsertTimeCodeAction, QStringLiteral("insertTimecodeShortCut"), QStringLiteral("⌘,"),
         &QYSetting::insertTimecodeShortCut},
        {kInsertInTimeCodeAction, QStringLiteral("insertInTimecodeShortCut"), QStringLiteral("⌘I"),
         &QYSetting::insertInTimecodeShortCut},
        {kInsertOutTimeCodeAction, QStringLiteral("insertOutTimecodeShortCut"),
         QStringLiteral("⌘O"), &QYSetting::insertOutTimecodeShortCut},
        {kDeleteTimeCodeAction, QStringLiteral("deleteTimecodeShortCut"), QStringLiteral("⌘⌫"),
         &QYSetting::deleteTimecodeShortCut},
    }};
    return preferences;
}

QString defaultAutoSaveDirectory() {
    return QStringLiteral("~/Documents/%1/").arg(SystemUtility::sharedInstance().getBundleName());
}

bool isAbsent(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

double numberOrDefault(const QVariant& value, double defaultValue) {
    return isNumber(value) ? value.toDouble() : defaultValue;
}

QString stringOrDefault(const QVariant& value, const QString& defaultValue) {
    return value.typeId() == QMetaType::QString ? value.toString() : defaultValue;
}

// A text is true when it starts with Y, y, T or t ("YES", "true") or holds a non-zero integer.
bool textIsTrue(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QChar first = trimmed.front().toUpper();
    return first == u'Y' || first == u'T' || intValue(trimmed) != 0;
}

bool boolOrDefault(const QVariant& value, bool defaultValue) {
    if (isAbsent(value))
        return defaultValue;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumber(value))
        return value.toDouble() != 0;
    if (value.typeId() == QMetaType::QString)
        return textIsTrue(value.toString());
    return defaultValue;
}

bool readJsonStore(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray data = device.readAll();
    if (data.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    map = document.object().toVariantMap();
    return true;
}

bool writeJsonStore(QIODevice& device, const QSettings::SettingsMap& map) {
    const QByteArray data = QJsonDocument(QJsonObject::fromVariantMap(map)).toJson();
    return device.write(data) == data.size();
}

// JSON keeps numbers, texts and booleans apart, which the wrong-type fallbacks rely on.
QSettings::Format jsonFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJsonStore, writeJsonStore);
    return format;
}

bool isFunctionKey(Qt::Key key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

// Qt's codes below its special-key range are the Unicode characters the keys produce.
bool isCharacterKey(Qt::Key key) {
    return key < 0x110000 && QChar::isPrint(static_cast<char32_t>(key));
}

// Keys named by a word or a symbol rather than by the character they type. Shift-Tab
// arrives as Backtab; the Shift modifier already tells it from Tab.
QString namedKeyString(Qt::Key key) {
    static const QHash<int, QString> names{
        {Qt::Key_Space, QStringLiteral("Space")}, {Qt::Key_Return, QStringLiteral("↩")},
        {Qt::Key_Enter, QStringLiteral("⌤")},     {Qt::Key_Backspace, QStringLiteral("⌫")},
        {Qt::Key_Delete, QStringLiteral("⌦")},    {Qt::Key_Tab, QStringLiteral("⇥")},
        {Qt::Key_Backtab, QStringLiteral("⇥")},   {Qt::Key_Escape, QStringLiteral("⎋")},
        {Qt::Key_Left, QStringLiteral("←")},      {Qt::Key_Right, QStringLiteral("→")},
        {Qt::Key_Up, QStringLiteral("↑")},        {Qt::Key_Down, QStringLiteral("↓")},
        {Qt::Key_Home, QStringLiteral("↖")},      {Qt::Key_End, QStringLiteral("↘")},
        {Qt::Key_PageUp, QStringLiteral("⇞")},    {Qt::Key_PageDown, QStringLiteral("⇟")},
    };
    return names.value(key);
}

} // namespace

double getNumberValueForKey(const QVariantMap& dictionary, const QString& key,
                            double defaultValue) {
    return numberOrDefault(dictionary.value(key), defaultValue);
}

QString getStringValueForKey(const QVariantMap& dictionary, const QString& key,
                             const QString& defaultValue) {
    return stringOrDefault(dictionary.value(key), defaultValue);
}

bool getBoolValueForKey(const QVariantMap& dictionary, const QString& key, bool defaultValue) {
    return boolOrDefault(dictionary.value(key), defaultValue);
}

QString modifierFlagsString(Qt::KeyboardModifiers modifiers) {
    QString flags;
    if (modifiers & Qt::MetaModifier)
        flags += u'⌃';
    if (modifiers & Qt::AltModifier)
        flags += u'⌥';
    if (modifiers & Qt::ShiftModifier)
        flags += u'⇧';
    if (modifiers & Qt::ControlModifier)
        flags += u'⌘';
    return flags;
}

QString keyCodeString(Qt::Key key) {
    const QString named = namedKeyString(key);
    if (!named.isEmpty())
        return named;
    if (isFunctionKey(key))
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    if (isCharacterKey(key)) {
        const char32_t character = key;
        return QString::fromUcs4(&character, 1).toUpper();
    }
    return {};
}

QString shortCutString(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const QString keyString = keyCodeString(key);
    if (keyString.isEmpty())
        return {};
    return modifierFlagsString(modifiers) + keyString;
}

std::optional<int> preferenceIntegerFromText(const QString& text, PreferenceRange range) {
    bool ok = false;
    const int value = QLocale().toInt(text.trimmed(), &ok);
    if (!ok || value < range.minimum || value > range.maximum)
        return std::nullopt;
    return value;
}

QYSetting& QYSetting::shareInstance() {
    static QYSetting instance(defaultStoreFilePath());
    return instance;
}

QString QYSetting::defaultStoreFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           kStoreName + u'/' + kStoreName + QStringLiteral(".json");
}

QYSetting::QYSetting(const QString& storeFilePath) : store_(storeFilePath, jsonFormat()) {
    loadFromUserDefault();
    buildShortCutTable();
}

void QYSetting::loadFromUserDefault() {
    setAutoSaveTimeInteval(
        toInt32(getNumberFromUserDefaultForKey(kAutoSaveKey, kDefaultAutoSaveMinutes)));
    for (const IntegerPreference& preference : integerPreferences())
        this->*preference.field =
            toInt32(getNumberFromUserDefaultForKey(preference.key, preference.defaultValue));
    autoSaveDirectory =
        getStringFromUserDefaultForKey(kAutosaveDirectoryKey, defaultAutoSaveDirectory());
    lastTitleTemplateDirectory = getStringFromUserDefaultForKey(kLastTitleTemplateDirectoryKey,
                                                                QStringLiteral("~/Desktop/"));
    for (const ShortCutPreference& preference : shortCutPreferences())
        this->*preference.field =
            getStringFromUserDefaultForKey(preference.key, preference.defaultValue);

    // A missing key reads as 0, which is out of range like any other bad value.
    const auto zoomRate =
        static_cast<float>(getNumberFromUserDefaultForKey(kWaveFormZoomRateKey, 0));
    waveFormZoomRate = zoomRate > 0 && zoomRate <= 1 ? zoomRate : kDefaultWaveFormZoomRate;

    isFinalCutPro7ToolBar = readBool(kFinalCutPro7ToolBarKey);
    isAutoAssembleVideoAndAudio = readBool(kAutoAssembleKey);
    const QString firstLaunch = getStringFromUserDefaultForKey(kFirstLaunchKey, QString());
    isFirstLaunch = firstLaunch.isEmpty() || firstLaunch == QStringLiteral("YES");
}

void QYSetting::save() {
    store_.setValue(kAutoSaveKey, autoSaveTimeInteval_);
    for (const IntegerPreference& preference : integerPreferences())
        store_.setValue(preference.key, this->*preference.field);
    store_.setValue(kAutosaveDirectoryKey, autoSaveDirectory);
    store_.setValue(kLastTitleTemplateDirectoryKey, lastTitleTemplateDirectory);
    for (const ShortCutPreference& preference : shortCutPreferences())
        store_.setValue(preference.key, this->*preference.field);
    store_.setValue(kWaveFormZoomRateKey, waveFormZoomRate);
    store_.setValue(kFinalCutPro7ToolBarKey, isFinalCutPro7ToolBar);
    store_.setValue(kAutoAssembleKey, isAutoAssembleVideoAndAudio);
    store_.setValue(kFirstLaunchKey, isFirstLaunch ? QStringLiteral("YES") : QStringLiteral("NO"));
    store_.sync();
    buildShortCutTable();
}

void QYSetting::setDefaultShortCut() {
    for (const ShortCutPreference& preference : shortCutPreferences())
        this->*preference.field = preference.defaultValue;
    save();
}

void QYSetting::buildShortCutTable() {
    shortCutTable_.clear();
    for (const ShortCutPreference& preference : shortCutPreferences())
        shortCutTable_.insert(preference.action, this->*preference.field);
}

std::optional<ShortCutError> QYSetting::hasConflictShortCut(const QString& shortCut) const {
    for (const ShortCutPreference& preference : shortCutPreferences()) {
        if (shortCutTable_.value(preference.action) != shortCut)
            continue;
        const QString description =
            QCoreApplication::translate("Quillery", "Shortcut %1 has been used for %2")
                .arg(shortCut, preference.action);
        return ShortCutError{kStoreName, 1, description};
    }
    return std::nullopt;
}

bool QYSetting::setShortCutForAction(const QString& actionName, const QString& shortCut) {
    QString* field = shortCutField(actionName);
    if (field == nullptr)
        return false;
    *field = shortCut;
    return true;
}

QVariant QYSetting::objectForKey(const QString& key) const {
    return store_.value(key);
}

void QYSetting::setObject(const QString& key, const QVariant& value) {
    store_.setValue(key, value);
}

void QYSetting::removeObjectForKey(const QString& key) {
    store_.remove(key);
}

void QYSetting::synchronize() {
    store_.sync();
}

double QYSetting::getNumberFromUserDefaultForKey(const QString& key, double defaultValue) const {
    return numberOrDefault(store_.value(key), defaultValue);
}

QString QYSetting::getStringFromUserDefaultForKey(const QString& key,
                                                  const QString& defaultValue) const {
    return stringOrDefault(store_.value(key), defaultValue);
}

QStringList QYSetting::getStringListFromUserDefaultForKey(const QString& key) const {
    const QVariant value = store_.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QVariantList)
        return {};
    QStringList strings;
    for (const QVariant& item : value.toList()) {
        if (item.typeId() != QMetaType::QString)
            return {};
        strings.append(item.toString());
    }
    return strings;
}

void QYSetting::setAutoSaveTimeInteval(int minutes) {
    if (minutes == autoSaveTimeInteval_)
        return;
    autoSaveTimeInteval_ = minutes;
    emit autoSaveTimeIntevalChanged(minutes);
}

QString* QYSetting::shortCutField(const QString& actionName) {
    for (const ShortCutPreference& preference : shortCutPreferences()) {
        if (preference.action == actionName)
            return &(this->*preference.field);
    }
    return nullptr;
}

bool QYSetting::readBool(const QString& key) const {
    return boolOrDefault(store_.value(key), false);
}

} // namespace quillery
