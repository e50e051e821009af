#include "engine/cut/CutWriter.h"

#include "engine/cut/ExactCut.h"
#include "engine/cut/LengthHeader.h"
#include "engine/cut/ReservoirFrame.h"

#include <algorithm>
#include <optional>

namespace vivizu {
namespace {

// Copies the bytes [from, to) of input to output in pieces as large as the
// input's buffer, calling seen for each piece. With direct set (nothing
// needs to see the bytes) the system copies them first, as far as it can;
// else what the input's buffer holds already (the frames a walk has just
// read) goes from there, so that those bytes are not read twice.
template <class Seen>
void CopyBytes(TInputFile& input, int64_t from, int64_t to, TOutputFile& output, const Seen& seen, bool direct)
{
    if (direct)
        from += output.CopyFrom(input.Descriptor(), from, to - from);
    for (std::span<const uint8_t> held; from < to && !(held = input.Buffered(from, static_cast<size_t>(to - from))).empty();) {
        seen(held);
        output.Write(held);
        from += static_cast<int64_t>(held.size());
    }
    input.Seek(from, TSeekOrigin::Begin);
    while (from < to) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(to - from, TInputFile::BufferSize));
        const std::span<const uint8_t> bytes = input.Take(want);
        if (bytes.size() < want)
            throw TStreamReadError(input.FileName());
        seen(bytes);
        output.Write(bytes);
        from += static_cast<int64_t>(want);
    }
}

// What the copy of one output's audio keeps track of across its plans.
struct TAudioCopy {
    TAudioCopy(TOutputFile& output, const TFrameTransform& transform, bool header, int firstBitrate)
        : Output(output), Transform(transform), Header(header), FirstBitrate(firstBitrate)
    {
    }

    TOutputFile& Output;
    const TFrameTransform& Transform;
    bool Header = false;       // a header frame wants the CRC and whether bitrates differ
    int FirstBitrate = 0;
    uint16_t Crc = 0;
    bool Vbr = false;
    size_t Number = 0;         // audio frames written, for the transform
    std::vector<uint8_t> Changed;

    void Seen(std::span<const uint8_t> bytes)
    {
        if (Header)
            Crc = Crc16(Crc, bytes);
    }
    void Note(TMpegHeader frame) { Vbr = Vbr || (Header && frame.BitrateIndex() != FirstBitrate); }
    void WriteFrames(TInputFile& input, const TCutPlan& plan);
    // Writes the silent frame that carries what frame `first` borrows from
    // the frames before it, when it borrows.
    void WriteCarrying(TInputFile& input, const TFrameIndex& index, size_t first);
};

// The lengths of the frames plan writes, in order: each carrying frame and
// the audio frames after it.
void AddFrameLengths(const TCutPlan& plan, std::vector<int32_t>& lengths)
{
    const TFrameIndex& index = *plan.Index;
    const auto add = [&](const std::vector<uint8_t>& carrying, size_t first, size_t last) {
        if (!carrying.empty())
            lengths.push_back(static_cast<int32_t>(carrying.size()));
        for (size_t i = first; i < last; ++i)
            lengths.push_back(index.HeaderOf(i).FrameLength());
    };
    add(plan.ReservoirFrame, plan.First, plan.Last);
    for (const TPlanRun& run : plan.Later)
        add(run.ReservoirFrame, run.First, run.Last);
}

void TAudioCopy::WriteCarrying(TInputFile& input, const TFrameIndex& index, size_t first)
{
    const TMpegHeader header = index.HeaderOf(first);
    if (header.Layer() != 3)
        return;
    const std::vector<uint8_t> borrowed = BorrowedBytes(input, index, 0, first);
    if (borrowed.empty())
        return;
    const std::vector<uint8_t> frame = BuildReservoirFrame(header, borrowed);
    if (frame.empty())
        throw TCutAbandoned("no frame of this stream can carry the bytes a join needs");
    Output.Write(frame);
    Seen(frame);
}

// The walk of an open plan goes this many frames ahead of the copy, which
// follows right behind it and takes the frames from the bytes the walk has
// just read (few enough that the input's buffer keeps them).
constexpr size_t WalkAhead = 64;

// Extends an open plan's walk to count frames, the input keeping the bytes
// from frame i on for the copy that follows.
void WalkTo(TInputFile& input, TFrameIndex& index, size_t i, size_t count)
{
    input.KeepFrom(i < index.Count() ? index.PositionOf(i) : -1);
    index.ExtendToCount(input, count);
}

// Writes an open plan with stretches removed in one walk: the walk goes a
// little ahead, each stretch becomes frames once the walk has passed its
// ends (NearestBoundary gives then what it gives on the whole index), and
// the kept frames are copied right behind the walk. The frames kept and
// the carrying frames are those RemoveStretches plans.
template <class CopyFrames>
void WriteOpenEdit(TAudioCopy& copy, TInputFile& input, const TCutPlan& plan, size_t& i, const CopyFrames& copyFrames)
{
    TFrameIndex& index = *plan.Index;
    const TStreamTime until = index.StartOf(plan.First) + plan.Wanted;
    const auto reached = [&](TStreamTime t) { return index.Complete() || index.Duration() >= t; };
    size_t next = 0;     // the first stretch not yet passed
    bool joined = false; // the frame at i begins a run after a removed stretch
    for (;;) {
        WalkTo(input, index, i, i + WalkAhead);
        const size_t known = index.Count();
        // The last frame walked may yet be the one nearest a stretch's
        // start beyond it; the end and the stretches may come sooner.
        size_t limit = index.Complete() ? known : known - 1;
        std::optional<size_t> last;
        if (reached(until))
            last = index.FirstAtOrAfter(until);
        if (last)
            limit = std::min(limit, *last);
        bool across = false; // the walk must pass a stretch's end first
        while (next < plan.OpenRemoved.size()) {
            const auto [from, to] = plan.OpenRemoved[next];
            if (!reached(from))
                break;
            const size_t a = NearestBoundary(index, from);
            if (a > i) {
                limit = std::min(limit, a);
                break;
            }
            if (!reached(to)) {
                input.KeepFrom(-1); // the copy waits for a stretch's far end: no telling how far
                index.ExtendToTime(input, to);
                across = true;
                break;
            }
            const size_t b = NearestBoundary(index, to);
            if (b > a && b > i) {
                i = b;
                joined = copy.Number > 0;
            }
            ++next;
        }
        if (across)
            continue;
        if (last && i >= *last)
            break;
        if (i < limit) {
            if (joined)
                copy.WriteCarrying(input, index, i);
            joined = false;
            copyFrames(i, limit);
        }
        if (index.Complete() && i >= known)
            break;
    }
    if (copy.Number == 0)
        throw TCutAbandoned("nothing is left");
}

