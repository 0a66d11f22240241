#include "QYProjectFile.h"
#include "QYProjectHost.h"
#include "QYProjectSession.h"
#include "QYSetting.h"
#include "ScriptedPresenter.h"
#include "SystemUtility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace quillery {
namespace {

struct FCP7Request {
    QString xml;
    bool needComposition;
    bool onlyAudio;
    QString mainTrack;
    QString secondTrack;
};

// Stands in for the main window: holds what would be saved and records what is asked of it.
class FakeHost : public QYProjectHost {
public:
    QString scriptText() const override { return text; }
    void replaceTextInTextView(const QString& newText) override { text = newText; }
    QString fcp7XMLString() const override { return fcp7Xml; }
    QString fcp7MovieMainTrackXMLString() const override { return mainTrack; }
    QString fcp7MovieSecondTrackXMLString() const override { return secondTrack; }
    QString fcpxXMLString() const override { return fcpxXml; }
    QString movieFilePath() const override { return moviePath; }
    bool projectNeedComposition() const override { return needComposition; }
    bool projectOnlyAssembleAudio() const override { return onlyAudio; }
    bool openFCP7Project(const QString& xml, bool compose, bool audio, const QString& main,
                         const QString& second) override {
        fcp7Requests.append({xml, compose, audio, main, second});
        return true;
    }
    bool openFCPXProject(const QString& xml, bool, bool) override {
        fcpxRequests.append(xml);
        return true;
    }
    void openMovie(const QString& path) override { openedMovies.append(path); }
    void setDuration() override { ++durationUpdates; }
    void clean() override { ++cleanings; }
    void terminate() override { ++terminations; }

    QString text;
    QString fcp7Xml;
    QString mainTrack;
    QString secondTrack;
    QString fcpxXml;
    QString moviePath;
    bool needComposition = false;
    bool onlyAudio = false;

    QList<FCP7Request> fcp7Requests;
    QStringList fcpxRequests;
    QStringList openedMovies;
    int durationUpdates = 0;
    int cleanings = 0;
    int terminations = 0;
};

QString titleFor(const QString& name) {
    const SystemUtility& system = SystemUtility::sharedInstance();
    return name + " - " + system.getBundleName() + " " + system.getAppVersion();
}

class ProjectSessionTest : public testing::Test {
protected:
    ProjectSessionTest() { restartSession(); }

    // The session's state is loaded from the store, as at start-up.
    void restartSession() {
        session = std::make_unique<QYProjectSession>(host, presenter, settings);
        session->setAutoSaveFolder(autoSaveFolder());
    }

