#include "FFmpegLog.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace quillery {

void silenceFFmpegLog() {
    av_log_set_level(AV_LOG_QUIET);
}

QString ffmpegErrorText(int status) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(status, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace quillery
