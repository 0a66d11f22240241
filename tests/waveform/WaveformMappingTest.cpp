// The waveform's number rules: time to pixels at a zoom, and where the visible window
// goes as the playhead moves, the view is resized or scrolled.
#include "WaveformMapping.h"

#include <gtest/gtest.h>

namespace quillery {
namespace {

TEST(WaveformMapping, PixelsFollowTheZoom) {
    WaveformMapping half{0.5, 300, 180000}; // ten minutes
    EXPECT_EQ(half.valueIndexForColumn(301), 602u);
    // 0.3 pixels a value: column 10 shows value 33 (10 / 0.3 = 33.3, truncated).
    EXPECT_EQ((WaveformMapping{0.3, 300, 100}).valueIndexForColumn(10), 33u);
}

struct FollowCase {
    const char* name;
    PlayheadFollowing input;
    double origin;
};

class PlayheadFollowingRule : public testing::TestWithParam<FollowCase> {};

TEST_P(PlayheadFollowingRule, PlacesTheWindow) {
    EXPECT_DOUBLE_EQ(followPlayheadOrigin(GetParam().input), GetParam().origin);
}

// A 1000-pixel window over a 10000-pixel waveform: the playhead's x, the width, the
// total, the origin, centring asked, forward.
const FollowCase kFollowCases[] = {
    {"FirstHalfScreenKeepsAnOriginBeforeThePlayhead", {300, 1000, 10000, 200, true, true}, 200},
    {"FirstHalfScreenReturnsToTheStart", {300, 1000, 10000, 350, false, true}, 0},
    {"LastHalfScreenKeepsAWindowShowingThePlayhead", {9700, 1000, 10000, 8900, true, true}, 8900},
    {"LastHalfScreenRestsAgainstTheEnd", {9700, 1000, 10000, 5000, false, true}, 9000},
    {"CentresOnRequest", {5000, 1000, 10000, 1000, true, true}, 4500},
    {"ForwardPastTheRightEdgePagesToAFifth", {5000, 1000, 10000, 3000, false, true}, 4800},
    {"ForwardPagingStopsAtTheEnd", {8700, 1000, 9300, 3000, false, true}, 8300},
    {"BackwardPastTheLeftEdgePagesToFourFifths", {5000, 1000, 10000, 6000, false, false}, 4200},
    {"APlayheadInsideTheWindowKeepsIt", {5000, 1000, 10000, 4400, false, true}, 4400},
    {"ForwardDoesNotPageBackwards", {5000, 1000, 10000, 6000, false, true}, 6000}};

INSTANTIATE_TEST_SUITE_P(Windows, PlayheadFollowingRule, testing::ValuesIn(kFollowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformMapping, AResizeOrAScrollStaysWithinTheMovie) {
    EXPECT_EQ(originAfterResize(100, 800, 1200), 0);
    EXPECT_EQ(originAfterScroll(50, 100, 9000, 1000), 0);
    EXPECT_EQ(originAfterScroll(7950, -100, 9000, 1000), 8000);
}

} // namespace
} // namespace quillery
