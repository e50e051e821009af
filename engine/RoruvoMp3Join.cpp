// The join: the ranges of several analysed files planned on their frame
// indexes, checked to be one format, and written as one stream through the
// one writer, with one header frame and one set of tags for the whole.
#include "engine/RoruvoMp3.h"

#include "engine/cut/CutPlan.h"
#include "engine/cut/CutWriter.h"
#include "engine/cut/ExactCut.h"
#include "engine/cut/GainPlan.h"
#include "engine/cut/GainTransform.h"
#include "engine/cut/LengthHeader.h"
#include "engine/cut/ReservoirFrame.h"
#include "engine/io/FileStream.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vivizu {
namespace {

// The channel count goes with the format here: a decoder that meets another
// count mid-stream stops or changes its output, and a header describes one.
bool SameJoinFormat(TMpegHeader a, TMpegHeader b)
{
    return a.SameFormat(b) && a.Channels() == b.Channels();
}

std::string FormatText(TMpegHeader h)
{
    const char* version = h.Version() == TMpegVersion::Mpeg1 ? "MPEG-1" : h.Version() == TMpegVersion::Mpeg2 ? "MPEG-2"
                                                                                                              : "MPEG-2.5";
    return std::string(version) + " Layer " + std::to_string(h.Layer()) + ", " + std::to_string(h.SampleRate()) +
           " Hz, " + (h.Channels() == 1 ? "mono" : "stereo");
}

// The play time of what plan writes, its carrying frame included.
TStreamTime PlanDuration(const TCutPlan& plan)
{
    TStreamTime time;
    if (plan.Empty())
        return time;
    if (!plan.ReservoirFrame.empty())
        time += plan.AudioHeader().Duration();
    for (size_t i = plan.First; i < plan.Last; ++i)
        time += plan.Index->HeaderOf(i).Duration();
    return time;
}

// The title of the chapter of mp3 (open as input) in a join.
std::string ChapterTitle(const TRoruvoMP3& mp3, TInputFile& input, const TJoinOptions& options, size_t k)
{
    std::vector<uint8_t> tag(static_cast<size_t>(mp3.Info.ID3v2Size));
    input.Seek(0, TSeekOrigin::Begin);
    if (input.Read(tag.data(), tag.size()) < tag.size())
        throw TStreamReadError(mp3.FileName);
    if (std::string title = Id3v2Title(tag); !title.empty())
        return title;
    if (mp3.Info.ID3v1Size == 128 && !TagFieldText(mp3.Info.Tag.Title).empty()) {
        const std::string_view text = TagFieldText(mp3.Info.Tag.Title);
        return options.TagTextToUtf8 ? options.TagTextToUtf8(text) : Latin1ToUtf8(text);
    }
    return k < options.ChapterTitles.size() ? options.ChapterTitles[k] : std::string();
}

} // namespace

