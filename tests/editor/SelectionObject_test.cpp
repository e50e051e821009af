// The selection object on its own: the bounds it keeps and the signals its
// views follow.
#include "editor/Selection.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vivizu;

namespace {

TEST(Selection, ANewStreamIsSelectedWholeAndSaysSoOnce) {
    TSelection s;
    QSignalSpy stream(&s, &TSelection::StreamChanged);
    QSignalSpy start(&s, &TSelection::StartChanged);
    s.SetStream(600000);
    EXPECT_EQ(stream.count(), 1);
    EXPECT_EQ(stream.at(0).at(0).toLongLong(), 600000);
    EXPECT_EQ(start.count(), 0);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(s.End(), 600000);
    EXPECT_EQ(s.RulerMax(), 600000);

    s.SetStream(0); // no stream
    EXPECT_EQ(s.End(), 0);
    EXPECT_EQ(s.LengthMs(), 0);
}

TEST(Selection, StartAndEndStayInOrderWithinTheStream) {
    TSelection s;
    s.SetStream(10000);
    s.SetEnd(4000);
    s.SetStart(7000); // past the end: held at it
    EXPECT_EQ(s.Start(), 4000);
    s.SetEnd(1000); // before the start: held at it
    EXPECT_EQ(s.End(), 4000);
    s.SetEnd(20000); // past the stream
    EXPECT_EQ(s.End(), 10000);
    s.SetStart(-5);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(s.BoundStart(99999), 10000);
    EXPECT_EQ(s.BoundEnd(-1), 0);
}

// Every set is announced, also one that leaves the time as it was: a view
// that the user just moved puts itself back where the time says.
TEST(Selection, EverySetIsAnnouncedWithTheTimeKept) {
    TSelection s;
    s.SetStream(10000);
    QSignalSpy end(&s, &TSelection::EndChanged);
    s.SetEnd(10000);
    s.SetEnd(12000);
    ASSERT_EQ(end.count(), 2);
    EXPECT_EQ(end.at(1).at(0).toLongLong(), 10000);
}

// A stream longer than the ruler's 32 bits: the ruler takes the low 32
// bits, the selection's end stays within the stream and not below 0.
TEST(Selection, TheRulerHoldsTheLengthsLow32Bits) {
    TSelection s;
    s.SetStream((int64_t{1} << 32) + 5000);
    EXPECT_EQ(s.RulerMax(), 5000);
    EXPECT_EQ(s.End(), 5000);
    s.SetStream((int64_t{1} << 31) + 7);
    EXPECT_LT(s.RulerMax(), 0);
    EXPECT_GE(s.End(), 0);
}

} // namespace
