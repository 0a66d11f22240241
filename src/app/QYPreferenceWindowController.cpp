#include "QYPreferenceWindowController.h"

#include "FolderUtility.h"
#include "Localization.h"
#include "NotificationNames.h"
#include "QYMessagePresenter.h"
#include "QYNotificationCenter.h"
#include "QYShortcutRecorder.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace quillery {

namespace {

// "&&" stands for one ampersand; a single "&" marks the mnemonic letter.
QString withoutMnemonic(const QString& text) {
    QString title;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        title += text[i];
    }
    return title;
}

void appendKeyEquivalents(const QAction* action, QList<MenuKeyEquivalent>& keyEquivalents) {
    if (const QMenu* menu = action->menu<QMenu*>()) {
        for (const QAction* item : menu->actions())
            appendKeyEquivalents(item, keyEquivalents);
        return;
    }
    for (const QKeySequence& sequence : action->shortcuts()) {
        // Only single combinations can be typed into a recorder.
        if (sequence.count() != 1)
            continue;
        const QKeyCombination combination = sequence[0];
        const QString shortCut = shortCutString(combination.key(), combination.keyboardModifiers());
        if (!shortCut.isEmpty())
            keyEquivalents.append({shortCut, withoutMnemonic(action->text())});
    }
}

QString expandedHomePath(const QString& path) {
    if (path == u'~' || path.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

QWidget* rowOf(std::initializer_list<QWidget*> widgets) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return row;
}

} // namespace

QList<MenuKeyEquivalent> menuKeyEquivalents(const QList<QAction*>& actions) {
    QList<MenuKeyEquivalent> keyEquivalents;
    for (const QAction* action : actions)
        appendKeyEquivalents(action, keyEquivalents);
    return keyEquivalents;
}

QYPreferenceWindowController::QYPreferenceWindowController(QYSetting& setting,
                                                           QYMessagePresenter& presenter,
                                                           QWidget* parent)
    : QDialog(parent), setting_(setting), presenter_(presenter),
      folderOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(localized("Preferences"));
    auto* tabs = new QTabWidget;
    tabs->addTab(createGeneralTab(), localized("General"));
    tabs->addTab(createShortcutsTab(), localized("Shortcuts"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    refreshFields();
}

void QYPreferenceWindowController::setMenuKeyEquivalents(QList<MenuKeyEquivalent> keyEquivalents) {
    menuKeyEquivalents_ = std::move(keyEquivalents);
}

void QYPreferenceWindowController::refreshFields() {
    for (const NumericField& field : numericFields_) {
        const QSignalBlocker blocker(field.edit);
        field.edit->setText(QString::number(field.storedValue()));
    }
    autoSaveDirectoryLabel_->setText(setting_.autoSaveDirectory);
    {
        const QSignalBlocker blocker(autoAssembleCheckBox_);
        autoAssembleCheckBox_->setChecked(setting_.isAutoAssembleVideoAndAudio);
    }
    {
        const QSignalBlocker blocker(toolbarGroup_);
        toolbarGroup_->button(setting_.isFinalCutPro7ToolBar ? 1 : 0)->setChecked(true);
    }
    refreshShortCutFields();
}

void QYPreferenceWindowController::showEvent(QShowEvent* event) {
    refreshFields();
    QDialog::showEvent(event);
}

// --- General tab --------------------------------------------------------------------------

QWidget* QYPreferenceWindowController::createGeneralTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(createNumericFields());
    layout->addWidget(createAutoSaveFields());
    autoAssembleCheckBox_ = new QCheckBox(
        localized("Choose the video and audio to assemble after a Final Cut Pro XML import"));
    autoAssembleCheckBox_->setObjectName(QStringLiteral("isAutoAssembleVideoAndAudio"));
    connect(autoAssembleCheckBox_, &QCheckBox::toggled, this,
            &QYPreferenceWindowController::autoAssembleToggled);
    layout->addWidget(autoAssembleCheckBox_);
    layout->addWidget(createToolbarChoice());
    layout->addStretch();
    return tab;
}

