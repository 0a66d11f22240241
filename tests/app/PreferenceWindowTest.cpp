#include "NotificationNames.h"
#include "QYNotificationCenter.h"
#include "QYPreferenceWindowController.h"
#include "QYShortcutRecorder.h"
#include "ScriptedPresenter.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

class PreferenceWindowTest : public testing::Test {
protected:
    PreferenceWindowTest() {
        window.setFolderOpener([this](const QUrl& url) { openedUrls.append(url); });
        for (QYShortcutRecorder* field : window.findChildren<QYShortcutRecorder*>())
            field->setBeeper([this] { ++beeps; });
    }

    QString storePath() const { return directory.filePath(QStringLiteral("preferences.json")); }
    QYShortcutRecorder* recorder(const QString& action) const {
        return window.findChild<QYShortcutRecorder*>(action);
    }
    void click(const QString& buttonName) {
        window.findChild<QAbstractButton*>(buttonName)->click();
    }
    void press(const QString& action, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(recorder(action), key, modifiers);
    }
    QStringList alertTexts() const {
        QStringList texts;
        for (const AlertRequest& alert : presenter.alerts)
            texts << alert.text << alert.informativeText;
        return texts;
    }

    QTemporaryDir directory;
    QYSetting setting{storePath()};
    ScriptedPresenter presenter;
    QYPreferenceWindowController window{setting, presenter};
    QList<QUrl> openedUrls;
    int beeps = 0;
};

// The stored value behind a numeric field, as the store on disk holds it.
int savedValue(const QString& storePath, const QString& property) {
    const QYSetting saved(storePath);
    const QMap<QString, int> values{
        {"timecodeAdjustmentPerArrowKey", saved.timecodeAdjustmentPerArrowKey},
        {"frameIntervalInSpaceMode3", saved.frameIntervalInSpaceMode3},
        {"autoSaveTimeInteval", saved.autoSaveTimeInteval()}};
    return values.value(property);
}

