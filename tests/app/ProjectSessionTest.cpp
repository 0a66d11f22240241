#include "QYProjectFile.h"
#include "QYProjectHost.h"
#include "QYProjectSession.h"
#include "QYSetting.h"
#include "ScriptedPresenter.h"
#include "SystemUtility.h"
#include "TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace quillery {
namespace {

// Stands in for the main window: serves `held` as what it holds, fills it from what an opened
// project hands over, and logs the other calls.
class FakeHost : public QYProjectHost {
public:
    QString scriptText() const override { return held.subtitleText; }
    void replaceTextInTextView(const QString& text) override { held.subtitleText = text; }
    QString fcp7XMLString() const override { return held.fcp7XMLString; }
    QString fcp7MovieMainTrackXMLString() const override {
        return held.fcp7MovieMainTrackXMLString;
    }
    QString fcp7MovieSecondTrackXMLString() const override {
        return held.fcp7MovieSecondTrackXMLString;
    }
    QString fcpxXMLString() const override { return held.fcpxXMLString; }
    QString movieFilePath() const override { return held.moviePath; }
    bool projectNeedComposition() const override { return held.needComposition; }
    bool projectOnlyAssembleAudio() const override { return held.onlyAssembleAudio; }
    bool openFCP7Project(const QString& xml, bool compose, bool audio, const QString& main,
                         const QString& second) override {
        held.fcp7XMLString = xml;
        held.needComposition = compose;
        held.onlyAssembleAudio = audio;
        held.fcp7MovieMainTrackXMLString = main;
        held.fcp7MovieSecondTrackXMLString = second;
        calls.append("fcp7");
        return true;
    }
    bool openFCPXProject(const QString& xml, bool, bool) override {
        held.fcpxXMLString = xml;
        calls.append("fcpx");
        return true;
    }
    void openMovie(const QString& path) override {
        held.moviePath = path;
        calls.append("movie");
    }
    void setDuration() override { calls.append("duration"); }
    void clean() override { calls.append("clean"); }
    void terminate() override { calls.append("terminate"); }

    QYProjectFile held;
    QStringList calls;
};

auto fieldsOf(const QYProjectFile& f) {
    return std::tuple(f.fcp7XMLString, f.fcpxXMLString, f.moviePath, f.subtitleText,
                      f.needComposition, f.onlyAssembleAudio, f.fcp7MovieMainTrackXMLString,
                      f.fcp7MovieSecondTrackXMLString);
}

// The root dictionary's entries as "key=element", sorted, read apart from our own reader.
QStringList writtenKeys(const QString& path) {
    QStringList entries;
    const QRegularExpression entry("<key>(\\w+)</key>\\s*<(\\w+)");
    for (const QRegularExpressionMatch& match :
         entry.globalMatch(QString::fromUtf8(test::readFile(path))))
        entries << match.captured(1) + '=' + match.captured(2);
    entries.sort();
    return entries;
}

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

    QString writeProject(const QString& name, const QString& text = {}, const QString& movie = {}) {
        QYProjectFile file;
        file.subtitleText = text;
        file.moviePath = movie;
        file.writeToUrl(path(name));
        return path(name);
    }

    void makeUnsaved(const QString& text) {
        host.held.subtitleText = text;
        session->markUnsaved();
    }

    QTemporaryDir dir;
    QYSetting settings{dir.filePath("preferences.json")};
    FakeHost host;
    test::ScriptedPresenter presenter;
    std::unique_ptr<QYProjectSession> session;
};

