#include "SystemUtility.h"

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

} // namespace quillery