TEST_F(PreferenceWindowTest, NumericFieldsKeepOnlyWholeNumbersInRange) {
    // Defaults: arrow key 5, mode 3 interval 0, autosave 5 minutes.
    const struct {
        const char* name;
        QString property;
        QStringList pastes;
        int expected;
    } rows[] = {
        {"arrow key 1000 accepted", "timecodeAdjustmentPerArrowKey", {"1000"}, 1000},
        {"arrow key over 1000 reverts", "timecodeAdjustmentPerArrowKey", {"1001"}, 5},
        {"arrow key 0 reverts", "timecodeAdjustmentPerArrowKey", {"0"}, 5},
        {"fraction restores last good", "timecodeAdjustmentPerArrowKey", {"7", "2.5"}, 7},
        {"mode 3 interval 0 accepted", "frameIntervalInSpaceMode3", {"12", "0"}, 0},
        {"mode 3 interval 31 reverts", "frameIntervalInSpaceMode3", {"12", "31"}, 12},
        {"autosave takes any whole number", "autoSaveTimeInteval", {"-3"}, -3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString rowStore = directory.filePath(QString::fromUtf8(row.name));
        QYSetting rowSetting(rowStore);
        QYPreferenceWindowController rowWindow(rowSetting, presenter);
        auto* field = rowWindow.findChild<QLineEdit*>(row.property);
        for (const QString& text : row.pastes) {
            field->selectAll(); // replaced in one change, as a paste does
            field->insert(text);
        }
        EXPECT_EQ(field->text(), QString::number(row.expected));
        EXPECT_EQ(savedValue(rowStore, row.property), row.expected);
    }
}

TEST_F(PreferenceWindowTest, TakenCombinationsAreRefusedMenuFirst) {
    press(kInsertTimeCodeAction, Qt::Key_K, Qt::ControlModifier);
    window.setMenuKeyEquivalents({{"⌘S", "Save"}, {"⌘K", "Open Movie"}});
    press(kPlayAction, Qt::Key_S, Qt::ControlModifier);
    press(kInsertTimeCodeAction, Qt::Key_K, Qt::ControlModifier);
    // Each refusal names what holds the combination.
    const QStringList texts = alertTexts();
    ASSERT_EQ(texts.size(), 6);
    EXPECT_TRUE(texts[1].endsWith("⌘K has been used for Play"));
    EXPECT_TRUE(texts[3].endsWith("menu item ‘Save’."));
    EXPECT_TRUE(texts[5].endsWith("menu item ‘Open Movie’."));
    EXPECT_EQ(setting.playVideoShortCut, "⌘K");
    EXPECT_EQ(recorder(kInsertTimeCodeAction)->text(), "⌘,");
}

TEST_F(PreferenceWindowTest, ABareKeyIsRefusedForActionsButTakenForModesUntilRestored) {
    press(kPlayAction, Qt::Key_P);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(recorder(kPlayAction)->text(), "⌘K");
    // Neither a lone modifier nor the field's own combination is refused.
    press(kMode2Action, Qt::Key_Control, Qt::ControlModifier);
    press(kPlayAction, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(setting.mode2ShourtCut, "2");

    press(kMode1Action, Qt::Key_P);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(QYSetting(storePath()).mode1ShourtCut, "P");

    click("restoreDefault");
    EXPECT_EQ(QYSetting(storePath()).mode1ShourtCut, "Space");
}

TEST_F(PreferenceWindowTest, RecordingKeepsPlainTabForFocusAndWindowShortcutsQuiet) {
    QAction action(&window);
    action.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    window.addAction(&action);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&triggered] { ++triggered; });
    window.show();
    recorder(kPlayAction)->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    press(kPlayAction, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(setting.playVideoShortCut, "⌘P");

    // Mode 1 records bare keys, yet a plain Tab still moves on.
    recorder(kMode1Action)->setFocus();
    press(kMode1Action, Qt::Key_Tab);
    EXPECT_EQ(setting.mode1ShourtCut, "Space");
    EXPECT_FALSE(recorder(kMode1Action)->hasFocus());
}

TEST_F(PreferenceWindowTest, ChangingTheToolbarIsAnnounced) {
    int posts = 0;
    QYNotificationCenter::sharedInstance().addObserver(
        this, kToolbarButtonPreferenceChangedNotification, [&posts](const auto&) { ++posts; });
    auto* group = window.findChild<QButtonGroup*>("isFinalCutPro7ToolBar");
    group->button(1)->click();
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(QYSetting(storePath()).isFinalCutPro7ToolBar);
    QYNotificationCenter::sharedInstance().removeObserver(this);
}

TEST_F(PreferenceWindowTest, TheAutosaveFolderIsMadeOpenedAndChosen) {
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", directory.path().toUtf8());
    click("openAutoSaveFolder");
    qputenv("HOME", home);
    const QString folder = directory.filePath("Documents/Quillery");
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(openedUrls, QList<QUrl>({QUrl::fromLocalFile(folder)}));

    const QString chosen = directory.filePath("Autosaves");
    presenter.directoryAnswers.append(chosen);
    click("changeAutoSaveDirectory");
    EXPECT_EQ(QYSetting(storePath()).autoSaveDirectory, chosen);
}

TEST(MenuKeyEquivalentsTest, EverySingleCombinationOfEveryMenuIsListed) {
    QMenu file("&File");
    file.addAction("&Save")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file.addAction("No Shortcut");
    file.addAction("Chord")->setShortcut(QKeySequence(QStringLiteral("Ctrl+X, C")));
    QMenu* exportMenu = file.addMenu("Export");
    exportMenu->addAction("Save && Close")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    const QList<MenuKeyEquivalent> found = menuKeyEquivalents({file.menuAction()});
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(QStringList({found[0].shortCut, found[0].title}), QStringList({"⌘S", "Save"}));
    EXPECT_EQ(QStringList({found[1].shortCut, found[1].title}),
              QStringList({"⇧⌘W", "Save & Close"}));
}

} // namespace
