// The message presenter of the running application: panels are QMessageBoxes, file
// choosers QFileDialogs and lists a small list dialog, all modal over the main window.
#pragma once

#include "QYMessagePresenter.h"

class QWidget;

namespace quillery {

class QYWidgetMessagePresenter : public QYMessagePresenter {
public:
    explicit QYWidgetMessagePresenter(QWidget* parent) : parent_(parent) {}

    int runAlert(const AlertRequest& request) override;
    QString chooseFileToOpen(const FileRequest& request) override;
    QString chooseFileToSave(const FileRequest& request) override;
    QString chooseDirectory(const FileRequest& request) override;
    int chooseItem(const ChoiceRequest& request) override;

private:
    QWidget* parent_;
};

} // namespace quillery