QWidget* QYPreferenceWindowController::createNumericFields() {
    auto* box = new QGroupBox(localized("Timing"));
    auto* form = new QFormLayout(box);
    const QString framesNote = localized("Frames (Max 1000 Frames)");
    QLineEdit* arrowKeyStep =
        addNumericField(QStringLiteral("timecodeAdjustmentPerArrowKey"), kTimecodeAdjustmentRange,
                        &QYSetting::timecodeAdjustmentPerArrowKey);
    QLineEdit* forwardBackwardStep =
        addNumericField(QStringLiteral("forwardBackwardPerKey"), kForwardBackwardRange,
                        &QYSetting::forwardBackwardPerKey);
    QLineEdit* mode3Interval =
        addNumericField(QStringLiteral("frameIntervalInSpaceMode3"), kMode3FrameIntervalRange,
                        &QYSetting::frameIntervalInSpaceMode3);
    QLineEdit* autoSaveMinutes = addNumericField(
        QStringLiteral("autoSaveTimeInteval"), kAutoSaveIntervalRange,
        [this] { return setting_.autoSaveTimeInteval(); },
        [this](int minutes) { setting_.setAutoSaveTimeInteval(minutes); });
    form->addRow(localized("Timecode adjustment per arrow key:"),
                 rowOf({arrowKeyStep, new QLabel(framesNote)}));
    form->addRow(localized("Forward and backward per key:"),
                 rowOf({forwardBackwardStep, new QLabel(framesNote)}));
    form->addRow(localized("Frame interval between In and previous Out:(0-30)"), mode3Interval);
    form->addRow(localized("Autosave every:"),
                 rowOf({autoSaveMinutes, new QLabel(localized("minutes"))}));
    return box;
}

QLineEdit* QYPreferenceWindowController::addNumericField(const QString& property,
                                                         PreferenceRange range,
                                                         int QYSetting::*preference) {
    return addNumericField(
        property, range, [this, preference] { return setting_.*preference; },
        [this, preference](int value) { setting_.*preference = value; });
}

QLineEdit* QYPreferenceWindowController::addNumericField(const QString& property,
                                                         PreferenceRange range,
                                                         std::function<int()> storedValue,
                                                         std::function<void(int)> store) {
    auto* edit = new QLineEdit;
    edit->setObjectName(property);
    edit->setMaximumWidth(80);
    const NumericField field{edit, range, std::move(storedValue), std::move(store)};
    numericFields_.append(field);
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString& text) { numericTextChanged(field, text); });
    return edit;
}

QWidget* QYPreferenceWindowController::createAutoSaveFields() {
    auto* box = new QGroupBox(localized("Autosave"));
    auto* layout = new QVBoxLayout(box);
    autoSaveDirectoryLabel_ = new QLabel;
    autoSaveDirectoryLabel_->setObjectName(QStringLiteral("autoSaveDirectory"));
    autoSaveDirectoryLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* changeButton = new QPushButton(localized("Change Directory"));
    changeButton->setObjectName(QStringLiteral("changeAutoSaveDirectory"));
    changeButton->setAutoDefault(false);
    connect(changeButton, &QPushButton::clicked, this,
            &QYPreferenceWindowController::chooseAutoSaveDirectory);
    auto* openButton = new QPushButton(localized("Open Autosave Folder"));
    openButton->setObjectName(QStringLiteral("openAutoSaveFolder"));
    openButton->setAutoDefault(false);
    connect(openButton, &QPushButton::clicked, this,
            &QYPreferenceWindowController::openAutoSaveFolder);
    layout->addWidget(autoSaveDirectoryLabel_);
    layout->addWidget(rowOf({changeButton, openButton}));
    return box;
}

QWidget* QYPreferenceWindowController::createToolbarChoice() {
    auto* box = new QGroupBox(localized("Toolbar"));
    auto* layout = new QVBoxLayout(box);
    toolbarGroup_ = new QButtonGroup(this);
    toolbarGroup_->setObjectName(QStringLiteral("isFinalCutPro7ToolBar"));
    const QStringList rows{localized("Final Cut Pro X"), localized("Final Cut Pro 7")};
    for (int row = 0; row < rows.size(); ++row) {
        auto* button = new QRadioButton(rows[row]);
        toolbarGroup_->addButton(button, row);
        layout->addWidget(button);
    }
    connect(toolbarGroup_, &QButtonGroup::idToggled, this, [this](int row, bool checked) {
        if (checked)
            toolbarChosen(row);
    });
    return box;
}

void QYPreferenceWindowController::numericTextChanged(const NumericField& field,
                                                      const QString& text) {
    if (const std::optional<int> value = preferenceIntegerFromText(text, field.range)) {
        field.store(*value);
        setting_.save();
        return;
    }
    const QSignalBlocker blocker(field.edit);
    field.edit->setText(QString::number(field.storedValue()));
}

void QYPreferenceWindowController::chooseAutoSaveDirectory() {
    FileRequest request;
    request.title = localized("Change Directory");
    request.directory = expandedHomePath(setting_.autoSaveDirectory);
    const QString path = presenter_.chooseDirectory(request);
    if (path.isEmpty())
        return;
    setting_.autoSaveDirectory = path;
    setting_.save();
    autoSaveDirectoryLabel_->setText(path);
}

void QYPreferenceWindowController::openAutoSaveFolder() {
    // The folder autosaves go to, which the autoSaveDirectory preference does not move.
    folderOpener_(QUrl::fromLocalFile(FolderUtility::sharedInstance().getProjectAutoSaveFolder()));
}

void QYPreferenceWindowController::autoAssembleToggled(bool checked) {
    setting_.isAutoAssembleVideoAndAudio = checked;
    setting_.save();
}

