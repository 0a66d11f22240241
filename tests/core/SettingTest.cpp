#include "QYSetting.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// Each test gets its own store file in a fresh folder.
class StoreFile {
public:
    QString path() const { return dir_.filePath(QStringLiteral("prefs.json")); }

    void write(const QJsonObject& contents) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(contents).toJson());
    }

    QJsonObject read() const {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

private:
    QTemporaryDir dir_;
};

// Every preference by its store key, so that rows and comparisons can name what they check.
QVariantMap loaded(const QYSetting& s) {
    return {
        {"AutoSave", s.autoSaveTimeInteval()},
        {"SkipFrame", s.timecodeAdjustmentPerArrowKey},
        {"forwardBackwardPerKey", s.forwardBackwardPerKey},
        {"AutoSkipFrame", s.frameIntervalInSpaceMode3},
        {"AutosaveDirectory", s.autoSaveDirectory},
        {"lastTitleTemplateDirectory", s.lastTitleTemplateDirectory},
        {"mode1ShourtCut", s.mode1ShourtCut},
        {"mode2ShourtCut", s.mode2ShourtCut},
        {"mode3ShourtCut", s.mode3ShourtCut},
        {"playVideoShortCut", s.playVideoShortCut},
        {"forwardVideoShortCut", s.forwardVideoShortCut},
        {"backwardVideoShortCut", s.backwardVideoShortCut},
        {"insertTimecodeShortCut", s.insertTimecodeShortCut},
        {"insertInTimecodeShortCut", s.insertInTimecodeShortCut},
        {"insertOutTimecodeShortCut", s.insertOutTimecodeShortCut},
        {"deleteTimecodeShortCut", s.deleteTimecodeShortCut},
        {"waveFormZoomRate", s.waveFormZoomRate},
        {"isFinalCutPro7ToolBar", s.isFinalCutPro7ToolBar},
        {"firstLaunch", s.isFirstLaunch},
        {"isAutoAssembleVideoAndAudio", s.isAutoAssembleVideoAndAudio},
        {"dragPlayRate", s.dragPlayRate},
    };
}

TEST(Setting, EmptyStoreGivesEveryDefault) {
    StoreFile store;
    const QVariantMap expected{
        {"AutoSave", 5},
        {"SkipFrame", 5},
        {"forwardBackwardPerKey", 5},
        {"AutoSkipFrame", 0},
        {"AutosaveDirectory", "~/Documents/Quillery/"},
        {"lastTitleTemplateDirectory", "~/Desktop/"},
        {"mode1ShourtCut", "Space"},
        {"mode2ShourtCut", "2"},
        {"mode3ShourtCut", "↩"},
        {"playVideoShortCut", "⌘K"},
        {"forwardVideoShortCut", "⌘L"},
        {"backwardVideoShortCut", "⌘J"},
        {"insertTimecodeShortCut", "⌘,"},
        {"insertInTimecodeShortCut", "⌘I"},
        {"insertOutTimecodeShortCut", "⌘O"},
        {"deleteTimecodeShortCut", "⌘⌫"},
        {"waveFormZoomRate", 0.5f},
        {"isFinalCutPro7ToolBar", false},
        {"firstLaunch", true},
        {"isAutoAssembleVideoAndAudio", false},
        {"dragPlayRate", 1},
    };
    EXPECT_EQ(loaded(QYSetting(store.path())), expected);
}

TEST(Setting, ShortCutTableHoldsTheTenActions) {
    StoreFile store;
    const ShortCutTable expected{
        {"Mode 1", "Space"},
        {"Mode 2", "2"},
        {"Mode 3", "↩"},
        {"Play", "⌘K"},
        {"Forward", "⌘L"},
        {"Backward", "⌘J"},
        {"Insert Time Code", "⌘,"},
        {"Insert In Time Code", "⌘I"},
        {"Insert Out Time Code", "⌘O"},
        {"Delete Time Code", "⌘⌫"},
    };
    EXPECT_EQ(QYSetting(store.path()).getShortCutTables(), expected);
}

struct LoadCase {
    const char* name;
    const char* key;
    QJsonValue stored;
    QVariant expected;
};

class StoredValueLoading : public testing::TestWithParam<LoadCase> {};

TEST_P(StoredValueLoading, ReadsOrFallsBack) {
    StoreFile store;
    store.write(QJsonObject{{GetParam().key, GetParam().stored}});
    EXPECT_EQ(loaded(QYSetting(store.path())).value(GetParam().key), GetParam().expected);
}

