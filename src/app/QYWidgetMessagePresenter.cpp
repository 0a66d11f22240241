#include "QYWidgetMessagePresenter.h"

#include "Localization.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillery {

namespace {

QString nameFilter(const QStringList& types) {
    if (types.isEmpty())
        return QString();
    QStringList patterns;
    for (const QString& type : types)
        patterns << QStringLiteral("*.") + type;
    return patterns.join(u' ');
}

} // namespace

int QYWidgetMessagePresenter::runAlert(const AlertRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setInformativeText(request.informativeText);
    box.setIcon(request.buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Warning);
    QList<QAbstractButton*> buttons;
    for (const QString& title : request.buttons)
        buttons << box.addButton(title, QMessageBox::ActionRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
        box.setEscapeButton(buttons.value(request.escapeButton, buttons.front()));
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return static_cast<int>(chosen >= 0 ? chosen : request.escapeButton);
}

QString QYWidgetMessagePresenter::chooseFileToOpen(const FileRequest& request) {
    return QFileDialog::getOpenFileName(parent_, request.title, request.directory,
                                        nameFilter(request.allowedTypes));
}

QString QYWidgetMessagePresenter::chooseFileToSave(const FileRequest& request) {
    const QString start = request.directory.isEmpty()
                              ? request.proposedName
                              : request.directory + u'/' + request.proposedName;
    return QFileDialog::getSaveFileName(parent_, request.title, start,
                                        nameFilter(request.allowedTypes));
}

QString QYWidgetMessagePresenter::chooseDirectory(const FileRequest& request) {
    return QFileDialog::getExistingDirectory(parent_, request.title, request.directory);
}

// The title above the list; Return or a double click chooses, Escape cancels.
int QYWidgetMessagePresenter::chooseItem(const ChoiceRequest& request) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(request.title));
    auto* list = new QListWidget;
    list->addItems(request.items);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(localized("Cancel"), QDialogButtonBox::RejectRole);
    buttons->addButton(localized("Choose"), QDialogButtonBox::AcceptRole)->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    list->setFocus();
    dialog.resize(420, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return list->currentRow();
}

} // namespace quillery
