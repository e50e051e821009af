// A split cancelled while it runs stops between two pieces: the pieces in
// place stay whole and are reported, no later one is begun, and no
// temporary file is left behind.
#include "operations/Planner.h"
#include "operations/Runner.h"
#include "tests/engine/Mp3Bytes.h"

#include "engine/cut/SplitPlan.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

// Pieces of mp3 split at the times (ms), named "piece N.mp3" in dir.
std::vector<TSplitPiece> PiecesAt(TRoruvoMP3& mp3, const std::string& dir, std::vector<int> times)
{
    mp3.CompleteIndex();
    std::vector<TStreamTime> at;
    for (int ms : times)
        at.push_back(TStreamTime::FromMs(ms));
    const TSplitRanges ranges = PlanPlainSplit(mp3.Index(), at, false);
    TPieceNaming naming;
    naming.Folder = dir;
    naming.SourceName = "piece";
    return PlanPieces(mp3.Info, ranges.Pieces, naming, {TTagMode::Never, {}}, {}, 1252).Pieces;
}

TEST(SplitCancel, StopsBetweenPiecesAndKeepsOnlyWholePieces)
{
    TRoruvoMP3 mp3(Fixtures + "/cbr128-tags.mp3");
    ASSERT_TRUE(mp3.Valid);

    // The reference: the same split run to its end.
    TempDir whole;
    const std::vector<TSplitPiece> all = PiecesAt(mp3, whole.Path(), {300, 600, 900});
    ASSERT_EQ(all.size(), 4u);
    ASSERT_TRUE(RunJob(SplitJob(mp3, all, {})).Ok());

    // Cancelled once piece k is in place: pieces 0..k are there, byte for
    // byte the uncancelled ones, and nothing else is in the folder.
    for (size_t k = 0; k < 3; ++k) {
        TempDir dir;
        const std::vector<TSplitPiece> pieces = PiecesAt(mp3, dir.Path(), {300, 600, 900});
        std::atomic<bool> cancel{false};
        TJobCallbacks callbacks;
        callbacks.Cancel = &cancel;
        std::vector<size_t> told;
        callbacks.Written = [&](size_t i) {
            told.push_back(i);
            if (i == k)
                cancel = true;
        };
        const TJobReport report = RunJob(SplitJob(mp3, pieces, {}), callbacks);
        EXPECT_TRUE(report.Cancelled) << k;
        EXPECT_FALSE(report.Ok()) << k;
        ASSERT_EQ(report.Written.size(), k + 1);
        ASSERT_EQ(told.size(), k + 1);
        std::vector<std::string> expected;
        for (size_t i = 0; i <= k; ++i) {
            EXPECT_EQ(report.Written[i], pieces[i].FileName);
            EXPECT_EQ(ReadAll(pieces[i].FileName), ReadAll(all[i].FileName)) << i;
            expected.push_back("piece " + std::to_string(i + 1) + ".mp3");
        }
        EXPECT_EQ(dir.Names(), expected) << k;
    }

    // Cancelled before the write: nothing at all.
    TempDir none;
    const std::atomic<bool> stopped{true};
    TJobCallbacks callbacks;
    callbacks.Cancel = &stopped;
    const TJobReport report = RunJob(SplitJob(mp3, PiecesAt(mp3, none.Path(), {300}), {}), callbacks);
    EXPECT_TRUE(report.Cancelled);
    EXPECT_TRUE(report.Written.empty());
    EXPECT_TRUE(none.Names().empty());
}

// The engine's split on its own: a stop that says yes before a piece ends
// the split there, with the count of pieces written.
TEST(SplitCancel, EngineStopIsAskedBeforeEachPiece)
{
    TRoruvoMP3 mp3(Fixtures + "/cbr128-tags.mp3");
    ASSERT_TRUE(mp3.Valid);
    TempDir dir;
    const std::vector<TSplitPiece> pieces = PiecesAt(mp3, dir.Path(), {300, 600});
    int asked = 0;
    const TSplitResult result = mp3.WriteSplit(pieces, {}, {}, [&] { return ++asked == 3; });
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(result.Written, 2u);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"piece 1.mp3", "piece 2.mp3"}));
    // Never stopped: every piece, and the stop asked once a piece.
    TempDir all;
    asked = 0;
    const TSplitResult done = mp3.WriteSplit(PiecesAt(mp3, all.Path(), {300, 600}), {}, {}, [&] {
        ++asked;
        return false;
    });
    EXPECT_FALSE(done.Stopped);
    EXPECT_TRUE(done.Failure.Ok());
    EXPECT_EQ(done.Written, 3u);
    EXPECT_EQ(asked, 3);
}

} // namespace
