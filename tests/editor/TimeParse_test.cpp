// Reading typed time texts back: the tens-digit rule, blanks and the sum.
#include "editor/TimeParse.h"

#include <gtest/gtest.h>

using namespace vivizu;

TEST(TimeParseTest, NormalizeClampsTensDigitsOnly) {
    EXPECT_EQ(NormalizeTimeText("000:75:00.000"), "000:55:00.000");
    EXPECT_EQ(NormalizeTimeText("000:00:99.000"), "000:00:59.000");
    EXPECT_EQ(NormalizeTimeText("000:60:60.000"), "000:50:50.000");
    EXPECT_EQ(NormalizeTimeText("999:59:59.999"), "999:59:59.999");
    // The units digits and the hours never change.
    EXPECT_EQ(NormalizeTimeText("987:09:09.999"), "987:09:09.999");
}

TEST(TimeParseTest, NormalizeFillsBlanks) {
    EXPECT_EQ(NormalizeTimeText("0 0:0 :  .  5"), "000:00:00.005");
    EXPECT_EQ(NormalizeTimeText("   :7 :8 .   "), "000:50:50.000");
    EXPECT_EQ(NormalizeTimeText("12"), "1200000000000");
    EXPECT_EQ(NormalizeTimeText("12").size(), TimeTextLength);
}

TEST(TimeParseTest, TextToMs) {
    EXPECT_EQ(TimeTextToMs("000:00:00.000"), 0);
    EXPECT_EQ(TimeTextToMs("001:02:03.004"), 3723004);
    EXPECT_EQ(TimeTextToMs("000:05:00.000"), 300000);
    EXPECT_EQ(TimeTextToMs("999:59:59.999"), 3599999999LL);
    // A part that is not a number counts as 0; a short text reads what it has.
    EXPECT_EQ(TimeTextToMs("0x1:02:-3.  4"), 120000);
    EXPECT_EQ(TimeTextToMs("002:01"), 7200000 + 60000);
    EXPECT_EQ(TimeTextToMs(""), 0);
}
