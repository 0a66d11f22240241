// Every question the application asks the user goes through this seam: message panels,
// file choosers, folder choosers and lists to choose from. The main window shows real dialogs;
// tests answer from a script, so every flow that asks runs without a person.
#pragma once

#include <QString>
#include <QStringList>

namespace quillery {

struct AlertRequest {
    QString title;
    QString text;
    QString informativeText;
    // In the order the panel offers them: the default button first, then the alternate
    // and the other button where there are such.
    QStringList buttons;
    // The answer when the panel is closed without a choice (Escape); the index of the
    // least committal button.
    int escapeButton = 0;
};

struct FileRequest {
    QString title;
    QString directory;
    QString proposedName;     // save panels only
    QStringList allowedTypes; // extensions without the dot; empty allows every file
};

// A list to pick one entry from, such as the projects or sequences of Final Cut Pro.
struct ChoiceRequest {
    QString title;
    QStringList items;
};

class QYMessagePresenter {
public:
    virtual ~QYMessagePresenter() = default;

    // The index of the chosen button in request.buttons.
    virtual int runAlert(const AlertRequest& request) = 0;
    // The chosen path, or an empty string when cancelled.
    virtual QString chooseFileToOpen(const FileRequest& request) = 0;
    virtual QString chooseFileToSave(const FileRequest& request) = 0;
    virtual QString chooseDirectory(const FileRequest& request) = 0;
    // The index of the chosen entry, or -1 when cancelled.
    virtual int chooseItem(const ChoiceRequest& request) = 0;
};

// "Warning" with the single button "Confrim".
void showWarningMessage(QYMessagePresenter& presenter, const QString& text);
// "Error" with the single button "OK".
void showErrorMessage(QYMessagePresenter& presenter, const QString& description);
// "Warning" with the buttons "Cancel" (the default) and "Continue"; true for "Continue".
bool askToContinue(QYMessagePresenter& presenter, const QString& text);

} // namespace quillery
