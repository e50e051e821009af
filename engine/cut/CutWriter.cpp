#include "engine/cut/CutWriter.h"

#include "engine/cut/LengthHeader.h"

#include <algorithm>

namespace vivizu {
namespace {

// Copies the bytes [from, to) of input to output in pieces as large as the
// input's buffer, calling seen for each piece.
// With direct set (nothing needs to see the bytes) the system copies them
// first, as far as it can.
template <class Seen>
void CopyBytes(TInputFile& input, int64_t from, int64_t to, TOutputFile& output, const Seen& seen, bool direct)
{
    if (direct)
        from += output.CopyFrom(input.Descriptor(), from, to - from);
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

// Writes plan's carrying frame, its frames and its later runs.
void TAudioCopy::WriteFrames(TInputFile& input, const TCutPlan& plan)
{
    TFrameIndex& index = *plan.Index;
    Output.Write(plan.ReservoirFrame);
    Seen(plan.ReservoirFrame);
    const auto seen = [this](std::span<const uint8_t> bytes) { Seen(bytes); };
    // An open plan walks ahead of the copy this many frames at a time.
    constexpr size_t WalkAhead = 512;
    TStreamTime elapsed;
    // Copies the frames from i up to `known` (or, for an open plan, until it
    // has what it wants); false when the open plan is satisfied.
    const auto copyFrames = [&](size_t& i, size_t known) {
        while (i < known) {
            if (plan.Open && elapsed >= plan.Wanted)
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
                if (plan.Open && elapsed >= plan.Wanted)
                    break;
                const TMpegHeader following = index.HeaderOf(next);
                Note(following);
                end += following.FrameLength();
                elapsed += following.Duration();
            }
            CopyBytes(input, position, end, Output, seen, !Header);
            Number += next - i;
            i = next;
        }
        return true;
    };
    size_t i = plan.First;
    for (bool done = false; !done;) {
        if (plan.Open)
            index.ExtendToCount(input, i + WalkAhead);
        const size_t known = plan.Open ? index.Count() : plan.Last;
        done = i >= known;
        if (!copyFrames(i, known))
            done = true;
    }
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
