#include "FCP7EndpointFixture.h"
#include "FpsGuard.h"
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "ScriptedPresenter.h"
#include "SubtitleTextView.h"

#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>

using namespace quillery;
using namespace quillery::test;

namespace {

const TestSequence kEpisode{"Episode 1", "UUID-E1", {"Hello", "Bye"}};
// kEpisode's items at 25 frames per second: frames 0 to 50 and 75 to 125.
const QString kEpisodeScript = "[00:00:00.00]Hello[00:00:02.00]\n[00:00:03.00]Bye[00:00:05.00]\n";

class MainWindowBridgeTest : public testing::Test {
protected:
    void SetUp() override {
        writeProject(QDir(dir.path()), "Project.xml", {kEpisode});
        settings = std::make_unique<QYSetting>(dir.filePath("settings.json"));
        settings->isFinalCutPro7ToolBar = true;
        window = std::make_unique<QYMainWindowController>(&presenter, settings.get());
        window->initToolBarItems();
        window->show();
        presenter.alerts.clear();
    }

    QAction* action(const QList<QAction*>& actions, const QString& text) const {
        for (QAction* candidate : actions) {
            if (candidate->text() == text)
                return candidate;
        }
        return nullptr;
    }
    QMenu* finalCutPro7Menu() const {
        QAction* menu = action(window->menuBar()->actions(), "Final Cut Pro 7");
        return menu ? menu->menu() : nullptr;
    }
    QString editorText() const { return window->textView()->toPlainText(); }

    FpsGuard guard{30};
    QTemporaryDir dir;
    EndpointProcess endpoint;
    ScriptedPresenter presenter;
    std::unique_ptr<QYSetting> settings;
    std::unique_ptr<QYMainWindowController> window;
};

TEST_F(MainWindowBridgeTest, TheFinalCutPro7MenuOpensWithTheBridgesCommands) {
    QMenu* menu = finalCutPro7Menu();
    ASSERT_TRUE(menu);
    QStringList titles;
    for (const QAction* item : menu->actions())
        titles << item->text();
    EXPECT_EQ(titles.mid(0, 3),
              QStringList({"Get FCP Sequence", "Send to FCP", "Change Font Settings"}));
    EXPECT_TRUE(action(window->toolBar()->actions(), "5.Send to FCP7")->isEnabled());
}

TEST_F(MainWindowBridgeTest, GetFCPSequenceFromTheMenuAndTheToolbarFillsTheEditor) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "Episode 1"}));
    const QList<QAction*> triggers = {action(finalCutPro7Menu()->actions(), "Get FCP Sequence"),
                                      action(window->toolBar()->actions(), "1.Get FCP7 Sequence")};
    for (QAction* trigger : triggers) {
        ASSERT_TRUE(trigger);
        window->replaceTextInTextView(QString());
        trigger->trigger();
        EXPECT_EQ(editorText(), kEpisodeScript);
        EXPECT_EQ(QYTimeUtility::sharedInstance().getFPS(), 25.0) << "the sequence's rate";
        EXPECT_TRUE(presenter.alerts.isEmpty());
    }
}

TEST_F(MainWindowBridgeTest, SendToFCPWritesTheEditedSequenceBack) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "Episode 1"}));
    window->setClock([] { return QDateTime(QDate(2024, 5, 1), QTime(10, 0, 0)); });
    action(finalCutPro7Menu()->actions(), "Get FCP Sequence")->trigger();
    window->replaceTextInTextView("[00:00:01.00]Edited[00:00:02.00]\n");
    action(window->toolBar()->actions(), "5.Send to FCP7")->trigger();

    const QString name = "Episode 1 from Quillery at 2024-05-01 10-00-00";
    EXPECT_EQ(presenter.alertTexts(),
              QStringList{"Sequence \"" + name +
                          "\" has been sent successfully. Please find it in the Final Cut Pro "
                          "browser and double click to open it."});
    QFile sent(dir.filePath(name + ".xml"));
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(sent.readAll());
    EXPECT_TRUE(xml.contains("<value>Edited</value>")) << xml.left(400).toStdString();
    EXPECT_FALSE(xml.contains("<value>Hello</value>"));
}

TEST_F(MainWindowBridgeTest, ChangeFontSettingsReplacesTheTextAndSendsAtOnce) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "Episode 1"}));
    window->replaceTextInTextView("[00:00:01.00]Old work[00:00:02.00]");
    presenter.alertAnswers << 1; // Continue
    action(finalCutPro7Menu()->actions(), "Change Font Settings")->trigger();
    EXPECT_EQ(editorText(), kEpisodeScript);
    ASSERT_EQ(presenter.alerts.size(), 2) << "the question, then the success message only";
    EXPECT_TRUE(presenter.alerts[1].text.startsWith("Sequence \"Episode 1 from Quillery at "));
    EXPECT_FALSE(window->fcp7Bridge().batching());
}

TEST_F(MainWindowBridgeTest, WithoutFinalCutProTheEditorKeepsItsText) {
    window->replaceTextInTextView("keep me");
    presenter.alertAnswers << 1; // Continue: the text may be replaced
    action(finalCutPro7Menu()->actions(), "Get FCP Sequence")->trigger();
    ASSERT_EQ(presenter.alerts.size(), 2);
    EXPECT_TRUE(presenter.alerts[1].text.contains("Please confirm the Final Cut Pro is launched"));
    EXPECT_EQ(editorText(), "keep me");
}

} // namespace
