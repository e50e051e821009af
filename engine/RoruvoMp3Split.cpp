// A split: consecutive pieces of the stream, each written by the one cut
// writer, all in one pass over the input.
#include "engine/RoruvoMp3.h"

#include "engine/cut/CutPlan.h"
#include "engine/cut/CutWriter.h"
#include "engine/cut/ExactCut.h"
#include "engine/io/FileStream.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>

namespace vivizu {
TCutResult TRoruvoMP3::WritePiece(TInputFile& input, const TSplitPiece& piece, const TCutOptions& Options)
{
    const TCutLayout layout = Layout(input, piece.Tag, Options);
    TCutPlan plan;
    if (Options.ExactCut) {
        if (!FDecoderIndex)
            FDecoderIndex.emplace(AudioStart(), AudioEnd(), TWalkRule::Decoder);
        const int64_t startMs = piece.Range.Start.WholeMs();
        // The last piece asks for everything after its start; the plan ends
        // it where the source's gapless decode ends.
        const int64_t endMs = piece.Range.ToEnd ? INT32_MAX : piece.Range.End.WholeMs();
        const TExactPlan exact = PlanExactCut(*FDecoderIndex, input, SourceEncoder(input),
                                              static_cast<int32_t>(startMs), static_cast<int32_t>(endMs));
        if (!exact.Declined.empty())
            return CutOutcome(TCutStatus::NotApplicable, 0, FileName + ": " + exact.Declined);
        plan = exact.Plan;
    } else {
        plan.Index = &FIndex;
        plan.First = piece.Range.First;
        plan.Last = piece.Range.Last;
        plan.FromFirst = plan.First == 0;
        plan.ToLast = FIndex.Complete() && plan.Last == FIndex.Count();
        if (layout.LengthHeader) {
            const TEncoderInfo encoder = SourceEncoder(input);
            plan.Delay = plan.FromFirst ? encoder.Delay : 0;
            plan.Padding = plan.ToLast ? encoder.Padding : 0;
        }
    }
    if (plan.Empty())
        return CutOutcome(TCutStatus::NothingToCut, 0, piece.FileName + ": the piece holds no audio");
    return WritePlanned(input, plan, layout, piece.FileName, Options);
}

TSplitResult TRoruvoMP3::WriteSplit(const std::vector<TSplitPiece>& pieces, const TCutOptions& Options,
                                    const std::function<void(size_t)>& written, const std::function<bool()>& stop)
{
    TSplitResult result;
    TCutResult& failure = result.Failure;
    if (!Valid) {
        failure = CutOutcome(TCutStatus::NotAnalysed, 0, FileName + ": not an MP3 stream");
        return result;
    }
    if ((Options.LengthHeader || Options.ExactCut) && Info.Layer != 3) {
        failure = CutOutcome(TCutStatus::NotApplicable, 0,
                          FileName + ": a length header and an exact cut need Layer III audio");
        return result;
    }
    struct stat st {};
    if (stat(FileName.c_str(), &st) != 0) {
        const int code = errno;
        failure = CutOutcome(TCutStatus::InputGone, code,
                          FileName + ": the input file is gone (" + std::strerror(code) + ")");
        return result;
    }
    try {
        TInputFile input(FileName);
        if (!AsAnalysed(input)) {
            failure = CutOutcome(TCutStatus::SourceChanged, 0,
                              FileName + ": the file has changed since it was opened; open it again");
            return result;
        }
        // Every destination is checked before the first piece is written, so
        // that a refused name leaves nothing behind.
        for (const TSplitPiece& piece : pieces)
            if (std::optional<TCutResult> refusal = CheckDestination(input, piece.FileName)) {
                failure = *refusal;
                return result;
            }
        if (!Options.ExactCut)
            CompleteIndex();
        for (const TSplitPiece& piece : pieces) {
            // Only between pieces: each piece is written whole to a
            // temporary file that takes its name once complete.
            if (stop && stop()) {
                result.Stopped = true;
                failure = CutOutcome(TCutStatus::NotApplicable, 0, "cancelled");
                return result;
            }
            if (piece.GainSteps == 0) {
                failure = WritePiece(input, piece, Options);
            } else {
                TCutOptions own = Options;
                own.GainSteps += piece.GainSteps;
                failure = WritePiece(input, piece, own);
            }
            if (!failure.Ok())
                return result;
            if (written)
                written(result.Written);
            ++result.Written;
        }
    } catch (const std::system_error& e) {
        failure = CutOutcome(TCutStatus::ReadError, e.code().value(), e.what());
        failure.Error = std::current_exception();
    }
    return result;
}

TCutResult TRoruvoMP3::WriteChapters(const std::vector<TChapter>& chapters, const std::string& OutFileName)
{
    if (!Valid)
        return CutOutcome(TCutStatus::NotAnalysed, 0, FileName + ": not an MP3 stream");
    try {
        TInputFile input(FileName);
        if (!AsAnalysed(input))
            return CutOutcome(TCutStatus::SourceChanged, 0,
                           FileName + ": the file has changed since it was opened; open it again");
        if (std::optional<TCutResult> refusal = CheckDestination(input, OutFileName))
            return *refusal;
        std::vector<uint8_t> source(static_cast<size_t>(Info.ID3v2Size));
        input.Seek(0, TSeekOrigin::Begin);
        if (input.Read(source.data(), source.size()) < source.size())
            throw TStreamReadError(FileName);
        const std::vector<uint8_t> tag = ChapteredId3v2Tag(source, chapters);
        return WriteOutput(OutFileName, [&](TOutputFile& output) {
            output.Write(tag);
            input.Seek(Info.ID3v2Size, TSeekOrigin::Begin);
            for (;;) {
                const std::span<const uint8_t> bytes = input.Take(TInputFile::BufferSize);
                if (bytes.empty())
                    break;
                output.Write(bytes);
            }
            if (input.Position() != FileSize)
                throw TStreamReadError(FileName);
            output.Commit();
        });
    } catch (const std::system_error& e) {
        return CaughtError(TCutStatus::ReadError, e);
    }
}

} // namespace vivizu
