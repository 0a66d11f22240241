#include "QYStringUtility.h"

namespace quillery {

QYStringUtility& QYStringUtility::sharedInstance() {
    static QYStringUtility instance;
    return instance;
}

QString QYStringUtility::scanString(QString text) const {
    // Kept units move down over dropped ones, so a text the caller gave up is not copied.
    QChar* units = text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = units[i];
        if (c == QChar(0x2028) || c == QChar(0x2029) || c == u'\r')
            c = u'\n';
        if (c == u'\n' || c.unicode() >= 32)
            units[kept++] = c;
    }
    text.truncate(kept);
    return text;
}

QString QYStringUtility::trimTwoNewLineCharacterIntoOne(QString text) const {
    return scanString(std::move(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
}

} // namespace quillery
