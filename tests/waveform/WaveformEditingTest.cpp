// The waveform editor's rules alone: block frames, handle hits, the limits of an edge drag
// (ten frames from the neighbour's far edge, half a second from the block's own other
// edge), the width of a drawn block, the visible window's keep/remove/create decision, and
// the overview's marker. Expected values are worked out from the rules at 150 pixels per
// second (zoom 0.5) unless a row says otherwise; the view's tests drive the same rules
// through the mouse.
#include "WaveformEditing.h"

#include <gtest/gtest.h>

namespace quillery {
namespace {

TEST(BlockFrame, StandsAtItsTimesLessTheOriginCentredInTheView) {
    // 1.25 s to 2 s, the window from 90 pixels.
    EXPECT_EQ(blockFrame(1.25, 2.0, 150, 90, 300), QRectF(97.5, 50, 112.5, 200));
    EXPECT_EQ(blockFrame(1.25, 2.0, 300, 0, 251), QRectF(375, 25, 225, 200))
        << "at 300 pixels a second; an odd height truncates the top";
}

TEST(Handle, TheTenPixelsAtEachEndAndTheLeftOneWhereTheyOverlap) {
    const struct {
        double x, width;
        Handle expected;
    } rows[] = {{0, 100, Handle::Left},   {10, 100, Handle::Left},   {11, 100, Handle::None},
                {90, 100, Handle::Right}, {100, 100, Handle::Right}, {8, 15, Handle::Left}};
    for (const auto& row : rows)
        EXPECT_EQ(handleAt(row.x, row.width), row.expected) << row.x << " of " << row.width;
}

TEST(DragLimits, TenFramesFromTheNeighboursAtTheMoviesRate) {
    EXPECT_NEAR(minimumStartTime(10.0, 30), 10.0 + 1.0 / 3, 1e-5);
    EXPECT_EQ(minimumStartTime(std::nullopt, 25), 0);
    EXPECT_EQ(minimumStartTime(-1.0, 25), 0) << "a previous line without a start";
    EXPECT_NEAR(maximumEndTime(20.0, 60, 25), 19.6, 1e-5);
    EXPECT_NEAR(maximumEndTime(-1.0, 60, 25), 60, 1e-5) << "a next line without an end";
}

// A block from 1 s to 2 s (150 to 300 pixels) grabbed 5 pixels inside the dragged edge.
struct DragCase {
    const char* name;
    bool left;
    double pointerX;
    float limit;
    double origin;
    std::optional<double> expectedEdge; // the dragged edge, in view pixels
    double expectedTime;
};

class EdgeDragTest : public testing::TestWithParam<DragCase> {};

TEST_P(EdgeDragTest, MovesTheEdgeWithinItsLimits) {
    const DragCase& c = GetParam();
    const double startTime = (150 + c.origin) / 150;
    EdgeDrag drag;
    drag.begin(c.left, QRectF(150, 50, 150, 200), QPointF(c.left ? 155 : 295, 100), startTime,
               startTime + 1);
    const std::optional<QRectF> frame = drag.move(QPointF(c.pointerX, 120), 150, c.origin, c.limit);
    ASSERT_EQ(frame.has_value(), c.expectedEdge.has_value());
    if (!frame) {
        EXPECT_EQ(drag.changedStartTime, startTime);
        EXPECT_EQ(drag.changedEndTime, startTime + 1);
        return;
    }
    EXPECT_NEAR(c.left ? frame->left() : frame->right(), *c.expectedEdge, 1e-3);
    EXPECT_NEAR(c.left ? frame->right() : frame->left(), c.left ? 300 : 150, 1e-3)
        << "the other edge stays";
    EXPECT_NEAR(c.left ? drag.changedStartTime : drag.changedEndTime, c.expectedTime, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, EdgeDragTest,
    testing::Values(DragCase{"UnderTwoWholePixelsDoesNothing", true, 156.9, 0, 0, std::nullopt, 0},
                    DragCase{"TwoPixelsMoveTheLeftEdge", true, 157, 0, 0, 152, 152.0 / 150},
                    DragCase{"LeftStopsAtThePreviousStartPlusTenFrames", true, 5, 0.4f, 0, 60, 0.4},
                    DragCase{"HalfASecondWinsOverTheNeighbourLimit", true, 165, 1.8f, 0, 225, 1.5},
                    DragCase{"ScrolledWindowCountsTheOrigin", true, 157, 0, 300, 152, 452.0 / 150},
                    DragCase{"RightKeepsHalfASecond", false, 195, 60, 0, 225, 1.5},
                    DragCase{"TheNeighbourLimitWinsOverHalfASecond", false, 285, 1.3f, 0, 195,
                             1.3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DragToCreate, TheWidthIsNeverNegativeAndStopsAtTheNextBlock) {
    EXPECT_EQ(dragToCreateWidth(100, 80, std::nullopt), 0);
    EXPECT_EQ(dragToCreateWidth(100, 220, 200.0), 100);
    EXPECT_EQ(dragToCreateWidth(100, 150, 200.0), 50) << "back before the block it reached";
}

TEST(VisibleWindow, KeepsMatchingBlocksTakesOffTheRestAndCreatesTheMissing) {
    const std::vector<TimeSpan> shown = {{1, 2}, {3, 4}, {5, -1}};
    const std::vector<bool> pinned = {false, false, true}; // the pending end-time block
    const VisibleWindowChange change = visibleWindowChange(shown, pinned, {{3, 4}, {6, 7}});
    EXPECT_EQ(change.blocksToRemove, std::vector<std::size_t>{0});
    EXPECT_EQ(change.linesToCreate, std::vector<std::size_t>{1});
}

TEST(VisibleWindow, EachWantedLineKeepsOneBlock) {
    const VisibleWindowChange change =
        visibleWindowChange({{1, 2}, {1, 2}}, {false, false}, {{1, 2}, {1, 2.5}});
    EXPECT_EQ(change.blocksToRemove, std::vector<std::size_t>{1});
    EXPECT_EQ(change.linesToCreate, std::vector<std::size_t>{1});
}

TEST(VisibleWindow, ANewBlockGoesAfterTheBlocksThatStartBeforeItsEnd) {
    const std::vector<TimeSpan> shown = {{1, 2}, {3, 4}, {5, 6}};
    EXPECT_EQ(blockInsertionIndex(shown, 0.5), 0u);
    EXPECT_EQ(blockInsertionIndex(shown, 3), 1u) << "a block starting at the end comes after";
    EXPECT_EQ(blockInsertionIndex(shown, 10), 3u);
}

TEST(Overview, TheMarkerFramesTheWindowInsideTheStrip) {
    // A 1000-pixel window of a 15,000-pixel waveform in a 600-pixel strip.
    EXPECT_EQ(overviewMarkerFrame(7500, 1000, 15000, 600, 30), QRectF(300, 0, 40, 30));
    EXPECT_EQ(overviewMarkerFrame(16000, 1000, 15000, 600, 30).x(), 600) << "x kept in the strip";
    EXPECT_EQ(overviewMarkerFrame(0, 30000, 15000, 600, 30).width(), 600) << "no wider than it";
}

TEST(Overview, AMarkerPutByHandIsCentredAndKeptInside) {
    EXPECT_EQ(markerLeftAt(10, 40, 600), 0);
    EXPECT_EQ(markerLeftAt(590, 40, 600), 560) << "flush with the right edge";
}

} // namespace
} // namespace quillery
