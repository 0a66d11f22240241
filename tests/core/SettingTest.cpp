#include "QYSetting.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// Each test gets its own store file in a fresh folder.
class StoreFile {
public:
    QString path() const { return dir_.filePath(QStringLiteral("prefs.json")); }

    void write(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void write(const QJsonObject& contents) const { write(QJsonDocument(contents).toJson()); }

    QJsonObject read() const {
        QFile file(path());
        file.open(QIODevice::ReadOnly); // a missing file reads as an empty object
        return QJsonDocument::fromJson(file.readAll()).object();
    }

private:
    QTemporaryDir dir_;
};

// The preferences the rows below read, by store key.
QVariantMap loaded(const QYSetting& s) {
    return {{"AutoSave", s.autoSaveTimeInteval()},
            {"dragPlayRate", s.dragPlayRate},
            {"playVideoShortCut", s.playVideoShortCut},
            {"waveFormZoomRate", s.waveFormZoomRate},
            {"isFinalCutPro7ToolBar", s.isFinalCutPro7ToolBar},
            {"firstLaunch", s.isFirstLaunch}};
}

TEST(Setting, StoredValuesAreReadOrFallBack) {
    const QJsonValue missing(QJsonValue::Undefined); // inserting it leaves the key out
    const struct {
        const char* name;
        const char* key;
        QJsonValue stored;
        QVariant expected;
    } rows[] = {
        {"number missing", "AutoSave", missing, 5},
        {"numeric text is not a number", "AutoSave", "12", 5},
        // Kept as integers: 2.7 is cut to 2.
        {"drag rate truncated", "dragPlayRate", 2.7, 2},
        {"shortcut number", "playVideoShortCut", 3, "⌘K"},
        {"zoom one kept", "waveFormZoomRate", 1.0, 1.0f},
        {"zoom above one", "waveFormZoomRate", 1.5, 0.5f},
        {"zoom zero", "waveFormZoomRate", 0, 0.5f},
        // A text is true when it starts with Y or T or holds a non-zero integer.
        {"toolbar YES text", "isFinalCutPro7ToolBar", "YES", true},
        {"toolbar number text", "isFinalCutPro7ToolBar", "12", true},
        {"toolbar NO text", "isFinalCutPro7ToolBar", "NO", false},
        {"toolbar number", "isFinalCutPro7ToolBar", 2, true},
        {"first launch missing", "firstLaunch", missing, true},
        {"first launch NO", "firstLaunch", "NO", false},
        // Any non-empty text other than "YES" means the first run is over.
        {"first launch lower-case yes", "firstLaunch", "yes", false},
        {"first launch boolean", "firstLaunch", false, true},
    };
    for (const auto& row : rows) {
        StoreFile store;
        store.write(QJsonObject{{row.key, row.stored}});
        EXPECT_EQ(loaded(QYSetting(store.path())).value(row.key), row.expected) << row.name;
    }
}

TEST(Setting, CorruptStoreGivesDefaults) {
    StoreFile store;
    store.write(QByteArray("{ not json"));
    const QYSetting setting(store.path());
    EXPECT_EQ(setting.autoSaveTimeInteval(), 5);
    EXPECT_EQ(setting.playVideoShortCut, "⌘K");
}

TEST(Setting, SavedValuesKeepTheirTypesAndReloadUnchanged) {
    StoreFile store;
    store.write(QJsonObject{{"TypingAttr", "Monaco,12"}});
    QYSetting setting(store.path());
    setting.save();
    const QJsonObject defaults = store.read();
    EXPECT_EQ(defaults.value("firstLaunch"), QJsonValue("YES"));
    EXPECT_EQ(defaults.value("isFinalCutPro7ToolBar"), QJsonValue(false));
    EXPECT_EQ(defaults.value("deleteTimecodeShortCut"), QJsonValue("⌘⌫"));

    setting.setAutoSaveTimeInteval(10);
    setting.timecodeAdjustmentPerArrowKey = 1000;
    setting.forwardBackwardPerKey = 1;
    setting.frameIntervalInSpaceMode3 = 30;
    setting.autoSaveDirectory = "/tmp/autosave/";
    setting.lastTitleTemplateDirectory = "/tmp/templates/";
    for (const QString& action : setting.getShortCutTables().keys())
        setting.setShortCutForAction(action, "⌥⇧" + action);
    setting.waveFormZoomRate = 0.25f;
    setting.isFinalCutPro7ToolBar = true;
    setting.isFirstLaunch = false;
    setting.isAutoAssembleVideoAndAudio = true;
    setting.dragPlayRate = 3;
    setting.save();
    const QJsonObject saved = store.read();
    EXPECT_EQ(saved.size(), 22);
    EXPECT_EQ(saved.value("TypingAttr"), QJsonValue("Monaco,12"));
    for (const QString& key : saved.keys())
        EXPECT_TRUE(key == "TypingAttr" || saved.value(key) != defaults.value(key))
            << qPrintable(key);

    // A fresh load that misread any key would write its default back.
    QYSetting(store.path()).save();
    EXPECT_EQ(store.read(), saved);
}

TEST(Setting, TakenShortCutsFollowTheSavedTable) {
    StoreFile store;
    QYSetting setting(store.path());
    // Only the exact string conflicts.
    EXPECT_FALSE(setting.hasConflictShortCut("⇧⌘K").has_value());

    ASSERT_TRUE(setting.setShortCutForAction("Play", "⌘P"));
    // Until saved, the table still holds the old shortcut.
    EXPECT_TRUE(setting.hasConflictShortCut("⌘K").has_value());
    setting.save();
    EXPECT_FALSE(setting.hasConflictShortCut("⌘K").has_value());
    EXPECT_FALSE(setting.setShortCutForAction("Rewind", "⌘R"));
}

TEST(Setting, StringListsHoldingAnythingButTextsReadAsEmpty) {
    StoreFile store;
    store.write(QJsonObject{{"RecentFiles", QJsonArray{"/a.qyb", "/b.qyb"}},
                            {"RecentFileBookmarks", QJsonArray{"/a.qyb", 3}}});
    const QYSetting setting(store.path());
    EXPECT_EQ(setting.getStringListFromUserDefaultForKey("RecentFiles"),
              (QStringList{"/a.qyb", "/b.qyb"}));
    EXPECT_TRUE(setting.getStringListFromUserDefaultForKey("RecentFileBookmarks").isEmpty());
}

TEST(Setting, ShortCutStringsPutModifiersBeforeTheKeyName) {
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* expected;
    } rows[] = {
        {"keypad digit", Qt::Key_2, Qt::KeypadModifier, "2"},
        {"all modifiers in order", Qt::Key_A,
         Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier, "⌃⌥⇧⌘A"},
        {"shift tab", Qt::Key_Backtab, Qt::ShiftModifier, "⇧⇥"},
        {"lower case upper-cased", Qt::Key(0x3b1), Qt::NoModifier, "Α"},
        {"modifier key alone", Qt::Key_Shift, Qt::ShiftModifier, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(shortCutString(row.key, row.modifiers), QString::fromUtf8(row.expected))
            << row.name;
}

} // namespace
