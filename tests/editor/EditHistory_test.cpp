// The window's edit model without a window: the list of removed stretches
// (merging, lookup, what a cut of a range leaves out) and the undo history
// (steps, merged moves of one gesture, redo dropped by a new edit, depth).
#include "editor/EditHistory.h"
#include "editor/RemovedStretches.h"

#include <gtest/gtest.h>

using namespace vivizu;

namespace {

TRemovedList List(std::initializer_list<std::pair<int64_t, int64_t>> stretches) {
    TRemovedList list;
    for (const auto& [from, to] : stretches)
        list.push_back({from, to});
    return list;
}

std::vector<std::pair<int64_t, int64_t>> Pairs(const TRemovedList& list) {
    std::vector<std::pair<int64_t, int64_t>> pairs;
    for (const TRemoved& r : list)
        pairs.emplace_back(r.FromMs, r.ToMs);
    return pairs;
}

using P = std::vector<std::pair<int64_t, int64_t>>;

TEditState State(int64_t start, int64_t end, TRemovedList removed = {}) {
    return {start, end, std::move(removed)};
}

} // namespace

TEST(RemovedStretches, NewStretchesAreSortedAndMergeWithThoseTheyOverlapOrTouch) {
    TRemovedList list = WithStretch({}, {5000, 6000});
    list = WithStretch(list, {1000, 2000});
    list = WithStretch(list, {8000, 9000});
    EXPECT_EQ(Pairs(list), (P{{1000, 2000}, {5000, 6000}, {8000, 9000}}));
    // Touching at an end joins; an empty or reversed stretch adds nothing.
    EXPECT_EQ(Pairs(WithStretch(list, {2000, 3000})),
              (P{{1000, 3000}, {5000, 6000}, {8000, 9000}}));
    EXPECT_EQ(Pairs(WithStretch(list, {3000, 3000})), Pairs(list));
    EXPECT_EQ(Pairs(WithStretch(list, {4000, 3000})), Pairs(list));
    // One that spans several swallows them all.
    EXPECT_EQ(Pairs(WithStretch(list, {1500, 8500})), (P{{1000, 9000}}));
    EXPECT_EQ(Pairs(WithStretch(list, {5500, 8000})), (P{{1000, 2000}, {5000, 9000}}));
    EXPECT_EQ(Pairs(WithStretch(list, {0, 500})),
              (P{{0, 500}, {1000, 2000}, {5000, 6000}, {8000, 9000}}));
}

TEST(RemovedStretches, LookupClippingAndTheLengthLeft) {
    const TRemovedList list = List({{1000, 2000}, {5000, 6000}});
    EXPECT_EQ(StretchAt(list, 1000), 0u);
    EXPECT_EQ(StretchAt(list, 2000), 0u);
    EXPECT_EQ(StretchAt(list, 5500), 1u);
    EXPECT_FALSE(StretchAt(list, 999));
    EXPECT_FALSE(StretchAt(list, 3000));
    EXPECT_FALSE(StretchAt({}, 0));

    // A cut of 1500..5200 leaves out only the parts within it.
    EXPECT_EQ(Pairs(RemovedWithin(list, 1500, 5200)), (P{{1500, 2000}, {5000, 5200}}));
    EXPECT_EQ(Pairs(RemovedWithin(list, 2000, 5000)), P{});
    EXPECT_EQ(Pairs(RemovedWithin(list, 0, 10000)), Pairs(list));
    EXPECT_EQ(KeptLength(list, 0, 10000), 8000);
    EXPECT_EQ(KeptLength(list, 1500, 5200), 3700 - 700);
    EXPECT_EQ(KeptLength(list, 1200, 1800), 0);
    EXPECT_EQ(KeptLength({}, 300, 200), 0);
    EXPECT_TRUE(SameStretches(list, List({{1000, 2000}, {5000, 6000}})));
    EXPECT_FALSE(SameStretches(list, List({{1000, 2000}})));
    EXPECT_FALSE(SameStretches(list, List({{1000, 2000}, {5000, 6001}})));
}

