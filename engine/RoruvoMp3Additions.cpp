// The cut with additions: the source's ID3v2 tag kept in front, a header frame
// that gives players the length, and the exact cut with its reservoir frame.
#include "engine/RoruvoMp3.h"

#include "engine/CutPlan.h"
#include "engine/ExactCut.h"
#include "engine/FileStream.h"
#include "engine/FrameWalk.h"
#include "engine/Id3v2Copy.h"
#include "engine/LengthHeader.h"
#include "engine/ReservoirFrame.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vivizu {
namespace {

// Written as the encoder's text in the header frame of a source whose own
// header frame names none, in the form players look for.
constexpr std::array<uint8_t, 9> DefaultEncoderText{'L', 'A', 'M', 'E', '3', '.', '1', '0', '0'};

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The bytes [from, from + count) of the input.
std::vector<uint8_t> ReadBytes(TInputFile& input, int64_t from, size_t count)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(count);
    input.Seek(from, TSeekOrigin::Begin);
    while (bytes.size() < count) {
        const auto part = input.Take(std::min(count - bytes.size(), TInputFile::BufferSize));
        if (part.empty())
            break;
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

std::array<uint8_t, 4> HeaderAt(TInputFile& input, int64_t position)
{
    std::array<uint8_t, 4> header{};
    input.Seek(position, TSeekOrigin::Begin);
    input.Read(header.data(), header.size());
    return header;
}

} // namespace

TCutResult TRoruvoMP3::CutWithAdditions(TInputFile& input, int32_t StartMs, int32_t EndMs,
                                        const std::string& OutFileName, const TID3v1Tag& Tag,
                                        const TCutOptions& Options)
{
    TCutResult result;
    const bool header = Options.LengthHeader || Options.ExactCut;
    if (header && Info.Layer != 3) {
        result.Status = TCutStatus::NotApplicable;
        result.Message = FileName + ": a length header and an exact cut need Layer III audio";
        return result;
    }

    // The source's own header frame, for its encoder delay and padding.
    input.Seek(AudioStart(), TSeekOrigin::Begin);
    const std::span<const uint8_t> first = input.Peek(2048);
    const TEncoderInfo encoder = IsHeaderFrame(first) ? ReadEncoderInfo(first) : TEncoderInfo{};
    std::array<uint8_t, 4> analysed{};
    std::copy_n(first.begin(), std::min<size_t>(4, first.size()), analysed.begin());

    // Should the file have become shorter since it was analysed, the audio
    // ends that much earlier.
    const int64_t audioEnd = AudioEnd() - std::max<int64_t>(0, FileSize - input.Size());
    TCutPlan plan;
    if (Options.ExactCut) {
        TExactSource source;
        source.SampleRate = Info.SampleRate;
        source.SamplesPerFrame = Info.Version == 1.0 ? 1152 : 576;
        source.Encoder = encoder;
        plan = PlanExactCut(input, AudioStart(), audioEnd, source, StartMs, EndMs);
    } else {
        plan = PlanTimedCut(input, AudioStart(), audioEnd, StartMs, EndMs);
        plan.Delay = plan.FromFirst ? encoder.Delay : 0;
        plan.Padding = plan.ToLast ? encoder.Padding : 0;
    }
    if (Options.DeclineEmpty && plan.Frames.empty()) {
        result.Status = TCutStatus::NothingToCut;
        result.Message = EndMs <= StartMs ? "nothing to cut: END is not after START"
                                          : "nothing to cut: START is past the end of the stream";
        return result;
    }

    // The frames in front of the audio. The header frame goes out first with
    // the counts of the plan; the CRC of the audio and whether bitrates
    // differ are known once the frames are written, and then it is
    // rewritten in place.
    std::vector<uint8_t> reservoir;
    std::vector<uint8_t> headerFrame;
    TLengthHeaderInput in;
    int bitrate = 0;
    if (header && !plan.Frames.empty()) {
        // The header and reservoir frames copy the first audio frame's header
        // (decoders take a frame whose mode or flag bits differ from the next
        // for junk), unless that frame is of another version, layer or sample
        // rate than the frame the analysis read.
        std::array<uint8_t, 4> audioHeader = HeaderAt(input, plan.Frames.front().Position);
        bitrate = audioHeader[2] >> 4;
        if ((audioHeader[1] & 0xFE) != (analysed[1] & 0xFE) || (audioHeader[2] & 0x0C) != (analysed[2] & 0x0C))
            audioHeader = analysed;
        in.AudioHeader = audioHeader;
        if (plan.Reservoir) {
            reservoir = BuildReservoirFrame(audioHeader, plan.ReservoirTail);
            if (reservoir.empty() || LengthHeaderSize(audioHeader) == 0) {
                result.Status = TCutStatus::NotApplicable;
                result.Message = FileName + ": no frame of this stream can carry what the cut needs";
                return result;
            }
            in.FrameLengths.push_back(static_cast<int32_t>(reservoir.size()));
        }
        for (const TCutFrame& frame : plan.Frames)
            in.FrameLengths.push_back(frame.Length);
        in.Delay = plan.Delay;
        in.Padding = plan.Padding;
        in.Version = encoder.Present ? encoder.Version : DefaultEncoderText;
        headerFrame = BuildLengthHeader(in);
    }

    std::vector<uint8_t> id3v2;
    if (Options.KeepID3v2 && Info.ID3v2Size > 0)
        id3v2 = KeptId3v2Tag(ReadBytes(input, 0, static_cast<size_t>(Info.ID3v2Size)),
                             EditedFields(Tag, Options));

    std::optional<TOutputFile> output;
    if (std::optional<TCutResult> refusal = OpenOutput(OutFileName, output))
        return *refusal;
    try {
        output->Write(id3v2);
        const int64_t headerAt = output->Size();
        output->Write(headerFrame);
        output->Write(reservoir);
        uint16_t crc = Crc16(0, reservoir);
        for (const TCutFrame& frame : plan.Frames) {
            input.Seek(frame.Position, TSeekOrigin::Begin);
            const auto bytes = input.Take(static_cast<size_t>(frame.Length));
            if (bytes.size() < static_cast<size_t>(frame.Length))
                throw TStreamReadError(input.FileName());
            if (!headerFrame.empty()) {
                crc = Crc16(crc, bytes);
                in.Vbr = in.Vbr || (bytes[2] >> 4) != bitrate;
            }
            output->Write(bytes);
        }
        if (!headerFrame.empty()) {
            in.MusicCrc = crc;
            output->Overwrite(headerAt, BuildLengthHeader(in));
        }
        if (HasTagMarker(Tag))
            WriteID3v1Tag(*output, Tag);
        output->Commit();
    } catch (const TStreamWriteError& e) {
        return CaughtError(TCutStatus::WriteError, e);
    }
    return result;
}

TId3v2Edits TRoruvoMP3::EditedFields(const TID3v1Tag& Tag, const TCutOptions& Options) const
{
    TId3v2Edits edits;
    if (!HasTagMarker(Tag))
        return edits;
    // What the source's ID3v1 tag says; a source without one says nothing.
    TID3v1Tag source{};
    source.Genre = 255;
    if (Info.ID3v1Size > 0)
        source = Info.Tag;
    const auto text = [&Options](std::string_view ansi) {
        return Options.TagTextToUtf8 ? Options.TagTextToUtf8(ansi) : Latin1ToUtf8(ansi);
    };
    const auto edit = [&](std::optional<std::string>& to, std::string_view now, std::string_view before) {
        if (now != before)
            to = text(now);
    };
    edit(edits.Title, TagFieldText(Tag.Title), TagFieldText(source.Title));
    edit(edits.Artist, TagFieldText(Tag.Artist), TagFieldText(source.Artist));
    edit(edits.Album, TagFieldText(Tag.Album), TagFieldText(source.Album));
    edit(edits.Year, TagFieldText(Tag.Year), TagFieldText(source.Year));
    edit(edits.Comment, TagFieldText(Tag.Comment), TagFieldText(source.Comment));
    if (Tag.Track != source.Track)
        edits.Track = Tag.Track;
    if (Tag.Genre != source.Genre)
        edits.Genre = Tag.Genre;
    return edits;
}

} // namespace vivizu
