// The report's texts: the companion's JSON line of a file's outcome, byte
// for byte, and how the engine's outcomes count for the user.
#include "operations/Report.h"

#include <gtest/gtest.h>

using namespace vivizu;

namespace {

TEST(Report, OutcomeJsonIsTheCompanionsLine)
{
    EXPECT_EQ(OutcomeJson("in.mp3", TOutcome::Done, {"a 1.mp3", "a 2.mp3"}, ""),
              R"({"file": "in.mp3", "status": "done", "written": ["a 1.mp3", "a 2.mp3"], "reason": ""})");
    EXPECT_EQ(OutcomeJson("in.mp3", TOutcome::Declined, {}, "in.mp3: \"odd\"; nothing written"),
              R"({"file": "in.mp3", "status": "declined", "written": [], "reason": "in.mp3: \"odd\"; nothing written"})");
    // A name that is not UTF-8 is given whole in hex as well.
    EXPECT_EQ(OutcomeJson("b\xe4.mp3", TOutcome::Failed, {"b\xe4 1.mp3"}, "x"),
              "{\"file\": \"b\\ufffd.mp3\", \"file_hex\": \"62e42e6d7033\", \"status\": \"failed\", "
              "\"written\": [\"b\\ufffd 1.mp3\"], \"written_hex\": [\"62e420312e6d7033\"], \"reason\": \"x\"}");
}

TEST(Report, RefusalsAreDeclinedAndFileSystemErrorsFailed)
{
    EXPECT_EQ(OutcomeOf(TCutStatus::Done), TOutcome::Done);
    for (TCutStatus s : {TCutStatus::NotAnalysed, TCutStatus::OutputIsInput, TCutStatus::NothingToCut,
                         TCutStatus::NotApplicable})
        EXPECT_EQ(OutcomeOf(s), TOutcome::Declined) << static_cast<int>(s);
    for (TCutStatus s : {TCutStatus::InputGone, TCutStatus::SourceChanged, TCutStatus::DestinationNotWritable,
                         TCutStatus::ReadError, TCutStatus::WriteError})
        EXPECT_EQ(OutcomeOf(s), TOutcome::Failed) << static_cast<int>(s);
}

TEST(Report, GainLinesSayTheStepsAndTheHeldGranules)
{
    TCutResult result;
    result.GainSteps = -3;
    EXPECT_EQ(GainLines(result, true), "gain: -3 steps of 1.5 dB (-4.5 dB)\n");
    EXPECT_EQ(GainLines(result, false), "");
    result.ClampedHigh = 4;
    result.ClampedLow = 1;
    EXPECT_EQ(GainLines(result, false),
              "gain: 4 granule gains would pass the loudest setting and were held at it\n"
              "gain: 1 granule gains would pass the quietest setting and were held at it\n");
}

} // namespace