TEST(RemovedStretches, ATimeOfTheCutMapsToTheSourceStepsOverTheRemovedStretches) {
    const TRemovedList list = List({{1000, 2000}, {3000, 3500}});
    EXPECT_EQ(SourceTimeOfCut({}, 500, 700), 1200);
    EXPECT_EQ(SourceTimeOfCut(list, 500, 0), 500);
    EXPECT_EQ(SourceTimeOfCut(list, 500, 499), 999);
    EXPECT_EQ(SourceTimeOfCut(list, 500, 500), 2000) << "the join: the first time kept after it";
    EXPECT_EQ(SourceTimeOfCut(list, 500, 1499), 2999);
    EXPECT_EQ(SourceTimeOfCut(list, 500, 1500), 3500);
    EXPECT_EQ(SourceTimeOfCut(list, 500, 2000), 4000);
    // A cut that starts inside a stretch starts after it; stretches before
    // the cut count for nothing.
    EXPECT_EQ(SourceTimeOfCut(list, 1500, 0), 2000);
    EXPECT_EQ(SourceTimeOfCut(list, 2500, 400), 2900);
    EXPECT_EQ(SourceTimeOfCut(list, 2500, 600), 3600);
}

TEST(EditHistory, EachEditIsAStepUndoneAndRedoneInOrder) {
    TEditHistory history;
    history.Reset(State(0, 9000));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.Record(State(1000, 9000), TEditKind::StartMove));
    history.Close();
    EXPECT_TRUE(history.Record(State(1000, 4000), TEditKind::EndMove));
    EXPECT_TRUE(history.Record(State(0, 9000, List({{1000, 4000}})), TEditKind::Other));
    EXPECT_TRUE(history.Record(State(0, 9000), TEditKind::Other));
    // The same state again is no step.
    EXPECT_FALSE(history.Record(State(0, 9000), TEditKind::Other));
    EXPECT_EQ(history.Steps(), 4u);

    EXPECT_EQ(history.Undo(), State(0, 9000, List({{1000, 4000}})));
    EXPECT_EQ(history.Undo(), State(1000, 4000));
    EXPECT_EQ(history.Undo(), State(1000, 9000));
    EXPECT_EQ(history.Undo(), State(0, 9000));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(), State(0, 9000)) << "nothing left to undo leaves the state";
    EXPECT_EQ(history.Redo(), State(1000, 9000));
    EXPECT_EQ(history.Redo(), State(1000, 4000));
    EXPECT_TRUE(history.CanRedo());

    // An edit after undoing drops the steps that were undone.
    EXPECT_TRUE(history.Record(State(2000, 4000), TEditKind::StartMove));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(), State(1000, 4000));
    EXPECT_EQ(history.Redo(), State(2000, 4000));
    EXPECT_EQ(history.Redo(), State(2000, 4000));
}

TEST(EditHistory, MovesOfOneEndMergeUntilTheGestureCloses) {
    TEditHistory history;
    history.Reset(State(0, 9000));
    // One drag of the start: many samples, one step.
    for (int64_t t = 100; t <= 1000; t += 100)
        history.Record(State(t, 9000), TEditKind::StartMove);
    EXPECT_EQ(history.Steps(), 1u);
    // A move of the other end is a step of its own, even while open.
    history.Record(State(1000, 8000), TEditKind::EndMove);
    history.Record(State(1000, 7000), TEditKind::EndMove);
    EXPECT_EQ(history.Steps(), 2u);
    history.Close();
    // After the drop the next drag of the same end is a new step.
    history.Record(State(1000, 6000), TEditKind::EndMove);
    EXPECT_EQ(history.Steps(), 3u);
    // Removals never merge, not even with each other.
    history.Record(State(0, 9000, List({{1000, 6000}})), TEditKind::Other);
    history.Record(State(0, 9000, List({{1000, 6000}, {7000, 8000}})), TEditKind::Other);
    EXPECT_EQ(history.Steps(), 5u);

    EXPECT_EQ(history.Undo(), State(0, 9000, List({{1000, 6000}})));
    EXPECT_EQ(history.Undo(), State(1000, 6000));
    EXPECT_EQ(history.Undo(), State(1000, 7000));
    EXPECT_EQ(history.Undo(), State(1000, 9000));
    EXPECT_EQ(history.Undo(), State(0, 9000));
    // An undo ends the gesture: a move after it does not rewrite the step
    // it returned to.
    history.Redo();
    history.Record(State(1200, 9000), TEditKind::StartMove);
    EXPECT_EQ(history.Undo(), State(1000, 9000));
}

TEST(EditHistory, TheOldestStepsGoBeyondTheDepthAndResetStartsAfresh) {
    TEditHistory history(3);
    history.Reset(State(0, 100));
    for (int64_t t = 1; t <= 5; ++t)
        history.Record(State(t, 100), TEditKind::Other);
    EXPECT_EQ(history.Steps(), 3u);
    EXPECT_EQ(history.Undo(), State(4, 100));
    EXPECT_EQ(history.Undo(), State(3, 100));
    EXPECT_EQ(history.Undo(), State(2, 100));
    EXPECT_FALSE(history.CanUndo());

    history.Reset(State(0, 50));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Current(), State(0, 50));
}
