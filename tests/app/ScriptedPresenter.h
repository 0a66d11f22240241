// A message presenter for tests: it records every question and answers from queues the
// test fills beforehand (the first button, or cancel, when a queue runs dry).
#pragma once

#include "QYMessagePresenter.h"

#include <QList>
#include <QQueue>

namespace quillery::test {

class ScriptedPresenter : public QYMessagePresenter {
public:
    int runAlert(const AlertRequest& request) override {
        alerts.append(request);
        return alertAnswers.isEmpty() ? 0 : alertAnswers.dequeue();
    }
    QString chooseFileToOpen(const FileRequest& request) override {
        openRequests.append(request);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString chooseFileToSave(const FileRequest& request) override {
        saveRequests.append(request);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    QString chooseDirectory(const FileRequest& request) override {
        directoryRequests.append(request);
        return directoryAnswers.isEmpty() ? QString() : directoryAnswers.dequeue();
    }

    int chooseItem(const ChoiceRequest& request) override {
        choiceRequests.append(request);
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.dequeue();
    }

    QStringList alertTexts() const {
        QStringList texts;
        for (const AlertRequest& alert : alerts)
            texts << alert.text;
        return texts;
    }

    QQueue<int> alertAnswers;
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<QString> directoryAnswers;
    QQueue<int> choiceAnswers;
    QList<AlertRequest> alerts;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QList<FileRequest> directoryRequests;
    QList<ChoiceRequest> choiceRequests;
};

} // namespace quillery::test
