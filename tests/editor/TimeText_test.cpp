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
