// The user's preferences: typed access to every preference with its default, the table of
// keyboard shortcuts the script editor matches key strokes against, and the key strings
// those shortcuts are written in. Preferences live in a JSON file in the user's config
// folder; a value that is missing, null or of the wrong type reads as its default.
#pragma once

#include <QMap>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <limits>
#include <optional>

namespace quillery {

// Keys of values that other parts of the application keep in the same store.
inline const QString kRecentFilesKey = QStringLiteral("RecentFiles");
inline const QString kRecentFileBookmarksKey = QStringLiteral("RecentFileBookmarks");
// The script editor's font, in QFont::toString form.
inline const QString kTypingAttrKey = QStringLiteral("TypingAttr");
inline const QString kDefaultXMLKey = QStringLiteral("DefaultXML");
inline const QString kSmokeFontTemplateKey = QStringLiteral("SmokeFontTemplate");

// Action names of the shortcut table.
inline const QString kMode1Action = QStringLiteral("Mode 1");
inline const QString kMode2Action = QStringLiteral("Mode 2");
inline const QString kMode3Action = QStringLiteral("Mode 3");
inline const QString kPlayAction = QStringLiteral("Play");
inline const QString kForwardAction = QStringLiteral("Forward");
inline const QString kBackwardAction = QStringLiteral("Backward");
inline const QString kInsertTimeCodeAction = QStringLiteral("Insert Time Code");
inline const QString kInsertInTimeCodeAction = QStringLiteral("Insert In Time Code");
inline const QString kInsertOutTimeCodeAction = QStringLiteral("Insert Out Time Code");
inline const QString kDeleteTimeCodeAction = QStringLiteral("Delete Time Code");

// Typed reads from a dictionary: a missing key or a null value gives the default, and so
// does a value of another type, except for booleans, where any value counts by its truth
// (non-zero numbers; texts starting with Y, y, T, t or a non-zero integer).
double getNumberValueForKey(const QVariantMap& dictionary, const QString& key, double defaultValue);
QString getStringValueForKey(const QVariantMap& dictionary, const QString& key,
                             const QString& defaultValue);
bool getBoolValueForKey(const QVariantMap& dictionary, const QString& key, bool defaultValue);

// Shortcut strings: the held modifiers as ⌃⌥⇧⌘, in that order, then the key's name. Qt's
// Control modifier is the command key (⌘) of these strings and Meta the control key (⌃);
// Alt is option (⌥). The keypad modifier is ignored.
QString modifierFlagsString(Qt::KeyboardModifiers modifiers);
// Empty for keys without a name: modifier keys on their own and unknown keys.
QString keyCodeString(Qt::Key key);
// Empty when the key has no name, so no shortcut can be made of it.
QString shortCutString(Qt::Key key, Qt::KeyboardModifiers modifiers);

// The whole numbers the preferences window accepts in its numeric fields.
struct PreferenceRange {
    int minimum;
    int maximum;
};
inline constexpr PreferenceRange kTimecodeAdjustmentRange{1, 1000};
inline constexpr PreferenceRange kForwardBackwardRange{1, 1000};
inline constexpr PreferenceRange kMode3FrameIntervalRange{0, 30};
inline constexpr PreferenceRange kAutoSaveIntervalRange{std::numeric_limits<int>::min(),
                                                        std::numeric_limits<int>::max()};
// The number typed in a numeric field, or nothing when it is not a whole number in range.
std::optional<int> preferenceIntegerFromText(const QString& text, PreferenceRange range);

// The error a caller shows when a shortcut is already taken.
struct ShortCutError {
    QString domain;
    int code = 0;
    QString description;
};

// Action name -> shortcut string.
using ShortCutTable = QMap<QString, QString>;

class QYSetting : public QObject {
    Q_OBJECT

public:
    // The process-wide instance, kept in defaultStoreFilePath().
    static QYSetting& shareInstance();
    // Quillery/Quillery.json in the user's config folder (QStandardPaths, so its test
    // mode keeps a test run away from the real preferences).
    static QString defaultStoreFilePath();

    // Preferences kept in the given file; loads them at once.
    explicit QYSetting(const QString& storeFilePath);

    void loadFromUserDefault();
    // Writes every preference, flushes the store to disk and rebuilds the shortcut table.
    void save();
    // Restores the ten default shortcuts and saves.
    void setDefaultShortCut();

    void buildShortCutTable();
    const ShortCutTable& getShortCutTables() const { return shortCutTable_; }
    // An error naming the action that already holds the shortcut, if any does.
    std::optional<ShortCutError> hasConflictShortCut(const QString& shortCut) const;
    // Sets the preference behind an action (not saved); false for an unknown action.
    bool setShortCutForAction(const QString& actionName, const QString& shortCut);

    // Generic access for the keys other parts keep in this store. Values must be
    // representable in JSON: numbers, texts, booleans, and lists and maps of them.
    QVariant objectForKey(const QString& key) const;
    void setObject(const QString& key, const QVariant& value);
    void removeObjectForKey(const QString& key);
    void synchronize();
    double getNumberFromUserDefaultForKey(const QString& key, double defaultValue) const;
    QString getStringFromUserDefaultForKey(const QString& key, const QString& defaultValue) const;
    // The stored list when every item is a text, else an empty list.
    QStringList getStringListFromUserDefaultForKey(const QString& key) const;

    int autoSaveTimeInteval() const { return autoSaveTimeInteval_; }
    // Announces every change through autoSaveTimeIntevalChanged.
    void setAutoSaveTimeInteval(int minutes);

    int timecodeAdjustmentPerArrowKey = 0;
    int forwardBackwardPerKey = 0;
    int frameIntervalInSpaceMode3 = 0;
    QString autoSaveDirectory;
    QString lastTitleTemplateDirectory;
    QString mode1ShourtCut;
    QString mode2ShourtCut;
    QString mode3ShourtCut;
    QString playVideoShortCut;
    QString forwardVideoShortCut;
    QString backwardVideoShortCut;
    QString insertTimecodeShortCut;
    QString insertInTimecodeShortCut;
    QString insertOutTimecodeShortCut;
    QString deleteTimecodeShortCut;
    // A fraction in (0, 1].
    float waveFormZoomRate = 0;
    bool isFinalCutPro7ToolBar = false;
    bool isFirstLaunch = false;
    bool isAutoAssembleVideoAndAudio = false;
    int dragPlayRate = 0;

signals:
    void autoSaveTimeIntevalChanged(int minutes);

private:
    QString* shortCutField(const QString& actionName);
    bool readBool(const QString& key) const;

    QSettings store_;
    ShortCutTable shortCutTable_;
    int autoSaveTimeInteval_ = 0;
};

} // namespace quillery
