#include "QYChangeTitleTemplateFontWindowController.h"

#include "Localization.h"
#include "QYExporter.h"
#include "QYMessagePresenter.h"
#include "QYSetting.h"
#include "SystemUtility.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillery {

namespace {

QString expandedHome(const QString& path) {
    if (path == "~" || path.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

QYChangeTitleTemplateFontWindowController::QYChangeTitleTemplateFontWindowController(
    QYChangeTitleTemplateFontDelegate& delegate, QYMessagePresenter& presenter, QYSetting& settings,
    QWidget* parent)
    : QDialog(parent), delegate_(delegate), presenter_(presenter), settings_(settings),
      xmlPathField_(new QLineEdit(this)), templateList_(new QListWidget(this)),
      saveButton_(new QPushButton(localized("Save"), this)) {
    setWindowTitle(localized("Change FinalCutProX Title Template"));
    auto* choose = new QPushButton(localized("Choose"), this);
    auto* cancel = new QPushButton(localized("Cancel"), this);
    xmlPathField_->setReadOnly(true);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(xmlPathField_, 1);
    pathRow->addWidget(choose);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(saveButton_, QDialogButtonBox::AcceptRole);
    saveButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        localized("1. Please choose the XML file you want to change its title template"), this));
    layout->addLayout(pathRow);
    layout->addWidget(new QLabel(
        localized("2. Please choose your title template from your Title Library"), this));
    layout->addWidget(templateList_, 1);
    layout->addWidget(buttons);
    resize(520, 420);

    connect(choose, &QPushButton::clicked, this,
            &QYChangeTitleTemplateFontWindowController::chooseTitleTemplate);
    connect(saveButton_, &QPushButton::clicked, this,
            &QYChangeTitleTemplateFontWindowController::FCPXChangeFontSave);
    connect(cancel, &QPushButton::clicked, this,
            &QYChangeTitleTemplateFontWindowController::FCPXChangeFontCancel);
    connect(templateList_, &QListWidget::currentRowChanged, this,
            &QYChangeTitleTemplateFontWindowController::updateSaveButton);
    updateSaveButton();
}

void QYChangeTitleTemplateFontWindowController::setCustomTitleTemplateArray(
    const QStringList& titles) {
    customTitleTemplateArray_ = titles;
    templateList_->clear();
    for (const QString& title : titles)
        templateList_->addItem(QFileInfo(title).completeBaseName());
    templateList_->setCurrentRow(titles.isEmpty() ? -1 : 0);
    updateSaveButton();
}

// Saving needs both a project and a library title.
void QYChangeTitleTemplateFontWindowController::updateSaveButton() {
    saveButton_->setEnabled(!xmlPathField_->text().isEmpty() && templateList_->currentRow() >= 0);
}

void QYChangeTitleTemplateFontWindowController::chooseTitleTemplate() {
    FileRequest request;
    request.directory = expandedHome(settings_.lastTitleTemplateDirectory);
    const QString path = presenter_.chooseFileToOpen(request);
    if (path.isEmpty())
        return;
    xmlPathField_->setText(path);
    settings_.lastTitleTemplateDirectory = path;
    settings_.save();
    updateSaveButton();
}

void QYChangeTitleTemplateFontWindowController::FCPXChangeFontSave() {
    const int row = templateList_->currentRow();
    const QString xmlPath = xmlPathField_->text();
    if (row < 0 || xmlPath.isEmpty())
        return;
    FileRequest request;
    request.proposedName =
        QFileInfo(xmlPath).completeBaseName() +
        QStringLiteral("_by_%1.fcpxml").arg(SystemUtility::sharedInstance().getBundleName());
    request.allowedTypes = {QStringLiteral("fcpxml")};
    const QString chosen = presenter_.chooseFileToSave(request);
    if (chosen.isEmpty())
        return;
    delegate_.changeTitleTemplateOfProject(xmlPath, customTitleTemplateArray_.at(row),
                                           pathWithExtension(chosen, QStringLiteral("fcpxml")));
    accept();
}

void QYChangeTitleTemplateFontWindowController::FCPXChangeFontCancel() {
    reject();
}

} // namespace quillery
