// The engine's side of an assembled preview: the MLT tractor that plays a composition.
// Internal to the media layer.
//
// Bottom to top: a black background as long as the composition, one playlist per group of
// audio tracks that share a volume (tracks that do not overlap share a playlist), each
// summed into the background's sound by a "mix" transition after a "volume" filter, and
// one playlist per video track with blanks where it is empty, so the black shows through.
// A clip whose layer is turned gets an "affine" filter. Source files are opened lazily:
// only the clips that are played are ever decoded.
#pragma once

#include <memory>

namespace Mlt {
class Producer;
class Profile;
} // namespace Mlt

namespace quillery {

struct PreviewComposition;

// The profile's frame rate from the video composition's frame duration and its size from
// the render size.
void setProfileForComposition(Mlt::Profile& profile, const PreviewComposition& preview);

std::unique_ptr<Mlt::Producer> makeCompositionProducer(Mlt::Profile& profile,
                                                       const PreviewComposition& preview);

} // namespace quillery
