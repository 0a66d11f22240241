// A message presenter for tests: it records every question and answers from lists the
// test fills beforehand (the first button, or cancel, when a list runs dry).
#pragma once

#include "QYMessagePresenter.h"

#include <QList>

namespace quillery::test {

class ScriptedPresenter : public QYMessagePresenter {
public:
    int runAlert(const AlertRequest& request) override {
        return answer(alerts, request, alertAnswers, 0);
    }
    QString chooseFileToOpen(const FileRequest& request) override {
        return answer(openRequests, request, openAnswers, QString());
    }
    QString chooseFileToSave(const FileRequest& request) override {
        return answer(saveRequests, request, saveAnswers, QString());
    }
    QString chooseDirectory(const FileRequest& request) override {
        return answer(directoryRequests, request, directoryAnswers, QString());
    }
    int chooseItem(const ChoiceRequest& request) override {
        return answer(choiceRequests, request, choiceAnswers, -1);
    }

    QStringList alertTexts() const {
        QStringList texts;
        for (const AlertRequest& alert : alerts)
            texts << alert.text;
        return texts;
    }

    QList<int> alertAnswers;
    QList<QString> openAnswers;
    QList<QString> saveAnswers;
    QList<QString> directoryAnswers;
    QList<int> choiceAnswers;
    QList<AlertRequest> alerts;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QList<FileRequest> directoryRequests;
    QList<ChoiceRequest> choiceRequests;

private:
    template <typename Request, typename Answer>
    static Answer answer(QList<Request>& requests, const Request& request, QList<Answer>& answers,
                         const Answer& whenDry) {
        requests.append(request);
        return answers.isEmpty() ? whenDry : answers.takeFirst();
    }
};

} // namespace quillery::test
