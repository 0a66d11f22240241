// The folders the application works in: the user's standard documents, caches and movies
// folders, the project autosave folder inside the documents folder, and paths next to
// another file.
#pragma once

#include <QString>

namespace quillery {

class FolderUtility {
public:
    static FolderUtility& sharedInstance();

    QString applicationDocumentsDirectory() const;
    QString applicationCachesDirectory() const;
    QString userMovieDirectory() const;
    // Creates the folder with every missing parent; a failure is logged and returns false.
    bool createFolder(const QString& path) const;
    // The documents folder + "/" + the bundle name, created when missing.
    QString getProjectAutoSaveFolder() const;
    // The named file in the folder that holds relativeToFile.
    QString getFilePathWithName(const QString& name, const QString& relativeToFile) const;
    // The path with text inserted before its extension: "a/b.fcpxml" and "_x" give
    // "a/b_x.fcpxml".
    static QString addStringToFilePath(const QString& path, const QString& text);

private:
    FolderUtility() = default;
};

} // namespace quillery
