// Pixel/time mapping of the selection markers at its edges: ties, a ruler
// without a span, a stream without a length, inputs beyond any real stream.
// The ordinary figures are checked on the window itself (Selection_test).
#include "editor/MarkerDrag.h"

#include <gtest/gtest.h>
#include <limits>

using namespace vivizu;

TEST(MarkerDragTest, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(212.5), 212);
    EXPECT_EQ(RoundHalfEven(213.5), 214);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1411.76), 1412);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
}

TEST(MarkerDragTest, MappingWithoutSpanOrLengthStaysAtTimeZero) {
    const TMarkerDrag start = StartMarkerAtReset(128, 449, nullptr);
    const TMarkerDrag end = EndMarkerAtReset(128, 449, nullptr);
    EXPECT_EQ(MsToMarkerLeft(start, 0, 0), 129);
    EXPECT_EQ(MsToMarkerLeft(end, 1234, 0), 135);
    EXPECT_EQ(MsToMarkerLeft(end, 1234, -5), 135);

    TMarkerDrag flat;  // ZeroLeft == FullLeft
    flat.CurLeft = 5;
    EXPECT_EQ(MarkerLeftToMs(flat, 600000), 0);
}

TEST(MarkerDragTest, ExtremeInputsNeitherOverflowNorWrap) {
    TMarkerDrag end = EndMarkerAtReset(128, 449, nullptr);
    EXPECT_EQ(MarkerLeftToMs(end, std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::max());
    const TMarkerDrag start = StartMarkerAtReset(128, 449, nullptr);
    EXPECT_EQ(MsToMarkerLeft(start, 3599999999, 3599999999), 553);
    EXPECT_EQ(MsToMarkerLeft(start, std::numeric_limits<int64_t>::max(), 1),
              std::numeric_limits<int32_t>::max());
}