const QJsonValue kNull(QJsonValue::Null);

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredValueLoading,
    testing::Values(LoadCase{"NumberKept", "AutoSave", 12, 12},
                    LoadCase{"NumericTextIsNotANumber", "AutoSave", "12", 5},
                    LoadCase{"NullNumber", "SkipFrame", kNull, 5},
                    LoadCase{"BooleanIsNotANumber", "forwardBackwardPerKey", true, 5},
                    // Kept as integers: 2.7 is cut to 2.
                    LoadCase{"DragRateTruncated", "dragPlayRate", 2.7, 2},
                    LoadCase{"DragRateText", "dragPlayRate", "3", 1},
                    LoadCase{"ShortCutKept", "mode1ShourtCut", "⌃M", "⌃M"},
                    LoadCase{"ShortCutNumber", "mode1ShourtCut", 3, "Space"},
                    LoadCase{"DirectoryBoolean", "lastTitleTemplateDirectory", true, "~/Desktop/"},
                    LoadCase{"ZoomOneKept", "waveFormZoomRate", 1.0, 1.0f},
                    LoadCase{"ZoomFractionKept", "waveFormZoomRate", 0.25, 0.25f},
                    LoadCase{"ZoomAboveOne", "waveFormZoomRate", 1.5, 0.5f},
                    LoadCase{"ZoomZero", "waveFormZoomRate", 0, 0.5f},
                    LoadCase{"ZoomText", "waveFormZoomRate", "abc", 0.5f},
                    LoadCase{"ToolBarTrue", "isFinalCutPro7ToolBar", true, true},
                    LoadCase{"ToolBarOne", "isFinalCutPro7ToolBar", 1, true},
                    LoadCase{"ToolBarYesText", "isFinalCutPro7ToolBar", "YES", true},
                    LoadCase{"AssembleNoText", "isAutoAssembleVideoAndAudio", "NO", false},
                    LoadCase{"FirstLaunchYes", "firstLaunch", "YES", true},
                    LoadCase{"FirstLaunchEmpty", "firstLaunch", "", true},
                    LoadCase{"FirstLaunchNo", "firstLaunch", "NO", false},
                    // Any non-empty text other than "YES" means the first run is over.
                    LoadCase{"FirstLaunchLowerYes", "firstLaunch", "yes", false},
                    LoadCase{"FirstLaunchBoolean", "firstLaunch", false, true}),
    [](const auto& info) { return info.param.name; });

