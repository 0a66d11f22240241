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

} // namespace quillery
