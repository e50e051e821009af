// Time text: written for display, read from what a user types.
#include "engine/TimeText.h"

#include <gtest/gtest.h>

using vivizu::FormatTimeText;
using vivizu::ParseTimeText;

TEST(FormatTimeText, PadsEachPart)
{
    EXPECT_EQ(FormatTimeText(0), "000:00:00.000");
    EXPECT_EQ(FormatTimeText(59999), "000:00:59.999");
    EXPECT_EQ(FormatTimeText(3599999), "000:59:59.999");
    EXPECT_EQ(FormatTimeText(3600000), "001:00:00.000");
    EXPECT_EQ(FormatTimeText(3723004), "001:02:03.004");
    EXPECT_EQ(FormatTimeText(3600000000), "1000:00:00.000"); // more hours, more digits
    EXPECT_EQ(FormatTimeText(-1500), "-000:00:01.500");
}

TEST(ParseTimeText, AcceptsMillisecondsAndClockTimes)
{
    EXPECT_EQ(ParseTimeText("0"), 0);
    EXPECT_EQ(ParseTimeText("61500"), 61500);
    EXPECT_EQ(ParseTimeText("1:02:03.004"), 3723004);
    EXPECT_EQ(ParseTimeText("2:03.5"), 123500);
    EXPECT_EQ(ParseTimeText("03.004"), 3004);
    EXPECT_EQ(ParseTimeText("3.04"), 3040);
    EXPECT_EQ(ParseTimeText("1:30"), 90000);
    EXPECT_EQ(ParseTimeText("90:00"), 5400000); // the leading unit may exceed 59
    EXPECT_EQ(ParseTimeText("000:31:00.000"), 1860000);
    EXPECT_EQ(ParseTimeText("1000:00:00.000"), 3600000000);
}

TEST(ParseTimeText, RejectsMalformedTimes)
{
    for (const char* bad : {"", " 5", "5 ", "-5", "+5", "1e3", "abc", ".5", "5.", "1.2345",
                            "1:60", "1:00:60", "1:2:3:4", ":30", "1::30", "1:30:", "1,5",
                            "1:-1", "9999999999999"}) {
        EXPECT_FALSE(ParseTimeText(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(ParseTimeText, ReadsBackWhatInfoPrints)
{
    for (int64_t ms : {0LL, 1LL, 59999LL, 3723004LL, 7199999LL, 2147483647LL})
        EXPECT_EQ(ParseTimeText(FormatTimeText(ms)), ms);
}
