// Writing an assembled preview out as a movie file through the engine's encoder: its
// pictures and its sound at the mix's volumes. A preview has no file of its own whose
// packets could be copied, so both are encoded anew: H.264 and AAC for MP4, QuickTime and
// Matroska files, the container's own default codecs for any other (a WAV file gets the
// sound alone).
#pragma once

#include "QuilleryMoviePlayerItem.h"

#include <QString>
#include <functional>

namespace quillery {

struct PreviewRenderResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    // What went wrong, as a sentence for the user.
    QString error;
};

// Gets the fraction done, from 0 to 1; returning false cancels the rendering.
using PreviewRenderProgress = std::function<bool(double fraction)>;

// A cancelled or failed rendering leaves no file at `path`.
PreviewRenderResult renderPreview(const MoviePlayerItem& preview, const QString& path,
                                  const PreviewRenderProgress& progress);

} // namespace quillery
