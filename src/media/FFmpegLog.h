// libav's own log lines stay off (a damaged file would print pages of them); failures
// reach the user through our labels and messages instead.
#pragma once

#include <QString>

namespace quillery {

void silenceFFmpegLog();
QString ffmpegErrorText(int status);

} // namespace quillery
