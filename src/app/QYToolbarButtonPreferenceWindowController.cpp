#include "QYToolbarButtonPreferenceWindowController.h"

#include "Localization.h"
#include "QYSetting.h"
#include "SystemUtility.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillery {

QYToolbarButtonPreferenceWindowController::QYToolbarButtonPreferenceWindowController(
    QYSetting& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), choice_(new QButtonGroup(this)) {
    const QString name = SystemUtility::sharedInstance().getBundleName();
    setWindowTitle(name);
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(localized("%1 support both Final Cut Pro 7 and X.  Please choose "
                                          "which Final Cut Pro you use currently:")
                                    .arg(name));
    question->setWordWrap(true);
    layout->addWidget(question);
    auto* finalCutProX = new QRadioButton(QStringLiteral("Final Cut Pro X"));
    auto* finalCutPro7 = new QRadioButton(QStringLiteral("Final Cut Pro 7"));
    choice_->addButton(finalCutProX, kFinalCutProXRow);
    choice_->addButton(finalCutPro7, kFinalCutPro7Row);
    layout->addWidget(finalCutProX);
    layout->addWidget(finalCutPro7);
    (settings_.isFinalCutPro7ToolBar ? finalCutPro7 : finalCutProX)->setChecked(true);
    auto* note = new QLabel(localized("The %1 Toolbar will be changed based on your choice. You "
                                      "can change this setting in Preference.")
                                .arg(name));
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox;
    QPushButton* doneButton = buttons->addButton(localized("Done"), QDialogButtonBox::AcceptRole);
    doneButton->setDefault(true);
    connect(doneButton, &QPushButton::clicked, this,
            &QYToolbarButtonPreferenceWindowController::storeChoiceAndClose);
    layout->addWidget(buttons);
}

void QYToolbarButtonPreferenceWindowController::storeChoiceAndClose() {
    settings_.isFinalCutPro7ToolBar = choice_->checkedId() != kFinalCutProXRow;
    // Answered once: the question is not asked on later launches.
    settings_.isFirstLaunch = false;
    settings_.save();
    accept();
}

} // namespace quillery