    QString autoSaveFolder() const { return dir.filePath("Documents/Quillery"); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // A project file holding only the given text.
    QString writeProject(const QString& name, const QString& text = QString()) {
        QYProjectFile file;
        file.subtitleText = text;
        file.writeToUrl(path(name));
        return path(name);
    }

    void makeUnsaved(const QString& text) {
        host.text = text;
        session->markUnsaved();
    }

    QTemporaryDir dir;
    QYSetting settings{dir.filePath("preferences.json")};
    FakeHost host;
    test::ScriptedPresenter presenter;
    std::unique_ptr<QYProjectSession> session;
};

TEST_F(ProjectSessionTest, SavesAndReopensEverythingTheWindowHolds) {
    const QString movie = path("clip.mov");
    QFile(movie).open(QIODevice::WriteOnly);
    host.fcp7Xml = "<xmeml><sequence/></xmeml>";
    host.mainTrack = "<track>main</track>";
    host.secondTrack = "<track>second</track>";
    host.fcpxXml = "<fcpxml/>";
    host.moviePath = movie;
    host.needComposition = true;
    host.onlyAudio = true;
    makeUnsaved("[00:00:01.05]Hello⏎there[00:00:03.00]");
    presenter.saveAnswers.enqueue(path("Film"));

    session->saveQuilleryDoc();
    const QString project = path("Film.qyb");
    EXPECT_TRUE(session->isSaved());
    EXPECT_EQ(session->projectPath(), project);

    FakeHost reopened;
    QYProjectSession other(reopened, presenter, settings);
    other.openQuilleryDocAtFile(project);
    EXPECT_EQ(reopened.text, host.text);
    ASSERT_EQ(reopened.fcp7Requests.size(), 1);
    EXPECT_EQ(reopened.fcp7Requests[0].xml, host.fcp7Xml);
    EXPECT_TRUE(reopened.fcp7Requests[0].needComposition);
    EXPECT_TRUE(reopened.fcp7Requests[0].onlyAudio);
    EXPECT_EQ(reopened.fcp7Requests[0].mainTrack, host.mainTrack);
    EXPECT_EQ(reopened.fcp7Requests[0].secondTrack, host.secondTrack);
    EXPECT_EQ(reopened.fcpxRequests, QStringList{host.fcpxXml});
    EXPECT_EQ(reopened.openedMovies, QStringList{movie});
    EXPECT_EQ(reopened.durationUpdates, 1);
    // Replacing the editor text counts as a change.
    EXPECT_FALSE(other.isSaved());
}

TEST_F(ProjectSessionTest, AFileThatIsNotAProjectEmptiesTheEditor) {
    QFile file(path("Broken.qyb"));
    file.open(QIODevice::WriteOnly);
    file.write("[00:00:01.00]not a property list[00:00:02.00]");
    file.close();
    host.text = "old text";
    session->openQuilleryDocAtFile(path("Broken.qyb"));
    EXPECT_EQ(host.text, QString());
    EXPECT_TRUE(host.fcp7Requests.isEmpty());
    EXPECT_TRUE(host.fcpxRequests.isEmpty());
    EXPECT_TRUE(host.openedMovies.isEmpty());
    EXPECT_EQ(host.durationUpdates, 0);
    EXPECT_TRUE(presenter.alerts.isEmpty());
}

struct MovieCase {
    const char* name;
    bool movieAtRecordedPath;
    bool movieNextToProject;
    bool expectRecordedPath;
};

class ProjectMovieLookup : public ProjectSessionTest,
                           public testing::WithParamInterface<MovieCase> {};

// The record names a movie in "old/"; the project now lives in "moved/".
TEST_P(ProjectMovieLookup, FindsTheMovieByName) {
    QDir(dir.path()).mkpath("old");
    QDir(dir.path()).mkpath("moved");
    const QString recorded = path("old/clip.mov");
    const QString nextToProject = path("moved/clip.mov");
    if (GetParam().movieAtRecordedPath)
        QFile(recorded).open(QIODevice::WriteOnly);
    if (GetParam().movieNextToProject)
        QFile(nextToProject).open(QIODevice::WriteOnly);
    QYProjectFile file;
    file.moviePath = recorded;
    file.writeToUrl(path("moved/p.qyb"));

    session->openQuilleryDocAtFile(path("moved/p.qyb"));
    EXPECT_EQ(host.openedMovies,
              QStringList{GetParam().expectRecordedPath ? recorded : nextToProject});
}

INSTANTIATE_TEST_SUITE_P(
    Movies, ProjectMovieLookup,
    testing::Values(MovieCase{"StillInPlace", true, true, true},
                    MovieCase{"MovedWithTheProject", false, true, false},
                    // The player reports the failure for the path next to the project.
                    MovieCase{"GoneEverywhere", false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectSessionTest, SaveOfAnAutoSaveProjectAsksForANewName) {
    session->openQuilleryDocAtFile(writeProject("AutoSave_20240102030405.qyb"));
    presenter.saveAnswers.enqueue(path("Mine.qyb"));
    session->saveQuilleryDoc();
    ASSERT_EQ(presenter.saveRequests.size(), 1);
    EXPECT_EQ(presenter.saveRequests[0].proposedName, "Quillery Project File.qyb");
    EXPECT_EQ(presenter.saveRequests[0].allowedTypes, QStringList{"qyb"});
    EXPECT_EQ(session->projectPath(), path("Mine.qyb"));
    EXPECT_TRUE(session->isSaved());
}

TEST_F(ProjectSessionTest, WindowTitleNamesTheProjectWithoutItsExtension) {
    QSignalSpy titles(session.get(), &QYProjectSession::windowTitleChanged);
    session->setWindowTitle();
    EXPECT_EQ(session->windowTitle(), titleFor("Untitle"));
    session->openQuilleryDocAtFile(writeProject("My Film.qyb"));
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[1][0].toString(), titleFor("My Film"));
}

TEST_F(ProjectSessionTest, RecentProjectsKeepTheNewestLastAndShowItFirst) {
    QSignalSpy menus(session.get(), &QYProjectSession::recentProjectMenuChanged);
    const QString a = writeProject("A.qyb");
    const QString b = writeProject("B.qyb");
    const QString c = writeProject("C.qyb");
    for (const QString& project : {a, b, c, a})
        session->openQuilleryDocAtFile(project);
    EXPECT_EQ(session->recentFiles(), (QStringList{b, c, a}));
    EXPECT_EQ(menus.last()[0].toStringList(), (QStringList{"A.qyb", "C.qyb", "B.qyb"}));

    restartSession();
    EXPECT_EQ(session->recentFiles(), (QStringList{b, c, a}));
    session->clearRectentProjects();
    restartSession();
    EXPECT_TRUE(session->recentFiles().isEmpty());
}

TEST_F(ProjectSessionTest, BookmarksMoveAndTrimWithTheirPaths) {
    QStringList files;
    QStringList bookmarks;
    for (int number = 1; number <= 8; ++number) {
        files.append(writeProject(QString("F%1.qyb").arg(number)));
        bookmarks.append(QString("b%1").arg(number));
    }
    settings.setObject(kRecentFilesKey, files);
    settings.setObject(kRecentFileBookmarksKey, bookmarks);
    restartSession();

    session->openQuilleryDocAtFile(files[2]);
    EXPECT_EQ(session->recentFiles(), (QStringList{files[0], files[1], files[3], files[4], files[5],
                                                   files[6], files[7], files[2]}));
    EXPECT_EQ(session->recentFilesBookmarks(),
              (QStringList{"b1", "b2", "b4", "b5", "b6", "b7", "b8"}));

    // The ninth project pushes the oldest out.
    const QString ninth = writeProject("F9.qyb");
    session->openQuilleryDocAtFile(ninth);
    EXPECT_EQ(session->recentFiles(), (QStringList{files[1], files[3], files[4], files[5], files[6],
                                                   files[7], files[2], ninth}));
    EXPECT_EQ(session->recentFilesBookmarks(), (QStringList{"b2", "b4", "b5", "b6", "b7", "b8"}));
}

TEST_F(ProjectSessionTest, NewOnASavedProjectAsksNothing) {
    makeUnsaved("text");
    session->saveQuilleryDocToFile(path("Saved.qyb"));
    session->newQuilleryDoc();
    EXPECT_TRUE(presenter.alerts.isEmpty());
    EXPECT_EQ(host.cleanings, 1);
    EXPECT_EQ(host.text, QString());
    EXPECT_EQ(session->windowTitle(), titleFor("Untitle"));
}

enum class Flow { New, OpenRecent, Quit };

struct AnswerCase {
    const char* name;
    Flow flow;
    bool hasProjectFile;
    int answer;
    const char* saveAs; // nullptr: the save panel is cancelled or not shown
    bool expectWritten;
    bool expectFinished; // a new project started, the chosen project opened or the app ended
};

AlertRequest expectedAlert(Flow flow) {
    switch (flow) {
    case Flow::New:
        return {"New Project",
                "Your Quillery project has not been saved! Are you sure to create a new one?",
                QString(),
                {"Save and New", "Return", "Don't Save and New File"}};
    case Flow::OpenRecent:
        return {"Open Project",
                "Your project has not been saved! Are you sure to open another project?",
                QString(),
                {"Save and Open", "Return", "Don't Save and Open File"}};
    case Flow::Quit:
        return {"Quit",
                "Your Quillery project has not been saved! Are you sure to quit?",
                QString(),
                {"Save", "Return", "Don't Save"}};
    }
    return {};
}

class UnsavedAnswers : public ProjectSessionTest, public testing::WithParamInterface<AnswerCase> {
protected:
    void run(Flow flow) {
        switch (flow) {
        case Flow::New:
            session->newQuilleryDoc();
            break;
        case Flow::OpenRecent:
            // Item 0 is the newest entry: the chosen project, or the own one above it.
            session->openRecentProject(GetParam().hasProjectFile ? 1 : 0);
            break;
        case Flow::Quit:
            EXPECT_FALSE(session->applicationShouldTerminate());
            break;
        }
    }

    bool finished(Flow flow) const {
        switch (flow) {
        case Flow::New:
            return host.cleanings == 1;
        case Flow::OpenRecent:
            return host.text == "chosen";
        case Flow::Quit:
            return host.terminations == 1;
        }
        return false;
    }
};

TEST_P(UnsavedAnswers, FollowTheChosenButton) {
    const AnswerCase& row = GetParam();
    const QString chosen = writeProject("Chosen.qyb", "chosen");
    const QString own = writeProject("Own.qyb");
    session->openQuilleryDocAtFile(chosen);
    if (row.hasProjectFile)
        session->openQuilleryDocAtFile(own);
    else
        session->createNewProject();
    host.cleanings = 0;
    makeUnsaved("unsaved work");
    presenter.alertAnswers.enqueue(row.answer);
    if (row.saveAs)
        presenter.saveAnswers.enqueue(path(row.saveAs));

    run(row.flow);
    ASSERT_EQ(presenter.alerts.size(), 1);
    const AlertRequest expected = expectedAlert(row.flow);
    EXPECT_EQ(presenter.alerts[0].title, expected.title);
    EXPECT_EQ(presenter.alerts[0].text, expected.text);
    EXPECT_EQ(presenter.alerts[0].buttons, expected.buttons);
    const QString written = row.hasProjectFile ? own : path("Named.qyb");
    EXPECT_EQ(QYProjectFile::initWithFilePath(written).subtitleText == "unsaved work",
              row.expectWritten);
    EXPECT_EQ(finished(row.flow), row.expectFinished);
    if (!row.expectFinished) {
        EXPECT_FALSE(session->isNewing());
        EXPECT_FALSE(session->isQuiting());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedAnswers,
    testing::Values(
        AnswerCase{"New_SaveWithFile", Flow::New, true, 0, nullptr, true, true},
        AnswerCase{"New_SaveWithoutFile", Flow::New, false, 0, "Named", true, true},
        AnswerCase{"New_SaveCancelled", Flow::New, false, 0, nullptr, false, false},
        AnswerCase{"New_Return", Flow::New, true, 1, nullptr, false, false},
        AnswerCase{"New_DontSave", Flow::New, true, 2, nullptr, false, true},
        AnswerCase{"Recent_SaveWithFile", Flow::OpenRecent, true, 0, nullptr, true, true},
        // Naming the project comes first; the chosen one waits.
        AnswerCase{"Recent_SaveWithoutFile", Flow::OpenRecent, false, 0, "Named", true, false},
        AnswerCase{"Recent_Return", Flow::OpenRecent, true, 1, nullptr, false, false},
        AnswerCase{"Recent_DontSave", Flow::OpenRecent, true, 2, nullptr, false, true},
        AnswerCase{"Quit_SaveWithFile", Flow::Quit, true, 0, nullptr, true, true},
        AnswerCase{"Quit_SaveWithoutFile", Flow::Quit, false, 0, "Named", true, true},
        AnswerCase{"Quit_SaveCancelled", Flow::Quit, false, 0, nullptr, false, false},
        AnswerCase{"Quit_Return", Flow::Quit, true, 1, nullptr, false, false},
        AnswerCase{"Quit_DontSave", Flow::Quit, true, 2, nullptr, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectSessionTest, AutoSavesKeepTheTwentyFiveNewestAndLeaveTheProjectUnsaved) {
    int tick = 0;
    session->setClock(
        [&tick] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)).addSecs(tick++); });
    makeUnsaved("work in progress");
    for (int run = 0; run < 30; ++run)
        session->autoSave();
    const QStringList left = QDir(autoSaveFolder()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(left.size(), 25);
    // The first five, stamped 03:04:05 to 03:04:09, are gone.
    EXPECT_EQ(left.first(), "AutoSave_20240102030410.qyb");
    EXPECT_EQ(left.last(), "AutoSave_20240102030434.qyb");
    EXPECT_EQ(QYProjectFile::initWithFilePath(autoSaveFolder() + "/" + left.last()).subtitleText,
              "work in progress");
    EXPECT_FALSE(session->isSaved());
}

TEST_F(ProjectSessionTest, AnAutoSaveFolderThatCannotBeMadeIsSurvived) {
    QFile blocker(path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    session->setAutoSaveFolder(path("blocker/Quillery"));
    makeUnsaved("text");
    session->autoSave();
    EXPECT_FALSE(session->isSaved());
    EXPECT_FALSE(QFileInfo::exists(path("blocker/Quillery")));
}

TEST_F(ProjectSessionTest, AutoSaveTimerFollowsTheInterval) {
    EXPECT_EQ(session->autoSaveTimer().interval(), 5 * 60 * 1000);
    settings.setAutoSaveTimeInteval(2);
    EXPECT_TRUE(session->autoSaveTimer().isActive());
    EXPECT_EQ(session->autoSaveTimer().interval(), 2 * 60 * 1000);
    settings.setAutoSaveTimeInteval(0);
    EXPECT_FALSE(session->autoSaveTimer().isActive());
    settings.setAutoSaveTimeInteval(-3);
    EXPECT_FALSE(session->autoSaveTimer().isActive());
}

} // namespace
} // namespace quillery
