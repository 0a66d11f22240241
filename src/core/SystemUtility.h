// The application's own identity: its bundle name and version as the build defines them.
// Generated files name the program that wrote them through this.
#pragma once

#include <QString>

namespace quillery {

class SystemUtility {
public:
    static SystemUtility& sharedInstance();

    QString getBundleName() const;
    QString getAppVersion() const;

private:
    SystemUtility() = default;
};

} // namespace quillery
