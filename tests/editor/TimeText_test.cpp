// The window's texts for times, file sizes and MPEG versions.
#include "editor/TimeText.h"

#include <gtest/gtest.h>

using namespace vivizu;

TEST(TimeText, HoursMinutesSecondsMillis) {
    EXPECT_EQ(MsToTimeText(0), "000:00:00.000");
    EXPECT_EQ(MsToTimeText(59999), "000:00:59.999");
    EXPECT_EQ(MsToTimeText(3599999), "000:59:59.999");
    EXPECT_EQ(MsToTimeText(3600000), "001:00:00.000");
    EXPECT_EQ(MsToTimeText(3723004), "001:02:03.004");
    EXPECT_EQ(MsToTimeText(3599999999), "999:59:59.999");
    EXPECT_EQ(MsToTimeText(3600000000), "1000:00:00.000");
    EXPECT_EQ(MsToTimeText(-1500), "-000:00:01.500");
}

// The overview's span label: precision follows the span so that both ends
// read apart; ends rounded, a reversed span shown empty at its start.
TEST(SpanText, PrecisionFollowsTheSpan) {
    EXPECT_EQ(SpanText(12000, 48000), QStringLiteral("0:12\u20130:48"));
    EXPECT_EQ(SpanText(11600, 47400), QStringLiteral("0:12\u20130:47"));
    EXPECT_EQ(SpanText(0, 3600000), QStringLiteral("0:00\u20131:00:00"));
    EXPECT_EQ(SpanText(62340, 70960), QStringLiteral("1:02.3\u20131:11.0"));
    EXPECT_EQ(SpanText(62340, 63612), QStringLiteral("1:02.340\u20131:03.612"));
    EXPECT_EQ(SpanText(5000, 1000), QStringLiteral("0:05.000\u20130:05.000"));
}

TEST(FileSizeText, WholeKilobytesRoundedHalfUpWithThousands) {
    EXPECT_EQ(FileSizeText(0, ","), "1 KB");
    EXPECT_EQ(FileSizeText(1023, ","), "1 KB");
    EXPECT_EQ(FileSizeText(1024, ","), "1 KB");
    EXPECT_EQ(FileSizeText(1535, ","), "1 KB");
    EXPECT_EQ(FileSizeText(1536, ","), "2 KB");
    EXPECT_EQ(FileSizeText(1048576, ","), "1,024 KB");
    EXPECT_EQ(FileSizeText(5000000, ","), "4,883 KB");
    EXPECT_EQ(FileSizeText(5000000, "."), "4.883 KB");
    EXPECT_EQ(FileSizeText(int64_t(5) << 40, ","), "5,368,709,120 KB");
}

TEST(VersionText, ShortestFormWithTheDecimalSeparator) {
    EXPECT_EQ(VersionText(1.0, "."), "1");
    EXPECT_EQ(VersionText(2.0, ","), "2");
    EXPECT_EQ(VersionText(2.5, "."), "2.5");
    EXPECT_EQ(VersionText(2.5, ","), "2,5");
    EXPECT_EQ(VersionText(0.0, "."), "0");
}

TEST(ShortTimeText, MinutesWithoutLeadingZerosHoursOnlyFromAnHourOn) {
    EXPECT_EQ(ShortTimeText(0), "0:00.000");
    EXPECT_EQ(ShortTimeText(62300), "1:02.300");
    EXPECT_EQ(ShortTimeText(59 * 60000 + 59999), "59:59.999");
    EXPECT_EQ(ShortTimeText(3600000 + 2300), "1:00:02.300");
    EXPECT_EQ(ShortTimeText(125 * 3600000LL + 61000), "125:01:01.000");
    EXPECT_EQ(SnapHintText(62300, 62612), QString::fromUtf8("1:02.300 \u2192 1:02.612"));
}