TEST(Setting, CorruptStoreGivesDefaults) {
    StoreFile store;
    {
        QFile file(store.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{ not json");
    }
    const QYSetting setting(store.path());
    EXPECT_EQ(setting.autoSaveTimeInteval(), 5);
    EXPECT_EQ(setting.playVideoShortCut, "⌘K");
}

TEST(Setting, SaveWritesEveryKeyWithItsTypeAndKeepsOthers) {
    StoreFile store;
    store.write(QJsonObject{{"TypingAttr", "Monaco,12"}});
    QYSetting setting(store.path());
    EXPECT_EQ(store.read().size(), 1);
    setting.save();
    EXPECT_EQ(store.read().value("firstLaunch"), QJsonValue("YES"));

    setting.isFirstLaunch = false;
    setting.waveFormZoomRate = 0.25f;
    setting.save();
    const QJsonObject saved = store.read();
    EXPECT_EQ(saved.size(), 22);
    EXPECT_EQ(saved.value("TypingAttr"), QJsonValue("Monaco,12"));
    EXPECT_EQ(saved.value("firstLaunch"), QJsonValue("NO"));
    EXPECT_EQ(saved.value("waveFormZoomRate"), QJsonValue(0.25));
    EXPECT_EQ(saved.value("dragPlayRate"), QJsonValue(1));
    EXPECT_EQ(saved.value("isFinalCutPro7ToolBar"), QJsonValue(false));
    EXPECT_EQ(saved.value("deleteTimecodeShortCut"), QJsonValue("⌘⌫"));
}

TEST(Setting, SavedValuesReloadUnchanged) {
    StoreFile store;
    QYSetting setting(store.path());
    const QVariantMap defaults = loaded(setting);
    setting.setAutoSaveTimeInteval(10);
    setting.timecodeAdjustmentPerArrowKey = 1000;
    setting.forwardBackwardPerKey = 1;
    setting.frameIntervalInSpaceMode3 = 30;
    setting.autoSaveDirectory = "/tmp/autosave/";
    setting.lastTitleTemplateDirectory = "/tmp/templates/";
    for (const QString& action : setting.getShortCutTables().keys())
        setting.setShortCutForAction(action, "⌥⇧" + action);
    setting.waveFormZoomRate = 1.0f;
    setting.isFinalCutPro7ToolBar = true;
    setting.isFirstLaunch = false;
    setting.isAutoAssembleVideoAndAudio = true;
    setting.dragPlayRate = 3;
    setting.save();

    const QVariantMap saved = loaded(setting);
    for (const QString& key : saved.keys())
        EXPECT_NE(saved.value(key), defaults.value(key)) << qPrintable(key);
    const QYSetting reloaded(store.path());
    EXPECT_EQ(loaded(reloaded), saved);
    EXPECT_EQ(reloaded.getShortCutTables().value("Play"), "⌥⇧Play");
}

TEST(Setting, DefaultShortCutsAreRestoredAndSaved) {
    StoreFile store;
    QYSetting setting(store.path());
    setting.mode1ShourtCut = "⌃1";
    setting.deleteTimecodeShortCut = "⌘D";
    setting.autoSaveDirectory = "/kept/";
    setting.save();

    setting.setDefaultShortCut();
    EXPECT_EQ(setting.mode1ShourtCut, "Space");
    EXPECT_EQ(setting.getShortCutTables().value("Delete Time Code"), "⌘⌫");
    EXPECT_EQ(setting.autoSaveDirectory, "/kept/");
    const QJsonObject saved = store.read();
    EXPECT_EQ(saved.value("mode1ShourtCut"), QJsonValue("Space"));
    EXPECT_EQ(saved.value("deleteTimecodeShortCut"), QJsonValue("⌘⌫"));
}

TEST(Setting, TakenShortCutNamesTheActionHoldingIt) {
    StoreFile store;
    const QYSetting setting(store.path());
    const std::optional<ShortCutError> error = setting.hasConflictShortCut("⌘K");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain, "Quillery");
    EXPECT_EQ(error->code, 1);
    EXPECT_EQ(error->description, "Shortcut ⌘K has been used for Play");

    EXPECT_EQ(setting.hasConflictShortCut("⌘,")->description,
              "Shortcut ⌘, has been used for Insert Time Code");
    EXPECT_FALSE(setting.hasConflictShortCut("⌘P").has_value());
    // Only the exact string conflicts.
    EXPECT_FALSE(setting.hasConflictShortCut("⇧⌘K").has_value());
}

TEST(Setting, ConflictsFollowTheTableAfterSave) {
    StoreFile store;
    QYSetting setting(store.path());
    ASSERT_TRUE(setting.setShortCutForAction("Play", "⌘P"));
    // Until saved, the table still holds the old shortcut.
    EXPECT_TRUE(setting.hasConflictShortCut("⌘K").has_value());
    setting.save();
    EXPECT_FALSE(setting.hasConflictShortCut("⌘K").has_value());
    EXPECT_EQ(setting.hasConflictShortCut("⌘P")->description, "Shortcut ⌘P has been used for Play");
    EXPECT_FALSE(setting.setShortCutForAction("Rewind", "⌘R"));
}

TEST(Setting, AutoSaveIntervalAnnouncesChanges) {
    StoreFile store;
    QYSetting setting(store.path());
    QSignalSpy spy(&setting, &QYSetting::autoSaveTimeIntevalChanged);
    setting.setAutoSaveTimeInteval(5);
    EXPECT_EQ(spy.count(), 0);
    setting.setAutoSaveTimeInteval(7);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 7);
}

TEST(Setting, OtherKeysReadWithDefaults) {
    StoreFile store;
    store.write(QJsonObject{{"DefaultXML", 42},
                            {"SmokeFontTemplate", "<font/>"},
                            {"RecentFiles", QJsonArray{"/a.qyb", "/b.qyb"}},
                            {"RecentFileBookmarks", QJsonArray{"/a.qyb", 3}}});
    QYSetting setting(store.path());
    EXPECT_EQ(setting.getStringFromUserDefaultForKey("DefaultXML", "none"), "none");
    EXPECT_EQ(setting.getStringFromUserDefaultForKey("SmokeFontTemplate", ""), "<font/>");
    EXPECT_EQ(setting.getNumberFromUserDefaultForKey("DefaultXML", 0), 42);
    EXPECT_EQ(setting.getStringListFromUserDefaultForKey("RecentFiles"),
              (QStringList{"/a.qyb", "/b.qyb"}));
    EXPECT_TRUE(setting.getStringListFromUserDefaultForKey("RecentFileBookmarks").isEmpty());

    setting.setObject("TypingAttr", "Menlo,14");
    setting.removeObjectForKey("SmokeFontTemplate");
    setting.synchronize();
    const QJsonObject saved = store.read();
    EXPECT_EQ(saved.value("TypingAttr"), QJsonValue("Menlo,14"));
    EXPECT_FALSE(saved.contains("SmokeFontTemplate"));
}

struct DictionaryCase {
    const char* name;
    QVariant value;
    double number;
    QString string;
    bool boolean;
};

class DictionaryAccess : public testing::TestWithParam<DictionaryCase> {};

