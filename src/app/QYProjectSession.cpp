#include "QYProjectSession.h"

#include "FolderUtility.h"
#include "Localization.h"
#include "QYMessagePresenter.h"
#include "QYProjectFile.h"
#include "QYProjectHost.h"
#include "QYSetting.h"
#include "SystemUtility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <limits>

namespace quillery {

namespace {

const QString kAutoSavePrefix = QStringLiteral("AutoSave");
const QString kAutoSaveFilePrefix = QStringLiteral("AutoSave_");
constexpr int kKeptAutoSaves = 24;
constexpr int kMaxRecentFiles = 8;

enum AlertAnswer { DefaultButton = 0, AlternateButton = 1, OtherButton = 2 };

// Fills each "%@" of a localised text with the next argument, in order.
QString filled(const QString& text, const QStringList& arguments) {
    QString result = text;
    qsizetype from = 0;
    for (const QString& argument : arguments) {
        const qsizetype at = result.indexOf(QLatin1String("%@"), from);
        if (at < 0)
            break;
        result.replace(at, 2, argument);
        from = at + argument.size();
    }
    return result;
}

QString bundleName() {
    return SystemUtility::sharedInstance().getBundleName();
}

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

QString defaultProjectFileName() {
    return filled(localized("%@ Project File.%@"), {bundleName(), kProjectFileExtension});
}

void removeEntry(const QFileInfo& entry) {
    if (entry.isDir() && !entry.isSymLink())
        QDir(entry.filePath()).removeRecursively();
    else
        QFile::remove(entry.filePath());
}

// Keeps the newest entries by name, leaving room for the autosave about to be written.
void removeOldAutoSaves(const QString& folder) {
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    const qsizetype removable = entries.size() - kKeptAutoSaves;
    for (qsizetype index = 0; index < removable; ++index)
        removeEntry(entries.at(index));
}

} // namespace

QYProjectSession::QYProjectSession(QYProjectHost& host, QYMessagePresenter& presenter,
                                   QYSetting& settings, QObject* parent)
    : QObject(parent), host_(host), presenter_(presenter), settings_(settings),
      clock_(systemClock()),
      recentFiles_(settings.getStringListFromUserDefaultForKey(kRecentFilesKey)),
      recentFilesBookmarks_(settings.getStringListFromUserDefaultForKey(kRecentFileBookmarksKey)) {
    autoSaveTimer_.callOnTimeout(this, &QYProjectSession::autoSave);
    scheduleAutoSave(settings.autoSaveTimeInteval());
    connect(&settings, &QYSetting::autoSaveTimeIntevalChanged, this,
            &QYProjectSession::scheduleAutoSave);
}

void QYProjectSession::setClock(Clock clock) {
    clock_ = std::move(clock);
}

void QYProjectSession::setAutoSaveFolder(const QString& folder) {
    autoSaveFolder_ = folder;
}

void QYProjectSession::scheduleAutoSave(int minutes) {
    autoSaveTimer_.stop();
    if (minutes <= 0)
        return;
    // Qt timers count milliseconds in an int, so the longest wait is about 24 days.
    constexpr int kLongestMinutes = std::numeric_limits<int>::max() / 60000;
    autoSaveTimer_.start(std::chrono::minutes(std::min(minutes, kLongestMinutes)));
}

bool QYProjectSession::hasOwnProjectFile() const {
    return !projectPath_.isEmpty() && !fileNameOf(projectPath_).startsWith(kAutoSaveFilePrefix);
}

void QYProjectSession::saveQuilleryDocToFile(const QString& path) {
    QYProjectFile file;
    file.needComposition = host_.projectNeedComposition();
    file.onlyAssembleAudio = host_.projectOnlyAssembleAudio();
    file.fcp7XMLString = host_.fcp7XMLString();
    file.fcp7MovieMainTrackXMLString = host_.fcp7MovieMainTrackXMLString();
    file.fcp7MovieSecondTrackXMLString = host_.fcp7MovieSecondTrackXMLString();
    file.fcpxXMLString = host_.fcpxXMLString();
    file.moviePath = host_.movieFilePath();
    file.subtitleText = host_.scriptText();
    if (file.writeToUrl(path) && !fileNameOf(path).startsWith(kAutoSavePrefix))
        _saved = true;
}

void QYProjectSession::addRecentFile(const QString& path) {
    const qsizetype index = recentFiles_.indexOf(path);
    if (index >= 0) {
        recentFiles_.removeAt(index);
        if (index < recentFilesBookmarks_.size())
            recentFilesBookmarks_.removeAt(index);
    }
    // Linux has no access bookmarks, so nothing joins the bookmark list.
    recentFiles_.append(path);
    updateRecentProjectMenu();
}

void QYProjectSession::openQuilleryDocAtFile(const QString& path) {
    projectPath_ = path;
    addRecentFile(path);
    const QYProjectFile file = QYProjectFile::initWithFilePath(path);
    if (!file.fcp7XMLString.isEmpty())
        host_.openFCP7Project(file.fcp7XMLString, file.needComposition, file.onlyAssembleAudio,
                              file.fcp7MovieMainTrackXMLString, file.fcp7MovieSecondTrackXMLString);
    if (!file.fcpxXMLString.isEmpty())
        host_.openFCPXProject(file.fcpxXMLString, file.needComposition, file.onlyAssembleAudio);
    host_.replaceTextInTextView(file.subtitleText);
    _saved = false;
    if (!file.moviePath.isEmpty()) {
        openMovieOfProject(file.moviePath);
        host_.setDuration();
    }
    setWindowTitle();
}

// A movie moved together with its project is found next to the project file.
void QYProjectSession::openMovieOfProject(const QString& moviePath) {
    QString path = moviePath;
    if (!QFileInfo::exists(path))
        path = FolderUtility::sharedInstance().getFilePathWithName(fileNameOf(path), projectPath_);
    host_.openMovie(path);
}

void QYProjectSession::saveQuilleryDoc() {
    if (!hasOwnProjectFile()) {
        saveAsQuilleryDoc();
        return;
    }
    saveQuilleryDocToFile(projectPath_);
    if (_quiting)
        host_.terminate();
    if (_newing)
        createNewProject();
}

void QYProjectSession::saveAsQuilleryDoc() {
    FileRequest request;
    request.proposedName =
        hasOwnProjectFile() ? fileNameOf(projectPath_) : defaultProjectFileName();
    request.allowedTypes = {kProjectFileExtension};
    QString path = presenter_.chooseFileToSave(request);
    if (path.isEmpty()) {
        // A cancelled save leaves nothing pending, so a later Save does not quit or clear.
        _newing = false;
        _quiting = false;
        return;
    }
    const QString suffix = u'.' + kProjectFileExtension;
    if (!path.endsWith(suffix))
        path += suffix;
    projectPath_ = path;
    addRecentFile(path);
    setWindowTitle();
    saveQuilleryDoc();
}

void QYProjectSession::newQuilleryDoc() {
    if (_saved) {
        createNewProject();
        return;
    }
    _newing = true;
    const int answer = presenter_.runAlert(
        {localized("New Project"),
         filled(localized("Your %@ project has not been saved! Are you sure to create a new one?"),
                {bundleName()}),
         QString(),
         {localized("Save and New"), localized("Return"), localized("Don't Save and New File")}});
    if (answer == DefaultButton) {
        saveQuilleryDoc();
    } else if (answer == OtherButton) {
        _saved = true;
        createNewProject();
    } else {
        _newing = false;
    }
}

void QYProjectSession::createNewProject() {
    host_.clean();
    host_.replaceTextInTextView(QString());
    // Emptying the editor is part of starting afresh, not an unsaved change.
    _saved = true;
    _newing = false;
    projectPath_.clear();
    setWindowTitle();
}

void QYProjectSession::openQuilleryDoc() {
    FileRequest request;
    request.allowedTypes = {kProjectFileExtension};
    const QString path = presenter_.chooseFileToOpen(request);
    if (!path.isEmpty())
        openQuilleryDocAtFile(path);
}

void QYProjectSession::openRecentProject(int itemIndex) {
    const qsizetype entryIndex = recentFiles_.size() - 1 - itemIndex;
    if (entryIndex < 0 || entryIndex >= recentFiles_.size())
        return;
    const QString path = recentFiles_.at(entryIndex);
    if (path == projectPath_)
        return;
    if (_saved) {
        openQuilleryDocAtFile(path);
        return;
    }
    const int answer = presenter_.runAlert(
        {localized("Open Project"),
         localized("Your project has not been saved! Are you sure to open another project?"),
         QString(),
         {localized("Save and Open"), localized("Return"), localized("Don't Save and Open File")}});
    if (answer == DefaultButton) {
        // Without a file the user first names one; the chosen project waits for another try.
        if (projectPath_.isEmpty()) {
            saveAsQuilleryDoc();
            return;
        }
        saveQuilleryDoc();
        if (_saved)
            openQuilleryDocAtFile(path);
    } else if (answer == OtherButton) {
        _saved = true;
        openQuilleryDocAtFile(path);
    }
}

void QYProjectSession::clearRectentProjects() {
    recentFiles_.clear();
    recentFilesBookmarks_.clear();
    updateRecentProjectMenu();
}

void QYProjectSession::updateRecentProjectMenu() {
    while (recentFiles_.size() > kMaxRecentFiles) {
        recentFiles_.removeFirst();
        if (!recentFilesBookmarks_.isEmpty())
            recentFilesBookmarks_.removeFirst();
    }
    QStringList titles;
    for (auto path = recentFiles_.crbegin(); path != recentFiles_.crend(); ++path)
        titles.append(fileNameOf(*path));
    emit recentProjectMenuChanged(titles);
    settings_.setObject(kRecentFilesKey, recentFiles_);
    settings_.setObject(kRecentFileBookmarksKey, recentFilesBookmarks_);
    settings_.synchronize();
}

QString QYProjectSession::autoSaveFolder() const {
    FolderUtility& folders = FolderUtility::sharedInstance();
    if (autoSaveFolder_.isEmpty())
        return folders.getProjectAutoSaveFolder();
    folders.createFolder(autoSaveFolder_);
    return autoSaveFolder_;
}

void QYProjectSession::autoSave() {
    const QString folder = autoSaveFolder();
    removeOldAutoSaves(folder);
    const QString name = kAutoSaveFilePrefix + clock_().toString(QStringLiteral("yyyyMMddHHmmss")) +
                         u'.' + kProjectFileExtension;
    saveQuilleryDocToFile(folder + u'/' + name);
}

bool QYProjectSession::windowShouldClose() {
    if (_saved)
        return true;
    _quiting = true;
    const int answer = presenter_.runAlert(
        {localized("Quit"),
         filled(localized("Your %@ project has not been saved! Are you sure to quit?"),
                {bundleName()}),
         QString(),
         {localized("Save"), localized("Return"), localized("Don't Save")}});
    if (answer == DefaultButton) {
        if (hasOwnProjectFile()) {
            saveQuilleryDocToFile(projectPath_);
            _quiting = false;
            host_.terminate();
        } else {
            saveAsQuilleryDoc();
        }
    } else if (answer == OtherButton) {
        _saved = true;
        host_.terminate();
    } else {
        _quiting = false;
    }
    return false;
}

bool QYProjectSession::applicationShouldTerminate() {
    return windowShouldClose();
}

void QYProjectSession::setWindowTitle() {
    QString name = localized("Untitle");
    if (!projectPath_.isEmpty()) {
        name = fileNameOf(projectPath_);
        // Drops the dot and the three-letter extension.
        name.chop(4);
    }
    windowTitle_ = name + QStringLiteral(" - ") + bundleName() + u' ' +
                   SystemUtility::sharedInstance().getAppVersion();
    emit windowTitleChanged(windowTitle_);
}

} // namespace quillery
