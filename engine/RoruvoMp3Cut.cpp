// The cut: the checks before it, its plan on the frame index, and the one
// writer that copies the planned frames byte for byte into a new file with
// what the options add around them.
#include "engine/RoruvoMp3.h"

#include "engine/cut/CutPlan.h"
#include "engine/cut/CutWriter.h"
#include "engine/cut/ExactCut.h"
#include "engine/cut/GainPlan.h"
#include "engine/cut/GainTransform.h"
#include "engine/cut/StretchChapters.h"
#include "engine/io/FileStream.h"
#include "engine/io/SameFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {
namespace {

TCutResult NotWritable(const std::string& out, int code, const std::string& reason)
{
    return CutOutcome(TCutStatus::DestinationNotWritable, code,
                   out + ": the output file cannot be created (" + reason + ")");
}

// True when path and each of its names are within the system's limits.
bool PathFits(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return false;
    size_t start = 0;
    for (size_t slash = path.find('/'); ; slash = path.find('/', start)) {
        const size_t end = slash == std::string::npos ? path.size() : slash;
        if (end - start > NAME_MAX)
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

} // namespace

std::optional<TCutResult> TRoruvoMP3::CheckDestination(const TInputFile& input,
                                                       const std::string& OutFileName)
{
    if (OutFileName.empty())
        return NotWritable(OutFileName, ENOENT, std::strerror(ENOENT));
    if (OutFileName.back() == '/')
        return NotWritable(OutFileName, EISDIR, std::strerror(EISDIR));
    struct stat out {};
    if (stat(OutFileName.c_str(), &out) != 0)
        return std::nullopt; // a new file; creating it tells whether it can be
    // By more than the inode: on some file systems one file has several.
    if (IsSameFile(input.Descriptor(), input.Identity(), OutFileName))
        return CutOutcome(TCutStatus::OutputIsInput, 0, OutFileName + ": is the input file; it is not overwritten");
    if (S_ISDIR(out.st_mode))
        return NotWritable(OutFileName, EISDIR, std::strerror(EISDIR));
    if (!S_ISREG(out.st_mode))
        return NotWritable(OutFileName, 0, "it is not a regular file");
    if (access(OutFileName.c_str(), W_OK) != 0) {
        const int code = errno;
        return NotWritable(OutFileName, code, std::strerror(code));
    }
    return std::nullopt;
}

std::optional<TCutResult> TRoruvoMP3::OpenOutput(const std::string& OutFileName,
                                                   std::optional<TOutputFile>& output)
{
    try {
        output.emplace(OutFileName);
    } catch (const std::system_error& e) {
        const int code = e.code().value();
        // The destination's own path fits, but not the temporary file's
        // beside it.
        if (code == ENAMETOOLONG && PathFits(OutFileName))
            return NotWritable(OutFileName, code,
                               e.code().message() + ": no room for the temporary file's name beside it");
        return NotWritable(OutFileName, code, e.code().message());
    }
    return std::nullopt;
}

TCutResult TRoruvoMP3::WriteOutput(const std::string& OutFileName, const std::function<void(TOutputFile&)>& write)
{
    std::optional<TOutputFile> output;
    if (std::optional<TCutResult> refusal = OpenOutput(OutFileName, output))
        return *refusal;
    try {
        write(*output);
    } catch (const TStreamWriteError& e) {
        return CaughtError(TCutStatus::WriteError, e);
    }
    return {};
}

TCutResult TRoruvoMP3::CaughtError(TCutStatus status, const std::system_error& e)
{
    TCutResult result = CutOutcome(status, e.code().value(), e.what());
    result.Error = std::current_exception();
    return result;
}

TCutResult TRoruvoMP3::CutSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                                  const TID3v1Tag& Tag, const TCutOptions& Options)
{
    if (!Valid)
        return CutOutcome(TCutStatus::NotAnalysed, 0, FileName + ": not an MP3 stream");
    struct stat st {};
    if (stat(FileName.c_str(), &st) != 0) {
        const int code = errno;
        return CutOutcome(TCutStatus::InputGone, code,
                       FileName + ": the input file is gone (" + std::strerror(code) + ")");
    }
    try {
        TInputFile input(FileName);
        if (std::optional<TCutResult> refusal = CheckDestination(input, OutFileName))
            return *refusal;
        // The index and the tags were read from the file as it was; another
        // program may have changed it since.
        if (!AsAnalysed(input))
            return CutOutcome(TCutStatus::SourceChanged, 0,
                           FileName + ": the file has changed since it was opened; open it again");
        return Cut(input, StartMs, EndMs, OutFileName, Tag, Options);
    } catch (const std::system_error& e) {
        return CaughtError(TCutStatus::ReadError, e);
    }
}

TCutResult TRoruvoMP3::Cut(TInputFile& input, int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                           const TID3v1Tag& Tag, const TCutOptions& Options)
{
    const bool header = Options.LengthHeader || Options.ExactCut;
    if (header && Info.Layer != 3)
        return CutOutcome(TCutStatus::NotApplicable, 0,
                       FileName + ": a length header and an exact cut need Layer III audio");
    if (Options.ChangesVolume() && Info.Layer != 3)
        return CutOutcome(TCutStatus::NotApplicable, 0,
                       FileName + ": gain and fades need Layer III audio (Layers I and II keep their "
                                  "levels in scale factors)");

    TCutLayout layout = Layout(input, Tag, Options);
    // Without a header, a fade-out or chapters (each needs the end first)
    // nothing needs the whole plan first: the copy walks as it writes, past
    // removed stretches too when the volume stays, and every byte is read
    // once. When that walk finds nothing left or a join that no frame can
    // carry, the whole plan is made and says which.
    const bool walkAsWritten = !header && Options.FadeOutMs <= 0 && !Options.StretchChapters &&
                               (Options.Removed.empty() || !Options.ChangesVolume());
    for (const bool open : {walkAsWritten, false}) {
        TCutPlan plan;
        TStreamTime sourceZero, firstSource; // for chapters: START and END's timeline, where the cut begins on it
        if (Options.ExactCut) {
            if (!FDecoderIndex)
                FDecoderIndex.emplace(AudioStart(), AudioEnd(), TWalkRule::Decoder);
            const TExactPlan exact = PlanExactEdit(*FDecoderIndex, input, SourceEncoder(input), StartMs, EndMs,
                                                   Options.Removed);
            if (!exact.Declined.empty())
                return CutOutcome(TCutStatus::NotApplicable, 0, FileName + ": " + exact.Declined);
            plan = exact.Plan;
            sourceZero = exact.Zero;
            firstSource = exact.Start;
        } else {
            plan = PlanPlainCut(FIndex, input, StartMs, EndMs, open);
            if (plan.Open)
                RemoveStretchesOpen(plan, Options.Removed);
            else if (!RemoveStretches(plan, input, Options.Removed))
                return CutOutcome(TCutStatus::NotApplicable, 0,
                                  FileName + ": no frame of this stream can carry the bytes a join needs");
            if (header) {
                const TEncoderInfo encoder = SourceEncoder(input);
                plan.Delay = plan.FromFirst ? encoder.Delay : 0;
                plan.Padding = plan.ToLast ? encoder.Padding : 0;
            }
        }
        if (Options.DeclineEmpty && (EndMs <= StartMs || plan.Empty()))
            return CutOutcome(TCutStatus::NothingToCut, 0,
                              EndMs <= StartMs ? "nothing to cut: END is not after START"
                              : !Options.Removed.empty() && StartMs < FIndex.Duration().WholeMs()
                                  ? "nothing to cut: the removed stretches cover START to END"
                                  : "nothing to cut: START is past the end of the stream");
        if (const auto refusal = FadesDoNotFit(plan, Options))
            return CutOutcome(TCutStatus::NotApplicable, 0, *refusal);
        if (Options.StretchChapters && !plan.Empty())
            layout.Id3v2Tag = ChapteredId3v2Tag(
                layout.Id3v2Tag,
                StretchChapters(plan, Options.ExactCut ? firstSource : plan.Index->StartOf(plan.First), sourceZero));
        if (plan.Open && !plan.OpenRemoved.empty()) {
            try {
                return WritePlanned(input, plan, layout, OutFileName, Options);
            } catch (const TCutAbandoned&) {
                continue;
            }
        }
        return WritePlanned(input, plan, layout, OutFileName, Options);
    }
    return {}; // not reached: the whole plan is written or refused
}

TCutResult TRoruvoMP3::WritePlanned(TInputFile& input, const TCutPlan& plan, const TCutLayout& layout,
                                    const std::string& OutFileName, const TCutOptions& Options)
{
    if (layout.LengthHeader && !plan.OneFormat())
        return CutOutcome(TCutStatus::NotApplicable, 0,
                       FileName + ": the selection changes sample rate or MPEG version; "
                                  "one header frame cannot describe it");

    const TGainPlan gain = PlanGain(plan, Options.GainSteps, Options.FadeInMs, Options.FadeOutMs, Options.JoinFadeMs);
    TGainReport report;
    const TCutResult written = WriteOutput(OutFileName, [&](TOutputFile& output) {
        WriteCut(input, plan, layout, output, gain.Active() ? MakeGainTransform(gain, report) : TFrameTransform{});
    });
    if (!written.Ok())
        return written;
    return GainOutcome(gain.Constant, report);
}

bool TRoruvoMP3::SaveSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                             TID3v1Tag Tag)
{
    const TCutResult result = CutSegment(StartMs, EndMs, OutFileName, Tag, CutOptions);
    if (result.Error)
        std::rethrow_exception(result.Error);
    return result.Ok();
}

} // namespace vivizu
