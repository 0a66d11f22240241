// The open project and every flow around it: New, Open, Save, Save As, Open Recent, Quit
// and window close, the recent-project list kept in the preferences store, the window title
// and the periodic autosave. The window reaches it through calls and signals; questions go
// through the message presenter and window work through the project host.
#pragma once

#include "QYClock.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace quillery {

class QYMessagePresenter;
class QYProjectHost;
class QYSetting;

inline const QString kProjectFileExtension = QStringLiteral("qyb");

class QYProjectSession : public QObject {
    Q_OBJECT

public:
    // Loads the recent projects from the store and schedules the autosave timer. The
    // window connects to the signals and then calls updateRecentProjectMenu and
    // setWindowTitle to show the start state.
    QYProjectSession(QYProjectHost& host, QYMessagePresenter& presenter, QYSetting& settings,
                     QObject* parent = nullptr);

    // The clock that stamps autosave file names; the local time by default.
    void setClock(Clock clock);
    // The folder autosaves go to; empty means the documents folder + "/" + bundle name.
    void setAutoSaveFolder(const QString& folder);

    QString projectPath() const { return projectPath_; }
    bool isSaved() const { return _saved; }
    // Every change of the editor text marks the project unsaved; the window calls this.
    void markUnsaved() { _saved = false; }
    bool isNewing() const { return _newing; }
    bool isQuiting() const { return _quiting; }
    // Oldest first.
    QStringList recentFiles() const { return recentFiles_; }
    QStringList recentFilesBookmarks() const { return recentFilesBookmarks_; }
    QString windowTitle() const { return windowTitle_; }
    const QTimer& autoSaveTimer() const { return autoSaveTimer_; }

    void saveQuilleryDocToFile(const QString& path);
    void openQuilleryDocAtFile(const QString& path);
    void saveQuilleryDoc();
    void saveAsQuilleryDoc();
    void newQuilleryDoc();
    void createNewProject();
    void openQuilleryDoc();
    // itemIndex counts menu items from the top, where the newest project stands.
    void openRecentProject(int itemIndex);
    void clearRectentProjects();
    void updateRecentProjectMenu();
    void autoSave();
    // False while unsaved changes are being dealt with; the host is told to terminate
    // once they are.
    bool windowShouldClose();
    bool applicationShouldTerminate();
    void setWindowTitle();

signals:
    // The recent menu's item titles (file names), newest first.
    void recentProjectMenuChanged(const QStringList& titles);
    void windowTitleChanged(const QString& title);

private:
    void scheduleAutoSave(int minutes);
    // The path moves to the newest place of the recent list and the menu is rebuilt.
    void addRecentFile(const QString& path);
    // A project with a file of its own, not an autosave, saves without asking for a name.
    bool hasOwnProjectFile() const;
    QString autoSaveFolder() const;
    void openMovieOfProject(const QString& moviePath);

    QYProjectHost& host_;
    QYMessagePresenter& presenter_;
    QYSetting& settings_;
    Clock clock_;
    QString autoSaveFolder_;
    QTimer autoSaveTimer_;

    QString projectPath_;
    QString windowTitle_;
    QStringList recentFiles_;
    QStringList recentFilesBookmarks_;
    bool _saved = true;
    bool _newing = false;
    bool _quiting = false;
};

} // namespace quillery