// Defaults used in every row: 9, "default", true.
TEST_P(DictionaryAccess, FallsBackOnMissingNullOrWrongType) {
    QVariantMap dictionary;
    if (GetParam().value.isValid())
        dictionary.insert("key", GetParam().value);
    EXPECT_EQ(getNumberValueForKey(dictionary, "key", 9), GetParam().number);
    EXPECT_EQ(getStringValueForKey(dictionary, "key", "default"), GetParam().string);
    EXPECT_EQ(getBoolValueForKey(dictionary, "key", true), GetParam().boolean);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DictionaryAccess,
    testing::Values(DictionaryCase{"Missing", QVariant(), 9, "default", true},
                    DictionaryCase{"Null", QVariant::fromValue(nullptr), 9, "default", true},
                    DictionaryCase{"Fraction", 2.5, 2.5, "default", true},
                    DictionaryCase{"False", false, 9, "default", false},
                    DictionaryCase{"EmptyText", "", 9, "", false},
                    DictionaryCase{"NoText", "NO", 9, "NO", false},
                    DictionaryCase{"TrueText", "true", 9, "true", true},
                    DictionaryCase{"NumberText", "12", 9, "12", true},
                    DictionaryCase{"List", QStringList{"a"}, 9, "default", true}),
    [](const auto& info) { return info.param.name; });

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* expected;
};

class KeyStrings : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyStrings, BuildsModifiersThenKeyName) {
    EXPECT_EQ(shortCutString(GetParam().key, GetParam().modifiers),
              QString::fromUtf8(GetParam().expected));
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCommand = Qt::ControlModifier;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyStrings,
    testing::Values(KeyCase{"CommandK", Qt::Key_K, kCommand, "⌘K"},
                    KeyCase{"CommandComma", Qt::Key_Comma, kCommand, "⌘,"},
                    KeyCase{"CommandDelete", Qt::Key_Backspace, kCommand, "⌘⌫"},
                    KeyCase{"BareSpace", Qt::Key_Space, kNone, "Space"},
                    KeyCase{"BareReturn", Qt::Key_Return, kNone, "↩"},
                    KeyCase{"BareDigit", Qt::Key_2, kNone, "2"},
                    KeyCase{"KeypadDigit", Qt::Key_2, Qt::KeypadModifier, "2"},
                    KeyCase{"AllModifiersInOrder", Qt::Key_A,
                            Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier |
                                Qt::MetaModifier,
                            "⌃⌥⇧⌘A"},
                    KeyCase{"ControlTab", Qt::Key_Tab, Qt::MetaModifier, "⌃⇥"},
                    KeyCase{"ShiftTab", Qt::Key_Backtab, Qt::ShiftModifier, "⇧⇥"},
                    KeyCase{"OptionMinus", Qt::Key_Minus, Qt::AltModifier, "⌥-"},
                    KeyCase{"OptionRight", Qt::Key_Right, Qt::AltModifier, "⌥→"},
                    KeyCase{"ShiftF19", Qt::Key_F19, Qt::ShiftModifier, "⇧F19"},
                    KeyCase{"LowerCaseUpperCased", Qt::Key(0x3b1), kNone, "Α"},
                    KeyCase{"ModifierKeyAlone", Qt::Key_Shift, Qt::ShiftModifier, ""},
                    KeyCase{"UnknownKey", Qt::Key_unknown, kCommand, ""}),
    [](const auto& info) { return info.param.name; });

struct RangeCase {
    const char* name;
    const char* text;
    PreferenceRange range;
    std::optional<int> expected;
};

class NumericFields : public testing::TestWithParam<RangeCase> {};

TEST_P(NumericFields, AcceptOnlyWholeNumbersInRange) {
    EXPECT_EQ(preferenceIntegerFromText(GetParam().text, GetParam().range), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericFields,
    testing::Values(RangeCase{"AdjustmentMax", "1000", kTimecodeAdjustmentRange, 1000},
                    RangeCase{"AdjustmentOverMax", "1001", kTimecodeAdjustmentRange, {}},
                    RangeCase{"AdjustmentZero", "0", kTimecodeAdjustmentRange, {}},
                    RangeCase{"Mode3Zero", "0", kMode3FrameIntervalRange, 0},
                    RangeCase{"Mode3OverMax", "31", kMode3FrameIntervalRange, {}},
                    RangeCase{"AutoSaveNegative", "-3", kAutoSaveIntervalRange, -3},
                    RangeCase{"Fraction", "1.5", kForwardBackwardRange, {}},
                    RangeCase{"NotANumber", "abc", kForwardBackwardRange, {}}),
    [](const auto& info) { return info.param.name; });

} // namespace