// Row 0 is Final Cut Pro X; any other row is Final Cut Pro 7.
void QYPreferenceWindowController::toolbarChosen(int row) {
    setting_.isFinalCutPro7ToolBar = row != 0;
    setting_.save();
    QYNotificationCenter::sharedInstance().postNotificationName(
        kToolbarButtonPreferenceChangedNotification);
}

// --- Shortcuts tab ------------------------------------------------------------------------

QWidget* QYPreferenceWindowController::createShortcutsTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(createModeFields());
    layout->addWidget(createActionFields());
    auto* restoreButton = new QPushButton(localized("Restore Default"));
    restoreButton->setObjectName(QStringLiteral("restoreDefault"));
    restoreButton->setAutoDefault(false);
    connect(restoreButton, &QPushButton::clicked, this,
            &QYPreferenceWindowController::restoreDefaultShortCuts);
    layout->addWidget(rowOf({restoreButton}));
    layout->addStretch();
    return tab;
}

QWidget* QYPreferenceWindowController::createModeFields() {
    auto* box = new QGroupBox(localized("Keyboard Modes"));
    auto* grid = new QGridLayout(box);
    struct Mode {
        QString action;
        QString label;
        QString description;
    };
    const QList<Mode> modes{
        {kMode1Action, localized("Mode 1"),
         localized("Hit once, get In timecode, hit again, get Out timecode")},
        {kMode2Action, localized("Mode 2"),
         localized("Hit and hold, then release, get In and Out timecodes")},
        {kMode3Action, localized("Mode 3"),
         localized("Hit to get In timecode. Out timecode is generated automatically")},
    };
    for (int row = 0; row < modes.size(); ++row) {
        grid->addWidget(new QLabel(modes[row].label), row, 0);
        // Mode keys are pressed on their own while the movie plays.
        grid->addWidget(addShortCutField(modes[row].action, false), row, 1);
        grid->addWidget(new QLabel(modes[row].description), row, 2);
    }
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget* QYPreferenceWindowController::createActionFields() {
    auto* box = new QGroupBox(localized("Shortcuts"));
    auto* form = new QFormLayout(box);
    const QList<std::pair<QString, QString>> actions{
        {kPlayAction, localized("Play/Pause Video")},
        {kForwardAction, localized("Forward Video")},
        {kBackwardAction, localized("Backward Video")},
        {kInsertTimeCodeAction, localized("Insert Timecode")},
        {kInsertInTimeCodeAction, localized("Insert In Timecode")},
        {kInsertOutTimeCodeAction, localized("Insert Out Timecode")},
        {kDeleteTimeCodeAction, localized("Delete Timecode Only")},
    };
    for (const auto& [action, label] : actions)
        form->addRow(label, addShortCutField(action, true));
    return box;
}

QYShortcutRecorder* QYPreferenceWindowController::addShortCutField(const QString& action,
                                                                   bool requiresModifier) {
    auto* recorder = new QYShortcutRecorder;
    recorder->setObjectName(action);
    recorder->setRequiresModifier(requiresModifier);
    recorder->setMinimumWidth(120);
    const ShortCutField field{action, recorder};
    shortCutFields_.append(field);
    connect(recorder, &QYShortcutRecorder::shortCutProposed, this,
            [this, field](const QString& shortCut) { shortCutProposed(field, shortCut); });
    return recorder;
}

void QYPreferenceWindowController::shortCutProposed(const ShortCutField& field,
                                                    const QString& shortCut) {
    if (shortCut == field.recorder->text())
        return;
    for (const MenuKeyEquivalent& item : menuKeyEquivalents_) {
        if (item.shortCut == shortCut) {
            refuseShortCut(shortCut, localized("This shortcut cannot be used because it is "
                                               "already used by the menu item ‘%1’.")
                                         .arg(item.title));
            return;
        }
    }
    if (const std::optional<ShortCutError> error = setting_.hasConflictShortCut(shortCut)) {
        refuseShortCut(shortCut, error->description);
        return;
    }
    setting_.setShortCutForAction(field.action, shortCut);
    setting_.save();
    field.recorder->setText(shortCut);
    field.recorder->selectAll();
}

void QYPreferenceWindowController::refuseShortCut(const QString& shortCut, const QString& reason) {
    presenter_.runAlert({QString(),
                         localized("The key combination %1 cannot be used").arg(shortCut),
                         reason,
                         {localized("OK")}});
}

void QYPreferenceWindowController::restoreDefaultShortCuts() {
    setting_.setDefaultShortCut();
    refreshShortCutFields();
}

void QYPreferenceWindowController::refreshShortCutFields() {
    const ShortCutTable& table = setting_.getShortCutTables();
    for (const ShortCutField& field : shortCutFields_)
        field.recorder->setText(table.value(field.action));
}

} // namespace quillery
