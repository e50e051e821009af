// Pixel/time mapping and drag arithmetic of the selection markers, on the
// window's ruler (left 128, width 449).
#include "editor/MarkerDrag.h"

#include <gtest/gtest.h>
#include <limits>

using namespace vivizu;

namespace {
constexpr int32_t BarLeft = 128;
constexpr int32_t BarWidth = 449;
} // namespace

TEST(MarkerDragTest, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(212.5), 212);
    EXPECT_EQ(RoundHalfEven(213.5), 214);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1415.094), 1415);
    EXPECT_EQ(RoundHalfEven(1411.76), 1412);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(-0.6), -1);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
}

TEST(MarkerDragTest, ResetGeometryFollowsTheRuler) {
    const TMarkerDrag s = StartMarkerAtReset(BarLeft, BarWidth, nullptr);
    EXPECT_EQ(s.MinLeft, 129);
    EXPECT_EQ(s.ZeroLeft, 129);
    EXPECT_EQ(s.CurLeft, 129);
    EXPECT_EQ(s.MaxLeft, 553);
    EXPECT_EQ(s.FullLeft, 553);
    EXPECT_FALSE(s.Dragging);

    const TMarkerDrag e = EndMarkerAtReset(BarLeft, BarWidth, nullptr);
    EXPECT_EQ(e.MinLeft, 135);
    EXPECT_EQ(e.ZeroLeft, 135);
    EXPECT_EQ(e.MaxLeft, 560);
    EXPECT_EQ(e.FullLeft, 560);
    EXPECT_EQ(e.CurLeft, 560);
}

TEST(MarkerDragTest, PixelToTime) {
    TMarkerDrag s = StartMarkerAtReset(BarLeft, BarWidth, nullptr);
    TMarkerDrag e = EndMarkerAtReset(BarLeft, BarWidth, nullptr);

    s.CurLeft = 130;  // 600000 / 424 = 1415.09
    EXPECT_EQ(MarkerLeftToMs(s, 600000), 1415);
    e.CurLeft = 136;  // 600000 / 425 = 1411.76
    EXPECT_EQ(MarkerLeftToMs(e, 600000), 1412);

    s.CurLeft = 553;
    EXPECT_EQ(MarkerLeftToMs(s, 5400000), 5400000);
    e.CurLeft = 560;
    EXPECT_EQ(MarkerLeftToMs(e, std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::max());
    s.CurLeft = 129;
    EXPECT_EQ(MarkerLeftToMs(s, 600000), 0);

    // A record without a span has no mapping and must not divide by zero.
    TMarkerDrag flat;
    flat.CurLeft = 5;
    EXPECT_EQ(MarkerLeftToMs(flat, 600000), 0);
}

TEST(MarkerDragTest, TimeToPixel) {
    const TMarkerDrag s = StartMarkerAtReset(BarLeft, BarWidth, nullptr);
    const TMarkerDrag e = EndMarkerAtReset(BarLeft, BarWidth, nullptr);

    EXPECT_EQ(MsToMarkerLeft(s, 300000, 600000), 341);  // 212 exactly
    EXPECT_EQ(MsToMarkerLeft(e, 300000, 600000), 347);  // 212.5 -> 212
    EXPECT_EQ(MsToMarkerLeft(s, 0, 600000), 129);
    EXPECT_EQ(MsToMarkerLeft(e, 600000, 600000), 560);
    EXPECT_EQ(MsToMarkerLeft(s, 3599999999, 3599999999), 553);

    // No stream length: the marker keeps its time-0 place.
    EXPECT_EQ(MsToMarkerLeft(s, 0, 0), 129);
    EXPECT_EQ(MsToMarkerLeft(e, 1234, 0), 135);
    EXPECT_EQ(MsToMarkerLeft(e, 1234, -5), 135);

    // Absurd inputs saturate instead of overflowing.
    EXPECT_EQ(MsToMarkerLeft(s, std::numeric_limits<int64_t>::max(), 1),
              std::numeric_limits<int32_t>::max());
}

TEST(MarkerDragTest, DragKeepsGrabPointAndLimits) {
    TMarkerDrag s = StartMarkerAtReset(BarLeft, BarWidth, nullptr);
    s.LastPoint = {137, 180};  // grabbed 8 pixels into the marker at 129

    // Moving left of the lower limit: nothing moves, the grab point stays.
    EXPECT_FALSE(DragMarkerTo(s, 129, {120, 180}).has_value());
    EXPECT_EQ(s.LastPoint.X, 137);

    // One pixel right of the grab point moves the marker by one; Y is ignored.
    EXPECT_EQ(DragMarkerTo(s, 129, {138, 400}), 130);
    EXPECT_EQ(s.CurLeft, 130);
    EXPECT_EQ(s.LastPoint.X, 138);

    // Far past the upper limit: held at MaxLeft, but LastPoint takes the
    // whole pointer position.
    EXPECT_EQ(DragMarkerTo(s, 130, {900, 180}), 553);
    EXPECT_EQ(s.LastPoint.X, 900);
    // Coming back part of the way does not move it until the pointer
    // passes the spot where it last moved the marker.
    EXPECT_FALSE(DragMarkerTo(s, 553, {950, 180}).has_value());
    EXPECT_EQ(DragMarkerTo(s, 553, {899, 180}), 552);
}
