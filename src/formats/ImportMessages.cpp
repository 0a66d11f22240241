#include "ImportMessages.h"

#include "Localization.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quillery {

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

QString fileAccessProblem(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return localized("no such file");
    if (info.isDir())
        return localized("it is a folder, not a file");
    if (!info.isFile())
        return localized("it is not a regular file (a pipe, socket or device)");
    // Opened the way the readers open it, so the answer is the system's own.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return openErrorReason(errno);
    ::close(descriptor);
    return QString();
}

QString openErrorReason(int errorNumber) {
    if (errorNumber == EACCES || errorNumber == EPERM)
        return localized("permission denied");
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString cannotReadFileMessage(const QString& fileName, const QString& reason) {
    return localized("Can not read %1: %2.").arg(fileName, reason);
}

} // namespace quillery
