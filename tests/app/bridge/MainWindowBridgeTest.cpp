#include "FCP7EndpointFixture.h"
#include "MainWindowFixture.h"

#include <QMenuBar>
#include <QToolBar>

using namespace quillery;
using namespace quillery::test;

namespace {

const TestSequence kEpisode{"Episode 1", "UUID-E1", {"Hello", "Bye"}};
// kEpisode's items at 25 frames per second: frames 0 to 50 and 75 to 125.
const QString kEpisodeScript = "[00:00:00.00]Hello[00:00:02.00]\n[00:00:03.00]Bye[00:00:05.00]\n";

class MainWindowBridgeTest : public MainWindowFixture {
protected:
    void SetUp() override {
        writeProject(QDir(dir.path()), "Project.xml", {kEpisode});
        settings.isFinalCutPro7ToolBar = true;
        MainWindowFixture::SetUp();
        window->initToolBarItems();
        QYTimeUtility::sharedInstance().setFPS(30); // until a sequence sets its own
    }

    static QAction* action(const QList<QAction*>& actions, const QString& text) {
        for (QAction* candidate : actions) {
            if (candidate->text() == text)
                return candidate;
        }
        ADD_FAILURE() << "no action " << text.toStdString();
        return nullptr;
    }
    QAction* menuItem(const QString& text) const {
        return action(action(window->menuBar()->actions(), "Final Cut Pro 7")->menu()->actions(),
                      text);
    }
    QAction* toolbarItem(const QString& text) const {
        return action(window->toolBar()->actions(), text);
    }

    EndpointProcess endpoint;
};

// Each command from the menu and the toolbar: fetch, the font batch, then edit and send back.
TEST_F(MainWindowBridgeTest, TheFinalCutPro7CommandsFetchAndSendThroughTheWindow) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "Episode 1"}));
    window->setClock([] { return QDateTime(QDate(2024, 5, 1), QTime(10, 0, 0)); });
    for (QAction* trigger : {menuItem("Get FCP Sequence"), toolbarItem("1.Get FCP7 Sequence")}) {
        window->replaceTextInTextView(QString());
        trigger->trigger();
        EXPECT_EQ(editorText(), kEpisodeScript);
        EXPECT_EQ(QYTimeUtility::sharedInstance().getFPS(), 25.0) << "the sequence's rate";
    }
    const QString name = "Episode 1 from Quillery at 2024-05-01 10-00-00";
    const QString sent = "Sequence \"" + name +
                         "\" has been sent successfully. Please find it in "
                         "the Final Cut Pro browser and double click to open it.";
    window->replaceTextInTextView("[00:00:01.00]Old work[00:00:02.00]");
    presenter.alerts.clear();
    presenter.alertAnswers << 1; // Continue
    menuItem("Change Font Settings")->trigger();
    EXPECT_EQ(editorText(), kEpisodeScript);
    EXPECT_EQ(presenter.alertTexts().mid(1), QStringList{sent}) << "the success message only";

    QFile::remove(dir.filePath(name + ".xml")); // the batch sent it; another send would be numbered
    window->replaceTextInTextView("[00:00:01.00]Edited[00:00:02.00]\n");
    presenter.alerts.clear();
    menuItem("Send to FCP")->trigger();
    toolbarItem("5.Send to FCP7")->trigger();
    EXPECT_EQ(presenter.alertTexts(), QStringList({sent, sent}));
    const QString xml = readText(name + ".xml");
    EXPECT_TRUE(xml.contains("<value>Edited</value>")) << xml.left(400).toStdString();
    EXPECT_FALSE(xml.contains("<value>Hello</value>"));
}

} // namespace