// Writes plan's carrying frame, its frames and its later runs.
void TAudioCopy::WriteFrames(TInputFile& input, const TCutPlan& plan)
{
    TFrameIndex& index = *plan.Index;
    Output.Write(plan.ReservoirFrame);
    Seen(plan.ReservoirFrame);
    const auto seen = [this](std::span<const uint8_t> bytes) { Seen(bytes); };
    TStreamTime elapsed;
    // Copies the frames from i up to `known` (or, for an open plan, until it
    // has what it wants); false when the open plan is satisfied.
    const auto copyFrames = [&](size_t& i, size_t known) {
        while (i < known) {
            if (plan.Open && plan.OpenRemoved.empty() && elapsed >= plan.Wanted)
                return false;
            const int64_t position = index.PositionOf(i);
            const TMpegHeader frameHeader = index.HeaderOf(i);
            int64_t end = position + frameHeader.FrameLength();
            size_t next = i + 1;
            elapsed += frameHeader.Duration();
            Note(frameHeader);
            if (Transform) {
                Changed.resize(static_cast<size_t>(frameHeader.FrameLength()));
                input.Seek(position, TSeekOrigin::Begin);
                if (input.Read(Changed.data(), Changed.size()) < Changed.size())
                    throw TStreamReadError(input.FileName());
                Transform(Changed, frameHeader, Number++);
                Seen(Changed);
                Output.Write(Changed);
                i = next;
                continue;
            }
            // The runs of frames that follow each other without a gap go
            // out in one copy.
            for (; next < known && index.PositionOf(next) == end; ++next) {
                if (plan.Open && plan.OpenRemoved.empty() && elapsed >= plan.Wanted)
                    break;
                const TMpegHeader following = index.HeaderOf(next);
                Note(following);
                end += following.FrameLength();
                elapsed += following.Duration();
            }
            // An open plan's frames were just read by its walk.
            CopyBytes(input, position, end, Output, seen, !Header && !plan.Open);
            Number += next - i;
            i = next;
        }
        return true;
    };
    size_t i = plan.First;
    if (plan.Open && !plan.OpenRemoved.empty()) {
        WriteOpenEdit(*this, input, plan, i, copyFrames);
        input.KeepFrom(-1);
        return;
    }
    for (bool done = false; !done;) {
        if (plan.Open)
            WalkTo(input, index, i, i + WalkAhead);
        const size_t known = plan.Open ? index.Count() : plan.Last;
        done = i >= known;
        if (!copyFrames(i, known))
            done = true;
    }
    input.KeepFrom(-1);
    for (const TPlanRun& run : plan.Later) {
        Output.Write(run.ReservoirFrame);
        Seen(run.ReservoirFrame);
        size_t at = run.First;
        copyFrames(at, run.Last);
    }
}

} // namespace

void WriteJoin(std::span<const TJoinPart> parts, const TCutLayout& layout, TOutputFile& output,
               const TFrameTransform& transform)
{
    const auto audio = std::find_if(parts.begin(), parts.end(), [](const TJoinPart& p) { return !p.Plan->Empty(); });
    const bool header = layout.LengthHeader && audio != parts.end();

    // The header frame goes out first with the counts of the plans; the CRC
    // of the audio and whether bitrates differ are known once the frames are
    // written, and then it is rewritten in place.
    TLengthHeaderInput in;
    if (header) {
        in.AudioHeader = audio->Plan->AudioHeader();
        for (const TJoinPart& part : parts)
            if (!part.Plan->Empty())
                AddFrameLengths(*part.Plan, in.FrameLengths);
        in.Delay = parts.front().Plan->Delay;
        in.Padding = parts.back().Plan->Padding;
        in.Version = layout.EncoderText;
    }
    const std::vector<uint8_t> headerFrame = header ? BuildLengthHeader(in) : std::vector<uint8_t>{};

    output.Write(layout.Id3v2Tag);
    const int64_t headerAt = output.Size();
    output.Write(headerFrame);
    TAudioCopy copy(output, transform, header, header ? in.AudioHeader.BitrateIndex() : 0);
    for (const TJoinPart& part : parts)
        if (!part.Plan->Empty())
            copy.WriteFrames(*part.Input, *part.Plan);
    if (header) {
        in.MusicCrc = copy.Crc;
        in.Vbr = copy.Vbr;
        output.Overwrite(headerAt, BuildLengthHeader(in));
    }
    output.Write(layout.Id3v1Tag);
    output.Commit();
}

void WriteCut(TInputFile& input, const TCutPlan& plan, const TCutLayout& layout, TOutputFile& output,
              const TFrameTransform& transform)
{
    const TJoinPart part{&input, &plan};
    WriteJoin(std::span(&part, 1), layout, output, transform);
}

} // namespace vivizu
