// A project as it is kept on disk: the script text, the movie path and the Final Cut Pro
// XML the project was built from. The file is an XML property list whose root dictionary
// holds one key per property; anything unreadable reads as the defaults.
#pragma once

#include <QString>
#include <QVariantMap>

namespace quillery {

class QYProjectFile {
public:
    // A file that is missing or not a property-list dictionary gives all defaults.
    static QYProjectFile initWithFilePath(const QString& path);

    // Missing keys and values of the wrong type give the defaults.
    void updateWithDictionary(const QVariantMap& dictionary);
    // The script text and the flags always; the other texts only when they hold something.
    QVariantMap toDictionary() const;
    // Replaces the file in one step, so a failed write keeps the earlier file.
    bool writeToUrl(const QString& path) const;

    QString fcp7XMLString;
    QString fcpxXMLString;
    QString moviePath;
    QString subtitleText;
    bool needComposition = false;
    bool onlyAssembleAudio = false;
    QString fcp7MovieMainTrackXMLString;
    QString fcp7MovieSecondTrackXMLString;
};

} // namespace quillery
