// The seam to the preview assembly: after a Final Cut Pro import the main window hands
// the timeline it read to whatever builds a playable preview movie from the timeline's
// media files and gives it to the movie player. The main window is its own assembler
// unless another is set (tests record instead); with none set nothing is assembled.
#pragma once

#include "FCP7Model.h"

#include <QString>

namespace quillery {

class QYPreviewAssembler {
public:
    virtual ~QYPreviewAssembler() = default;

    // A Final Cut Pro 7 sequence's track model with its main and secondary video tracks
    // chosen (either may be null) and every enabled audio track; with onlyAudio the preview
    // holds the audio tracks alone.
    virtual void assembleFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio) = 0;
    // The text of a Final Cut Pro X project whose title template was read; its main
    // storyline and audio are assembled, or its audio alone.
    virtual void assembleFCPXProject(const QString& xmlText, bool onlyAudio) = 0;
};

} // namespace quillery
