// The main window as the window tests drive it: shown, at 25 frames per second, with its
// preferences and waveform cache in a temporary folder and its messages answered by the
// scripted presenter.
#pragma once

#include "FpsGuard.h"
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillery::test {

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override { window = makeWindow(); }

    std::unique_ptr<QYMainWindowController> makeWindow() {
        auto made = std::make_unique<QYMainWindowController>(&presenter, &settings);
        made->setWaveformCache(WaveformStoreCache(dir.filePath("cache")));
        made->show();
        presenter.alerts.clear();
        return made;
    }

    QString editorText() const { return window->textView()->toPlainText(); }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        return test::writeFile(dir.filePath(name), bytes);
    }
    QString readText(const QString& name) const {
        return QString::fromUtf8(test::readFile(dir.filePath(name)));
    }

    FpsGuard fps{25};
    QTemporaryDir dir;
    ScriptedPresenter presenter;
    QYSetting settings{dir.filePath("settings.json")};
    std::unique_ptr<QYMainWindowController> window;
};

} // namespace quillery::test
