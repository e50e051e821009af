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

} // namespace

void WriteCut(TInputFile& input, const TCutPlan& plan, const TCutLayout& layout, TOutputFile& output,
              const TFrameTransform& transform)
{
    const bool header = layout.LengthHeader && !plan.Empty();
    TFrameIndex& index = *plan.Index;

    // The header frame goes out first with the counts of the plan; the CRC
    // of the audio and whether bitrates differ are known once the frames are
    // written, and then it is rewritten in place.
    TLengthHeaderInput in;
    if (header) {
        in.AudioHeader = plan.AudioHeader();
        if (!plan.ReservoirFrame.empty())
            in.FrameLengths.push_back(static_cast<int32_t>(plan.ReservoirFrame.size()));
        for (size_t i = plan.First; i < plan.Last; ++i)
            in.FrameLengths.push_back(index.HeaderOf(i).FrameLength());
        for (const TPlanRun& run : plan.Later) {
            if (!run.ReservoirFrame.empty())
                in.FrameLengths.push_back(static_cast<int32_t>(run.ReservoirFrame.size()));
            for (size_t i = run.First; i < run.Last; ++i)
                in.FrameLengths.push_back(index.HeaderOf(i).FrameLength());
        }
        in.Delay = plan.Delay;
        in.Padding = plan.Padding;
        in.Version = layout.EncoderText;
    }
    const std::vector<uint8_t> headerFrame = header ? BuildLengthHeader(in) : std::vector<uint8_t>{};

    output.Write(layout.Id3v2Tag);
    const int64_t headerAt = output.Size();
    output.Write(headerFrame);
    output.Write(plan.ReservoirFrame);
    uint16_t crc = header ? Crc16(0, plan.ReservoirFrame) : 0;
    const int firstBitrate = plan.AudioHeader().BitrateIndex();

    std::vector<uint8_t> changed;
    const auto seen = [&](std::span<const uint8_t> bytes) {
        if (header)
            crc = Crc16(crc, bytes);
    };
    // An open plan walks ahead of the copy this many frames at a time.
    constexpr size_t WalkAhead = 512;
    TStreamTime elapsed;
    size_t number = 0; // audio frames written, for the transform
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
            if (header)
                in.Vbr = in.Vbr || frameHeader.BitrateIndex() != firstBitrate;
            if (transform) {
                changed.resize(static_cast<size_t>(frameHeader.FrameLength()));
                input.Seek(position, TSeekOrigin::Begin);
                if (input.Read(changed.data(), changed.size()) < changed.size())
                    throw TStreamReadError(input.FileName());
                transform(changed, frameHeader, number++);
                seen(changed);
                output.Write(changed);
                i = next;
                continue;
            }
            // The runs of frames that follow each other without a gap go
            // out in one copy.
            for (; next < known && index.PositionOf(next) == end; ++next) {
                if (plan.Open && elapsed >= plan.Wanted)
                    break;
                const TMpegHeader following = index.HeaderOf(next);
                if (header)
                    in.Vbr = in.Vbr || following.BitrateIndex() != firstBitrate;
                end += following.FrameLength();
                elapsed += following.Duration();
            }
            CopyBytes(input, position, end, output, seen, !header);
            number += next - i;
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
        output.Write(run.ReservoirFrame);
        seen(run.ReservoirFrame);
        size_t at = run.First;
        copyFrames(at, run.Last);
    }
    if (header) {
        in.MusicCrc = crc;
        output.Overwrite(headerAt, BuildLengthHeader(in));
    }
    output.Write(layout.Id3v1Tag);
    output.Commit();
}

} // namespace vivizu
