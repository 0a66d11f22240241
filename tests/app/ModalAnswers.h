// Answers the modal sheets and dialogs a command runs, from outside their event loop.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace quillery::test {

// Clicks a button of the next modal sheet or dialog once it is up (within five seconds).
inline void clickInModal(const std::function<QPushButton*(QWidget*)>& button) {
    auto* poll = new QTimer;
    auto* deadline = new QElapsedTimer;
    deadline->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, button] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && deadline->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete deadline;
        if (modal != nullptr)
            button(modal)->click();
    });
    poll->start();
}

} // namespace quillery::test
