// The preferences window: a General tab with the timing steps, autosave, Final Cut Pro
// import and toolbar choices, and a Shortcuts tab with one recorder per action of the
// shortcut table. Every accepted change is stored and saved at once; refused shortcuts are
// explained through the message presenter. Each widget's objectName is the preference
// property or the shortcut action it edits.
#pragma once

#include "QYSetting.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QUrl;

namespace quillery {

class QYMessagePresenter;
class QYShortcutRecorder;

// A menu item's key equivalent, written as a shortcut string.
struct MenuKeyEquivalent {
    QString shortCut;
    QString title;
};

// The key equivalents of these actions and of every item in their submenus, titles
// without their mnemonic marks.
QList<MenuKeyEquivalent> menuKeyEquivalents(const QList<QAction*>& actions);

class QYPreferenceWindowController : public QDialog {
    Q_OBJECT

public:
    using FolderOpener = std::function<void(const QUrl&)>;

    QYPreferenceWindowController(QYSetting& setting, QYMessagePresenter& presenter,
                                 QWidget* parent = nullptr);

    // The main menu's combinations, which no shortcut may take.
    void setMenuKeyEquivalents(QList<MenuKeyEquivalent> keyEquivalents);
    // How the autosave folder is shown in the file browser; QDesktopServices unless replaced.
    void setFolderOpener(FolderOpener opener) { folderOpener_ = std::move(opener); }
    // Shows every preference as currently stored.
    void refreshFields();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct NumericField {
        QLineEdit* edit;
        PreferenceRange range;
        std::function<int()> storedValue;
        std::function<void(int)> store;
    };
    struct ShortCutField {
        QString action;
        QYShortcutRecorder* recorder;
    };

    QWidget* createGeneralTab();
    QWidget* createNumericFields();
    QWidget* createAutoSaveFields();
    QWidget* createToolbarChoice();
    QWidget* createShortcutsTab();
    QWidget* createModeFields();
    QWidget* createActionFields();
    QLineEdit* addNumericField(const QString& property, PreferenceRange range,
                               int QYSetting::*preference);
    QLineEdit* addNumericField(const QString& property, PreferenceRange range,
                               std::function<int()> storedValue, std::function<void(int)> store);
    QYShortcutRecorder* addShortCutField(const QString& action, bool requiresModifier);

    void numericTextChanged(const NumericField& field, const QString& text);
    void chooseAutoSaveDirectory();
    void openAutoSaveFolder();
    void autoAssembleToggled(bool checked);
    void toolbarChosen(int row);
    void shortCutProposed(const ShortCutField& field, const QString& shortCut);
    void refuseShortCut(const QString& shortCut, const QString& reason);
    void restoreDefaultShortCuts();
    void refreshShortCutFields();

    QYSetting& setting_;
    QYMessagePresenter& presenter_;
    QList<MenuKeyEquivalent> menuKeyEquivalents_;
    FolderOpener folderOpener_;

    QList<NumericField> numericFields_;
    QList<ShortCutField> shortCutFields_;
    QLabel* autoSaveDirectoryLabel_ = nullptr;
    QCheckBox* autoAssembleCheckBox_ = nullptr;
    QButtonGroup* toolbarGroup_ = nullptr;
};

} // namespace quillery
