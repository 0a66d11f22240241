#include "FolderUtility.h"

#include "QYLog.h"
#include "SystemUtility.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace quillery {

FolderUtility& FolderUtility::sharedInstance() {
    static FolderUtility instance;
    return instance;
}

QString FolderUtility::applicationDocumentsDirectory() const {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString FolderUtility::applicationCachesDirectory() const {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString FolderUtility::userMovieDirectory() const {
    return QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
}

bool FolderUtility::createFolder(const QString& path) const {
    const std::filesystem::path folder(QFile::encodeName(path).toStdString());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error)
        return true;
    QY_DBG("The create directory error is : %s", error.message().c_str());
    return false;
}

QString FolderUtility::getProjectAutoSaveFolder() const {
    const QString folder =
        applicationDocumentsDirectory() + u'/' + SystemUtility::sharedInstance().getBundleName();
    createFolder(folder);
    return folder;
}

QString FolderUtility::getFilePathWithName(const QString& name,
                                           const QString& relativeToFile) const {
    return QFileInfo(relativeToFile).path() + u'/' + name;
}

QString FolderUtility::addStringToFilePath(const QString& path, const QString& text) {
    const QFileInfo file(path);
    const QString extension = file.suffix();
    if (extension.isEmpty())
        return path + text;
    const QString stem = path.left(path.size() - extension.size() - 1);
    return stem + text + u'.' + extension;
}

} // namespace quillery
