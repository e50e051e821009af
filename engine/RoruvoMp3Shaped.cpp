// The cut with options: the source's ID3v2 tag kept in front, a header frame
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

bool TRoruvoMP3::SaveShapedSegment(TInputFile& input, int32_t StartMs, int32_t EndMs,
                                   const std::string& OutFileName, const TID3v1Tag& Tag)
{
    CutDeclined.clear();
    const bool header = CutOptions.LengthHeader || CutOptions.ExactCut;
    if (header && Info.Layer != 3) {
        CutDeclined = "a length header and an exact cut need Layer III audio";
        return false;
    }

    // The source's own header frame, for its encoder delay and padding.
    input.Seek(AudioStart(), TSeekOrigin::Begin);
    const std::span<const uint8_t> first = input.Peek(2048);
    const TEncoderInfo encoder = IsHeaderFrame(first) ? ReadEncoderInfo(first) : TEncoderInfo{};

    const int64_t limit = AudioLimit() - std::max<int64_t>(0, FileSize - input.Size());
    TCutPlan plan;
    if (CutOptions.ExactCut) {
        TExactSource source;
        source.SampleRate = Info.SampleRate;
        source.SamplesPerFrame = Info.Version == 1.0 ? 1152 : 576;
        source.Encoder = encoder;
        plan = PlanExactCut(input, AudioStart(), limit, source, StartMs, EndMs);
    } else {
        plan = PlanTimedCut(input, AudioStart(), limit, StartMs, EndMs);
        plan.Delay = plan.FromFirst ? encoder.Delay : 0;
        plan.Padding = plan.ToLast ? encoder.Padding : 0;
    }

    // The frames in front of the audio, and the CRC of all the audio.
    std::vector<uint8_t> reservoir;
    std::vector<uint8_t> headerFrame;
    if (header && !plan.Frames.empty()) {
        // The header and reservoir frames take version, sample rate and mode
        // from the frame the analysis read, which is Layer III.
        const std::array<uint8_t, 4> audioHeader = HeaderAt(input, AudioStart());
        const int bitrate = HeaderAt(input, plan.Frames.front().Position)[2] >> 4;
        TLengthHeaderInput in;
        in.AudioHeader = audioHeader;
        if (plan.Reservoir) {
            reservoir = BuildReservoirFrame(audioHeader, plan.ReservoirTail);
            in.FrameLengths.push_back(static_cast<int32_t>(reservoir.size()));
        }
        uint16_t crc = Crc16(0, reservoir);
        for (const TCutFrame& frame : plan.Frames) {
            input.Seek(frame.Position, TSeekOrigin::Begin);
            const auto bytes = input.Take(static_cast<size_t>(frame.Length));
            crc = Crc16(crc, bytes);
            in.Vbr = in.Vbr || (bytes[2] >> 4) != bitrate;
            in.FrameLengths.push_back(frame.Length);
        }
        in.MusicCrc = crc;
        in.Delay = plan.Delay;
        in.Padding = plan.Padding;
        in.Version = encoder.Present ? encoder.Version : DefaultEncoderText;
        headerFrame = BuildLengthHeader(in);
    }

    std::vector<uint8_t> id3v2;
    if (CutOptions.KeepID3v2 && Info.ID3v2Size > 0)
        id3v2 = KeptId3v2Tag(ReadBytes(input, 0, static_cast<size_t>(Info.ID3v2Size)), EditedFields(Tag));

    std::optional<TOutputFile> output;
    try {
        output.emplace(OutFileName);
    } catch (const std::system_error&) {
        return false;
    }
    output->Write(id3v2);
    output->Write(headerFrame);
    output->Write(reservoir);
    for (const TCutFrame& frame : plan.Frames) {
        input.Seek(frame.Position, TSeekOrigin::Begin);
        output->Write(input.Take(static_cast<size_t>(frame.Length)));
    }
    if (HasTagMarker(Tag))
        WriteID3v1Tag(*output, Tag);
    output->Commit();
    return true;
}

TId3v2Edits TRoruvoMP3::EditedFields(const TID3v1Tag& Tag) const
{
    TId3v2Edits edits;
    if (!HasTagMarker(Tag))
        return edits;
    // What the source's ID3v1 tag says; a source without one says nothing.
    TID3v1Tag source{};
    source.Genre = 255;
    if (Info.ID3v1Size > 0)
        source = Info.Tag;
    const auto text = [this](std::string_view ansi) {
        return CutOptions.TagTextToUtf8 ? CutOptions.TagTextToUtf8(ansi) : Latin1ToUtf8(ansi);
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
