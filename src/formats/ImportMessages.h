// The messages an import shows when a file cannot be used, shared by the main window's
// alerts and the command-line tool so both say the same thing.
#pragma once

#include <QString>

namespace quillery {

// Where users are asked to send a SubRip file that would not import.
inline constexpr char kSupportEmailAddress[] = "support@quillery.org";

// The file could not be decoded, or decoded to nothing.
QString srtReadFailureMessage(const QString& fileName);
// The file decoded but held no cue that converts.
QString srtTranslateFailureMessage(const QString& fileName);

// Why the path cannot be read as a file, in words for the user: it is missing, a folder,
// no regular file (a pipe, a socket, a device) or refused by the system. Empty when it
// opens for reading.
QString fileAccessProblem(const QString& path);
// The words for an error number of a failed open.
QString openErrorReason(int errorNumber);
// "Can not read NAME: REASON."
QString cannotReadFileMessage(const QString& fileName, const QString& reason);

} // namespace quillery
