// Characters with a fixed meaning in the script text.
#pragma once

#include <QChar>

namespace quillery {

// Stands for a break between two rows of one subtitle; a real line feed always ends
// the subtitle line.
inline constexpr QChar kLineBreakMark = QChar(0x23CE);

// Length of a bracketed time string [HH:MM:SS.FF].
inline constexpr int kTimeStringLength = 13;

} // namespace quillery
