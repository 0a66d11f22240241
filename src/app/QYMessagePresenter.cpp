#include "QYMessagePresenter.h"

#include "Localization.h"

namespace quillery {

void showWarningMessage(QYMessagePresenter& presenter, const QString& text) {
    presenter.runAlert({localized("Warning"), text, QString(), {localized("Confrim")}});
}

void showErrorMessage(QYMessagePresenter& presenter, const QString& description) {
    presenter.runAlert({localized("Error"), description, QString(), {localized("OK")}});
}

bool askToContinue(QYMessagePresenter& presenter, const QString& text) {
    const int continueButton = 1;
    return presenter.runAlert({localized("Warning"),
                               text,
                               QString(),
                               {localized("Cancel"), localized("Continue")},
                               0}) == continueButton;
}

} // namespace quillery
