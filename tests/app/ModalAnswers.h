// Answers the modal sheets and dialogs a command runs, from outside their event loop.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace quillery::test {

// Clicks a button of the next modal sheet or dialog once it is up (looking for five seconds).
inline void clickInModal(const std::function<QPushButton*(QWidget*)>& button, int looks = 500) {
    QTimer::singleShot(10, [button, looks] {
        if (QWidget* modal = QApplication::activeModalWidget())
            button(modal)->click();
        else if (looks > 1)
            clickInModal(button, looks - 1);
    });
}

} // namespace quillery::test
