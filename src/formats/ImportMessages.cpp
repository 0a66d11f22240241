#include "ImportMessages.h"

#include <QCoreApplication>

namespace quillery {

namespace {

QString localized(const char* english) {
    return QCoreApplication::translate("Quillery", english);
}

} // namespace

QString srtReadFailureMessage(const QString& fileName) {
    return localized("Can not read the srt file : %1.\nPlease use TextEdit to open it and copy "
                     "all the  content, then make a new file and paste the content. Then Make "
                     "Plain Text with UTF-8 Encoding and save it with *.srt extention and try "
                     "again. You can send an email with SRT file attached to ")
               .arg(fileName) +
           QLatin1String(kSupportEmailAddress);
}

QString srtTranslateFailureMessage(const QString& fileName) {
    return localized("Can not translate the srt file : %1.\nThis SRT is probably not a standard "
                     "SRT file. Please check it. You can send an email with SRT file attached to ")
               .arg(fileName) +
           QLatin1String(kSupportEmailAddress);
}

} // namespace quillery