TCutResult TRoruvoMP3::Join(const std::vector<TJoinInput>& inputs, const std::string& OutFileName,
                            const TJoinOptions& Options)
{
    if (inputs.empty())
        return CutOutcome(TCutStatus::NothingToCut, 0, "nothing to join");
    for (const TJoinInput& in : inputs)
        if (!in.Mp3->Valid)
            return CutOutcome(TCutStatus::NotAnalysed, 0, in.Mp3->FileName + ": not an MP3 stream");
    try {
        // Every input stays open until the output is committed.
        std::vector<std::unique_ptr<TInputFile>> files;
        for (const TJoinInput& in : inputs) {
            TRoruvoMP3& mp3 = *in.Mp3;
            struct stat st {};
            if (stat(mp3.FileName.c_str(), &st) != 0) {
                const int code = errno;
                return CutOutcome(TCutStatus::InputGone, code,
                                  mp3.FileName + ": the input file is gone (" + std::strerror(code) + ")");
            }
            files.push_back(std::make_unique<TInputFile>(mp3.FileName));
            if (std::optional<TCutResult> refusal = CheckDestination(*files.back(), OutFileName))
                return *refusal;
            if (!mp3.AsAnalysed(*files.back()))
                return CutOutcome(TCutStatus::SourceChanged, 0,
                                  mp3.FileName + ": the file has changed since it was opened; open it again");
        }

        // Each file's frames in its range, all of one format.
        std::vector<TCutPlan> plans;
        for (size_t k = 0; k < inputs.size(); ++k) {
            TRoruvoMP3& mp3 = *inputs[k].Mp3;
            TInputFile& input = *files[k];
            TCutPlan plan = PlanPlainCut(mp3.FIndex, input, inputs[k].StartMs, inputs[k].EndMs);
            if (plan.Empty())
                return CutOutcome(TCutStatus::NothingToCut, 0,
                                  mp3.FileName + ": nothing to join: the range holds no audio frame");
            const TMpegHeader first = plans.empty() ? plan.AudioHeader() : plans.front().AudioHeader();
            for (size_t i = plan.First; i < plan.Last; ++i)
                if (!SameJoinFormat(mp3.FIndex.HeaderOf(i), first))
                    return CutOutcome(TCutStatus::NotApplicable, 0,
                                      mp3.FileName + ": " + FormatText(mp3.FIndex.HeaderOf(i)) + " does not match " +
                                          FormatText(first) + " of " + inputs.front().Mp3->FileName +
                                          ": a single header cannot describe them, and players stop at the change");
            // A file taken from within begins with a frame that may borrow
            // from frames left behind: a silent frame carries those bytes.
            if (k > 0 && plan.First > 0 && first.Layer() == 3) {
                const std::vector<uint8_t> borrowed = BorrowedBytes(input, mp3.FIndex, 0, plan.First);
                if (!borrowed.empty()) {
                    plan.ReservoirFrame = BuildReservoirFrame(plan.AudioHeader(), borrowed);
                    if (plan.ReservoirFrame.empty())
                        return CutOutcome(TCutStatus::NotApplicable, 0,
                                          mp3.FileName + ": no frame of this stream can carry the bytes a join needs");
                }
            }
            plans.push_back(std::move(plan));
        }
        if (Options.LengthHeader && plans.front().AudioHeader().Layer() != 3)
            return CutOutcome(TCutStatus::NotApplicable, 0,
                              inputs.front().Mp3->FileName + ": a length header needs Layer III audio");
        if (Options.ChangesVolume() && plans.front().AudioHeader().Layer() != 3)
            return CutOutcome(TCutStatus::NotApplicable, 0,
                              inputs.front().Mp3->FileName + ": gain and fades need Layer III audio (Layers I and "
                                                             "II keep their levels in scale factors)");
        TStreamTime length;
        for (const TCutPlan& plan : plans)
            length += PlanLength(plan);
        if (const auto refusal = FadesDoNotFit(length, Options.FadeInMs, Options.FadeOutMs))
            return CutOutcome(TCutStatus::NotApplicable, 0, *refusal);

        // The gapless trims of the ends: the first file's delay when it is
        // taken from its start, the last one's padding when to its end.
        TRoruvoMP3& head = *inputs.front().Mp3;
        TCutOptions layoutOptions;
        layoutOptions.LengthHeader = Options.LengthHeader;
        layoutOptions.KeepID3v2 = Options.KeepID3v2;
        TCutLayout layout = head.Layout(*files.front(), Options.Tag, layoutOptions);
        if (Options.LengthHeader) {
            if (plans.front().FromFirst)
                plans.front().Delay = head.SourceEncoder(*files.front()).Delay;
            if (plans.back().ToLast)
                plans.back().Padding = inputs.back().Mp3->SourceEncoder(*files.back()).Padding;
        }
        if (Options.Chapters) {
            std::vector<TChapter> chapters;
            TStreamTime at;
            for (size_t k = 0; k < plans.size(); ++k) {
                const TStreamTime end = at + PlanDuration(plans[k]);
                chapters.push_back({static_cast<uint32_t>(at.WholeMs()), static_cast<uint32_t>(end.WholeMs()),
                                    ChapterTitle(*inputs[k].Mp3, *files[k], Options, k)});
                at = end;
            }
            layout.Id3v2Tag = ChapteredId3v2Tag(layout.Id3v2Tag, chapters);
        }

        std::vector<TJoinPart> parts;
        for (size_t k = 0; k < plans.size(); ++k)
            parts.push_back({files[k].get(), &plans[k]});
        const TGainPlan gain =
            PlanJoinGain(plans, Options.GainSteps, Options.FadeInMs, Options.FadeOutMs, Options.JoinFadeMs);
        TGainReport report;
        const TCutResult written = WriteOutput(OutFileName, [&](TOutputFile& output) {
            WriteJoin(parts, layout, output, gain.Active() ? MakeGainTransform(gain, report) : TFrameTransform{});
        });
        if (!written.Ok())
            return written;
        return GainOutcome(gain.Constant, report);
    } catch (const std::system_error& e) {
        return CaughtError(TCutStatus::ReadError, e);
    }
}

} // namespace vivizu
