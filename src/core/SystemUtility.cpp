#include "SystemUtility.h"

#include <QStandardPaths>

namespace quillery {

SystemUtility& SystemUtility::sharedInstance() {
    static SystemUtility instance;
    return instance;
}

QString SystemUtility::getBundleName() const {
    return QStringLiteral(QUILLERY_BUNDLE_NAME);
}

QString SystemUtility::getAppVersion() const {
    return QStringLiteral(QUILLERY_VERSION);
}

bool SystemUtility::isApplicationInstalled(const QString& bundleIdentifier) const {
    return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation,
                                   bundleIdentifier + QStringLiteral(".desktop"))
                .isEmpty();
}

} // namespace quillery