TEST_F(ProjectSessionTest, SavesAndReopensEverythingTheWindowHolds) {
    // Away from the project, so finding it next to the project would not do.
    QDir(dir.path()).mkpath("media");
    const QString movie = test::writeFile(path("media/Épisode 1.mov"), {});
    host.held.fcp7XMLString = "<xmeml version=\"5\"><sequence/></xmeml>";
    host.held.fcp7MovieMainTrackXMLString = "<track><clipitem id=\"a\"/></track>";
    host.held.fcp7MovieSecondTrackXMLString = "<track>second</track>";
    host.held.fcpxXMLString = "<fcpxml/>";
    host.held.moviePath = movie;
    host.held.needComposition = true;
    host.held.onlyAssembleAudio = true;
    makeUnsaved("[00:00:01.05]Hello⏎there[00:00:03.00]\n字幕 & <b>");
    presenter.saveAnswers.append(path("My Film"));

    session->saveQuilleryDoc();
    EXPECT_EQ(
        writtenKeys(path("My Film.qyb")),
        (QStringList{"fcp7MovieMainTrackXMLString=string", "fcp7MovieSecondTrackXMLString=string",
                     "fcpxxml=string", "movie=string", "needComposition=true",
                     "onlyAssembleAudio=true", "text=string", "xml=string"}));

    FakeHost reopened;
    QYProjectSession other(reopened, presenter, settings);
    other.openQuilleryDocAtFile(path("My Film.qyb"));
    EXPECT_EQ(fieldsOf(reopened.held), fieldsOf(host.held));
    EXPECT_EQ(reopened.calls, (QStringList{"fcp7", "fcpx", "movie", "duration"}));
    // Replacing the editor text counts as a change.
    EXPECT_FALSE(other.isSaved());
    EXPECT_EQ(other.windowTitle(), titleFor("My Film"));
}

TEST_F(ProjectSessionTest, AFileThatIsNotAProjectEmptiesTheEditor) {
    host.held.subtitleText = "old text";
    session->openQuilleryDocAtFile(
        test::writeFile(path("Broken.qyb"), "[00:00:01.00]not a property list[00:00:02.00]"));
    EXPECT_EQ(host.held.subtitleText, QString());
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_TRUE(presenter.alerts.isEmpty());
}

// The record names a movie in "old/" that is gone; the project now lives in "moved/".
TEST_F(ProjectSessionTest, AMovieGoneFromItsPathIsOpenedFromNextToTheProject) {
    QDir(dir.path()).mkpath("moved");
    const QString project = writeProject("moved/p.qyb", QString(), path("old/clip.mov"));
    const QString nextToProject = path("moved/clip.mov");
    test::writeFile(nextToProject, {});
    session->openQuilleryDocAtFile(project);
    EXPECT_EQ(host.held.moviePath, nextToProject);

    // Gone everywhere: the player reports the failure for the path next to the project.
    QFile::remove(nextToProject);
    session->openQuilleryDocAtFile(project);
    EXPECT_EQ(host.held.moviePath, nextToProject);
}

TEST_F(ProjectSessionTest, SaveOfAnAutoSaveProjectAsksForANewNameThenNewAsksNothing) {
    session->openQuilleryDocAtFile(writeProject("AutoSave_20240102030405.qyb", "text"));
    presenter.saveAnswers.append(path("Mine.qyb"));
    session->saveQuilleryDoc();
    EXPECT_EQ(session->projectPath(), path("Mine.qyb"));
    EXPECT_TRUE(session->isSaved());
    // Nothing loaded: only the text and the two flags.
    EXPECT_EQ(writtenKeys(path("Mine.qyb")),
              (QStringList{"needComposition=false", "onlyAssembleAudio=false", "text=string"}));

    host.calls.clear();
    session->newQuilleryDoc();
    EXPECT_TRUE(presenter.alerts.isEmpty());
    EXPECT_EQ(host.calls, QStringList{"clean"});
}

