// The waveform editor's rules alone that the view's mouse tests do not reach: handle hits
// where the handles overlap, the limits of an edge drag (ten frames from the neighbour's far
// edge, half a second from the block's own other edge) in a scrolled window, and the visible
// window's keep/remove/create decision. Expected values are worked out at 150 pixels per
// second (zoom 0.5).
#include "WaveformEditing.h"

#include <gtest/gtest.h>

namespace quillery {
namespace {

TEST(Handle, TheTenPixelsAtEachEndAndTheLeftOneWhereTheyOverlap) {
    const struct {
        double x, width;
        Handle expected;
    } rows[] = {{0, 100, Handle::Left},   {10, 100, Handle::Left},   {11, 100, Handle::None},
                {90, 100, Handle::Right}, {100, 100, Handle::Right}, {8, 15, Handle::Left}};
    for (const auto& row : rows)
        EXPECT_EQ(handleAt(row.x, row.width), row.expected) << row.x << " of " << row.width;
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
    if (!frame)
        return;
    EXPECT_NEAR(c.left ? frame->left() : frame->right(), *c.expectedEdge, 1e-3);
    EXPECT_NEAR(c.left ? frame->right() : frame->left(), c.left ? 300 : 150, 1e-3)
        << "the other edge stays";
    EXPECT_NEAR(c.left ? drag.changedStartTime : drag.changedEndTime, c.expectedTime, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, EdgeDragTest,
    testing::Values(DragCase{"UnderTwoWholePixelsDoesNothing", true, 156.9, 0, 0, std::nullopt, 0},
                    DragCase{"TwoPixelsMoveTheLeftEdge", true, 157, 0, 0, 152, 152.0 / 150},
                    DragCase{"HalfASecondWinsOverTheNeighbourLimit", true, 165, 1.8f, 0, 225, 1.5},
                    DragCase{"ScrolledWindowCountsTheOrigin", true, 157, 0, 300, 152, 452.0 / 150},
                    DragCase{"RightKeepsHalfASecond", false, 195, 60, 0, 225, 1.5},
                    DragCase{"TheNeighbourLimitWinsOverHalfASecond", false, 285, 1.3f, 0, 195,
                             1.3}),
    [](const auto& info) { return std::string(info.param.name); });

// Blocks at 1-2, 1-2 (a duplicate), 3-4 and the pending end-time block at 5; lines wanted
// at 1-2, 3-3.5 and 6-7.
TEST(VisibleWindow, KeepsOneBlockALineTakesOffTheRestButThePendingOneAndCreatesTheMissing) {
    const VisibleWindowChange change = visibleWindowChange(
        {{1, 2}, {1, 2}, {3, 4}, {5, -1}}, {false, false, false, true}, {{1, 2}, {3, 3.5}, {6, 7}});
    EXPECT_EQ(change.blocksToRemove, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(change.linesToCreate, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(blockInsertionIndex({{1, 2}, {3, 4}}, 3), 1u)
        << "a block starting at the end comes after";
}

} // namespace
} // namespace quillery
