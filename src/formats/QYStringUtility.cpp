#include "QYStringUtility.h"

#include "QYRegex.h"

namespace quillery {

QYStringUtility& QYStringUtility::sharedInstance() {
    static QYStringUtility instance;
    return instance;
}

QString QYStringUtility::scanString(const QString& text) const {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c == QChar(0x2028) || c == QChar(0x2029) || c == u'\r')
            c = u'\n';
        if (c == u'\n' || c.unicode() >= 32)
            result += c;
    }
    return result;
}

QString QYStringUtility::trimTwoNewLineCharacterIntoOne(const QString& text) const {
    return scanString(QYRegex::stringByReplacingOccurrencesOfRegex(text, "\r\n", "\n"));
}

} // namespace quillery