TEST_F(ProjectSessionTest, RecentProjectsMoveWithTheirBookmarksAndKeepTheEightNewest) {
    QStringList files;
    QStringList bookmarks;
    for (int number = 1; number <= 8; ++number) {
        files.append(writeProject(QString("F%1.qyb").arg(number)));
        bookmarks.append(QString("b%1").arg(number));
    }
    settings.setObject(kRecentFilesKey, files);
    settings.setObject(kRecentFileBookmarksKey, bookmarks);
    restartSession();
    QSignalSpy menus(session.get(), &QYProjectSession::recentProjectMenuChanged);

    session->openQuilleryDocAtFile(files[2]);
    // The ninth project pushes the oldest out.
    const QString ninth = writeProject("F9.qyb");
    session->openQuilleryDocAtFile(ninth);
    const QStringList expected{files[1], files[3], files[4], files[5],
                               files[6], files[7], files[2], ninth};
    EXPECT_EQ(session->recentFiles(), expected);
    EXPECT_EQ(session->recentFilesBookmarks(), (QStringList{"b2", "b4", "b5", "b6", "b7", "b8"}));
    EXPECT_EQ(menus.last()[0].toStringList(),
              (QStringList{"F9.qyb", "F3.qyb", "F8.qyb", "F7.qyb", "F6.qyb", "F5.qyb", "F4.qyb",
                           "F2.qyb"}));

    restartSession();
    EXPECT_EQ(session->recentFiles(), expected);
    session->clearRectentProjects();
    restartSession();
    EXPECT_TRUE(session->recentFiles().isEmpty());
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

class UnsavedAnswers : public ProjectSessionTest, public testing::WithParamInterface<AnswerCase> {
protected:
    // Whether the flow went through.
    bool runFlow(const AnswerCase& row) {
        switch (row.flow) {
        case Flow::New:
            session->newQuilleryDoc();
            return host.calls == QStringList{"clean"};
        case Flow::OpenRecent:
            // Item 0 is the newest entry: the chosen project, or the own one above it.
            session->openRecentProject(row.hasProjectFile ? 1 : 0);
            return host.held.subtitleText == "chosen";
        case Flow::Quit:
            EXPECT_FALSE(session->applicationShouldTerminate());
            return host.calls == QStringList{"terminate"};
        }
        return false;
    }
};

TEST_P(UnsavedAnswers, FollowTheChosenButton) {
    const AnswerCase& row = GetParam();
    const QString chosen = writeProject("Chosen.qyb", "chosen");
    const QString own = writeProject("Own.qyb");
    session->openQuilleryDocAtFile(chosen);
    row.hasProjectFile ? session->openQuilleryDocAtFile(own) : session->createNewProject();
    host.calls.clear();
    makeUnsaved("unsaved work");
    presenter.alertAnswers.append(row.answer);
    if (row.saveAs)
        presenter.saveAnswers.append(path(row.saveAs));

    EXPECT_EQ(runFlow(row), row.expectFinished);
    EXPECT_EQ(presenter.alerts.size(), 1);
    const QString written = row.hasProjectFile ? own : path("Named.qyb");
    EXPECT_EQ(QYProjectFile::initWithFilePath(written).subtitleText == "unsaved work",
              row.expectWritten);
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
        AnswerCase{"Recent_DontSave", Flow::OpenRecent, true, 2, nullptr, false, true},
        AnswerCase{"Quit_SaveWithFile", Flow::Quit, true, 0, nullptr, true, true},
        AnswerCase{"Quit_SaveWithoutFile", Flow::Quit, false, 0, "Named", true, true},
        AnswerCase{"Quit_Return", Flow::Quit, true, 1, nullptr, false, false},
        AnswerCase{"Quit_DontSave", Flow::Quit, true, 2, nullptr, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectSessionTest, AutoSavesKeepTheTwentyFiveNewestAndLeaveTheProjectUnsaved) {
    settings.setAutoSaveTimeInteval(2);
    EXPECT_EQ(session->autoSaveTimer().interval(), 2 * 60 * 1000);
    settings.setAutoSaveTimeInteval(0);
    EXPECT_FALSE(session->autoSaveTimer().isActive());

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

} // namespace
} // namespace quillery
