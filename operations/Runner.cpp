#include "operations/Runner.h"

#include "engine/io/FileStream.h"
#include "operations/Planner.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <system_error>

namespace vivizu {
namespace {

bool Cancelled(const TJobCallbacks& callbacks)
{
    return callbacks.Cancel != nullptr && callbacks.Cancel->load();
}

// Measures for the job's target what measure measures (samples per channel,
// named by file in a failure); false, with the report filled in, when the
// measurement failed or was stopped.
template <typename TMeasure>
bool MeasureWith(int64_t samples, const std::string& file, const std::string& what, const TJobCallbacks& callbacks,
                 TMeasure measure, TNormalization& n, TJobReport& report)
{
    TDecodeOptions options;
    options.Cancel = callbacks.Cancel;
    if (callbacks.Measuring)
        options.SamplesDone = callbacks.Measuring(samples);
    n = measure(options);
    if (callbacks.Measured)
        callbacks.Measured(what, n);
    if (n.Measured())
        return true;
    report.Cancelled = n.Status == TDecodeStatus::Cancelled;
    report.Stage = TJobStage::Measure;
    report.MeasureMessage = n.Message;
    report.Result = CutOutcome(TCutStatus::NotApplicable, 0, file + ": " + n.Message);
    return false;
}

int64_t RangeSamples(const TRoruvoMP3& mp3, int32_t startMs, int32_t endMs)
{
    return (int64_t{endMs} - startMs) * std::max(mp3.Info.SampleRate, 0) / 1000;
}

// Measures one range for the job's target.
bool Measure(const TJob& job, TRoruvoMP3& mp3, int32_t startMs, int32_t endMs, const std::string& what,
             const TJobCallbacks& callbacks, TNormalization& n, TJobReport& report)
{
    return MeasureWith(
        RangeSamples(mp3, startMs, endMs), mp3.FileName, what, callbacks,
        [&](const TDecodeOptions& options) {
            return MeasureNormalization(mp3, startMs, endMs, *job.Choices.NormalizeLufs, job.Choices.AllowClipping,
                                        options);
        },
        n, report);
}

// The steps of a measured loudness added to steps, and the measurement kept
// for the report; ranges with nothing to measure add none.
void AddSteps(const TNormalization& n, int& steps, TJobReport& report)
{
    if (n.Status != TDecodeStatus::Done)
        return;
    steps += n.Steps.Steps;
    report.Normalized = n;
}

TJobReport Stopped(TJobReport report)
{
    report.Cancelled = true;
    report.Stage = TJobStage::Plan;
    report.Result = CutOutcome(TCutStatus::NotApplicable, 0, "cancelled");
    return report;
}

TJobReport RunCut(const TJob& job, const TJobCallbacks& callbacks)
{
    TJobReport report;
    const TJobSource& source = job.Sources.front();
    TRoruvoMP3& mp3 = *source.Mp3;
    TCutChoices choices = job.Choices;
    choices.Removed = source.Removed;
    if (choices.NormalizeLufs) {
        TNormalization n;
        if (!Measure(job, mp3, source.StartMs, source.EndMs, "", callbacks, n, report))
            return report;
        // An empty range adds nothing: the cut declines it or writes it empty.
        AddSteps(n, choices.GainSteps, report);
    }
    if (Cancelled(callbacks))
        return Stopped(std::move(report));
    const TCutRequest request = BuildCutRequest(mp3.Info, choices, AnsiCodePage());
    report.Result = mp3.CutSegment(source.StartMs, source.EndMs, job.Output, request.Tag, request.Options);
    if (report.Result.Ok()) {
        report.Written.push_back(job.Output);
        if (callbacks.Written)
            callbacks.Written(0);
    }
    return report;
}

// Writes text to path through the safe output path; an error text when it
// cannot.
std::string WriteTextFile(const std::string& path, const std::string& text)
{
    try {
        TOutputFile output(path);
        output.Write(text.data(), text.size());
        output.Commit();
    } catch (const std::system_error& e) {
        return path + ": " + e.code().message();
    }
    return {};
}

TJobReport RunSplit(const TJob& job, const TJobCallbacks& callbacks)
{
    TJobReport report;
    TRoruvoMP3& mp3 = *job.Sources.front().Mp3;
    std::vector<TSplitPiece> pieces = job.Pieces;
    if (job.Choices.NormalizeLufs) {
        // Each piece gets the steps of its own loudness, or all of them
        // those of the whole stream, which the pieces cover.
        TNormalization n;
        if (job.NormalizeTogether) {
            if (!Measure(job, mp3, 0, INT32_MAX, "all pieces", callbacks, n, report))
                return report;
            for (TSplitPiece& piece : pieces)
                piece.GainSteps = n.Steps.Steps;
        } else {
            for (TSplitPiece& piece : pieces) {
                const int64_t endMs = piece.Range.ToEnd ? INT32_MAX : piece.Range.End.WholeMs();
                if (!Measure(job, mp3, static_cast<int32_t>(piece.Range.Start.WholeMs()),
                             static_cast<int32_t>(endMs), piece.FileName, callbacks, n, report))
                    return report;
                piece.GainSteps = n.Steps.Steps;
            }
        }
    }
    if (Cancelled(callbacks))
        return Stopped(std::move(report));
    TCutChoices choices = job.Choices;
    choices.Removed = job.Sources.front().Removed;
    // The pieces carry their own tags; the options are the cut's.
    const TCutRequest request = BuildCutRequest(mp3.Info, choices, AnsiCodePage());
    const TSplitResult result = mp3.WriteSplit(
        pieces, request.Options,
        [&](size_t i) {
            report.Written.push_back(pieces[i].FileName);
            if (callbacks.Written)
                callbacks.Written(i);
        },
        [&] { return Cancelled(callbacks); });
    report.Result = result.Failure;
    // Stopped between pieces: those in place stay and are reported.
    report.Cancelled = result.Stopped;
    if (report.Result.Ok() && !job.CueSheet.empty()) {
        report.CueFailure = WriteTextFile(job.CueSheet, job.CueText);
        report.CueWritten = report.CueFailure.empty();
        if (!report.CueWritten)
            report.Stage = TJobStage::CueSheet;
    }
    return report;
}

TJobReport RunChapters(const TJob& job, const TJobCallbacks& callbacks)
{
    TJobReport report;
    report.Result = job.Sources.front().Mp3->WriteChapters(job.ChapterMarks, job.Output);
    if (report.Result.Ok()) {
        report.Written.push_back(job.Output);
        if (callbacks.Written)
            callbacks.Written(0);
    }
    return report;
}

TJobReport RunJoin(const TJob& job, const TJobCallbacks& callbacks)
{
    TJobReport report;
    if (Cancelled(callbacks))
        return Stopped(std::move(report));
    std::vector<TJoinInput> inputs;
    for (const TJobSource& source : job.Sources)
        inputs.push_back({source.Mp3, source.StartMs, source.EndMs});
    const int codePage = AnsiCodePage();
    TJoinOptions options;
    options.GainSteps = job.Choices.GainSteps;
    if (job.Choices.NormalizeLufs) {
        // The loudness of all the ranges as the join plays them.
        std::vector<TNormalizedRange> ranges;
        int64_t samples = 0;
        for (const TJobSource& source : job.Sources) {
            ranges.push_back({source.Mp3, source.StartMs, source.EndMs});
            // A range to the end counts to the length the analysis found.
            const int64_t length = source.Mp3->Info.LengthMs;
            const auto end = static_cast<int32_t>(length > 0 ? std::min<int64_t>(source.EndMs, length) : source.EndMs);
            samples += RangeSamples(*source.Mp3, source.StartMs, std::max(end, source.StartMs));
        }
        TNormalization n;
        const auto measure = [&](const TDecodeOptions& decode) {
            return MeasureJoinNormalization(ranges, *job.Choices.NormalizeLufs, job.Choices.AllowClipping, decode);
        };
        if (!MeasureWith(samples, job.Sources.front().Mp3->FileName, "", callbacks, measure, n, report))
            return report;
        AddSteps(n, options.GainSteps, report);
        if (Cancelled(callbacks))
            return Stopped(std::move(report));
    }
    options.FadeInMs = job.Choices.FadeInMs;
    options.FadeOutMs = job.Choices.FadeOutMs;
    options.JoinFadeMs = job.Choices.JoinFadeMs;
    options.LengthHeader = job.Choices.LengthHeader;
    options.KeepID3v2 = job.Choices.KeepID3v2;
    options.Chapters = job.JoinChapters;
    options.ChapterTitles = job.ChapterTitles;
    // The first file's tag (with the job's edits) closes the whole.
    options.Tag = BuildCutTag(job.Sources.front().Mp3->Info, job.Choices.Mode, job.Choices.Edits, codePage);
    options.TagTextToUtf8 = [codePage](std::string_view text) { return TagTextToUtf8(text, codePage); };
    report.Result = TRoruvoMP3::Join(inputs, job.Output, options);
    if (report.Result.Ok()) {
        report.Written.push_back(job.Output);
        if (callbacks.Written)
            callbacks.Written(0);
    }
    return report;
}

} // namespace

TJobReport RunJob(const TJob& job, const TJobCallbacks& callbacks)
{
    if (std::optional<TCutResult> refusal = CheckJob(job)) {
        TJobReport report;
        report.Stage = TJobStage::Plan;
        report.Result = std::move(*refusal);
        return report;
    }
    if (job.Sources.empty()) {
        TJobReport report;
        report.Stage = TJobStage::Plan;
        report.Result = CutOutcome(TCutStatus::NotAnalysed, 0, "no source");
        return report;
    }
    switch (job.Kind) {
    case TJobKind::Cut: return RunCut(job, callbacks);
    case TJobKind::Split: return RunSplit(job, callbacks);
    case TJobKind::Chapters: return RunChapters(job, callbacks);
    case TJobKind::Join: return RunJoin(job, callbacks);
    }
    return {};
}

} // namespace vivizu
