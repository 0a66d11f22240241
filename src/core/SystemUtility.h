// The application's own identity: its bundle name and version as the build defines them.
// Generated files name the program that wrote them through this; other programs are
// looked up in the desktop's application database.
#pragma once

#include <QString>

namespace quillery {

class SystemUtility {
public:
    static SystemUtility& sharedInstance();

    QString getBundleName() const;
    QString getAppVersion() const;
    // Whether the desktop's application database knows an application by this identifier:
    // a desktop entry named after it in one of the applications folders.
    bool isApplicationInstalled(const QString& bundleIdentifier) const;

private:
    SystemUtility() = default;
};

} // namespace quillery
