#include "engine/RoruvoMp3.h"

#include "engine/decode/SideInfoLevels.h"
#include "engine/frames/FrameWalk.h"
#include "engine/io/FileStream.h"
#include "engine/tags/Id3v2Size.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {
namespace {

constexpr int APEFooterSize = 32;

// The whole APE tag from its footer: the size field (items and footer), and
// the header when the flags say there is one. room is how many bytes lie
// between the start of the audio and the tag's end; a size that does not
// fit there, or is smaller than the footer, is not believed and the footer
// alone counts.
int64_t ApeTagLength(const uint8_t (&footer)[APEFooterSize], int64_t room)
{
    const auto le32 = [&footer](int at) {
        return uint32_t{footer[at]} | uint32_t{footer[at + 1]} << 8 | uint32_t{footer[at + 2]} << 16 |
               uint32_t{footer[at + 3]} << 24;
    };
    const bool hasHeader = (le32(20) & 0x80000000u) != 0;
    const int64_t length = int64_t{le32(12)} + (hasHeader ? APEFooterSize : 0);
    return length >= APEFooterSize && length < room ? length : APEFooterSize;
}

} // namespace

TRoruvoMP3::TRoruvoMP3(const std::string& fileName, std::unique_ptr<TMediaDevice> player)
    : FPlayer(std::move(player))
{
    struct stat st {};
    if (!fileName.empty() && stat(fileName.c_str(), &st) == 0)
        LoadFile(fileName);
}

TRoruvoMP3::~TRoruvoMP3()
{
    if (FPlayer) {
        try {
            FPlayer->Close();
        } catch (...) {
            // Closing on the way out has nobody left to report to.
        }
    }
}

int64_t TRoruvoMP3::AudioStart() const
{
    return int64_t{Info.ID3v2Size} + Info.LeadingZeros;
}

int64_t TRoruvoMP3::AudioEnd() const
{
    // Before the whole APE tag, not only its footer: the tag's items may
    // hold bytes that look like frame headers, and no walk, length or copy
    // may take them for audio.
    return FileSize - Info.ID3v1Size - FApeTagLength;
}

void TRoruvoMP3::LoadFile(const std::string& fileName)
{
    LoadFile(fileName, true);
}

void TRoruvoMP3::LoadFile(const std::string& fileName, bool measureLength)
{
    FileName = fileName;
    FileSize = 0;
    Valid = false;
    Info = TMp3StreamInfo{};
    FIndex = TFrameIndex();
    FLevelEstimate = TGranuleLevels();
    FDecoderIndex.reset();
    FApeTagLength = 0;

    TInputFile input(fileName);
    FileSize = input.Size();
    FModified = input.Identity().st_mtim;

    if (!ReadLeadingTags(input))
        return; // nothing but tags and zero bytes
    // The first frame's whole header must be there.
    uint8_t head[4] = {};
    if (input.Read(head, sizeof head) < sizeof head || head[0] != 0xFF)
        return;

    const TMpegHeader header = TMpegHeader::At(head);
    if (!header.InTables())
        return; // a sync byte, but no frame the tables describe
    Info.Version = header.Version();
    Info.Layer = header.Layer();
    Info.Bitrate = header.Bitrate();
    Info.SampleRate = header.SampleRate();
    Info.Mono = header.Mono();
    Valid = true;

    ReadTrailingTags(input);
    FIndex = TFrameIndex(AudioStart(), AudioEnd());
    if (measureLength) {
        // A frame that runs past the end of the audio ends the stream and
        // does not count: a cut from 0 to the length holds every frame.
        if (EstimateLevels) {
            // Room for the granules of as many frames as the audio holds at
            // the first frame's length.
            FLevelEstimate.Levels.reserve(static_cast<size_t>((AudioEnd() - AudioStart()) /
                                                              std::max(header.FrameLength(), 24)) *
                                              static_cast<size_t>(header.Granules()) + 64);
            FIndex.VisitFrameBytes(
                [this](std::span<const uint8_t> bytes, TMpegHeader frame) {
                    AppendFrameLevels(bytes, frame, FLevelEstimate.Levels);
                },
                FrameLevelsReach());
        }
        try {
            FIndex.ExtendToEnd(input);
        } catch (...) {
            FIndex.VisitFrameBytes({}, 0);
            FLevelEstimate = TGranuleLevels();
            throw;
        }
        FIndex.VisitFrameBytes({}, 0);
        FLevelEstimate.Levels.shrink_to_fit(); // no room kept beyond the levels
        if (EstimateLevels && FIndex.Count() > 0) {
            const TMpegHeader first = FIndex.HeaderOf(0);
            FLevelEstimate.MsPerGranule = first.GranuleDuration().Ms();
        }
        Info.LengthMs = FIndex.Duration().WholeMs();
    }
    if (FPlayer)
        FPlayer->Close(); // a preview of the previous file has ended
}

bool TRoruvoMP3::ReadLeadingTags(TInputFile& input)
{
    // Some taggers write several tags in a row: all of them, and zero bytes
    // between them, count into ID3v2Size; the zero bytes after the last are
    // the leading zeros.
    int64_t at = 0;
    for (;;) {
        uint8_t header[10] = {}; // bytes the file does not hold read as 0
        input.Seek(at, TSeekOrigin::Begin);
        if (input.Read(header, sizeof header) < 3 || std::memcmp(header, "ID3", 3) != 0)
            break;
        const int64_t tagsEnd = at + ID3v2TagLength(header);
        input.Seek(tagsEnd, TSeekOrigin::Begin);
        const TZeroScan scan = SkipZeroPadding(input);
        Info.ID3v2Size = static_cast<int32_t>(std::min<int64_t>(tagsEnd, INT32_MAX));
        Info.LeadingZeros = static_cast<int32_t>(std::min<int64_t>(scan.Count, INT32_MAX));
        if (tagsEnd > INT32_MAX || scan.Position < 0 || scan.Count > INT32_MAX)
            return false;
        at = scan.Position;
    }
    input.Seek(at, TSeekOrigin::Begin);
    return true;
}

void TRoruvoMP3::ReadTrailingTags(TInputFile& input)
{
    // Files too short to hold a tag or a footer have none.
    int64_t apeFooterAt = APEFooterSize;
    if (FileSize >= ID3v1TagSize) {
        uint8_t disk[ID3v1TagSize];
        input.Seek(-ID3v1TagSize, TSeekOrigin::End);
        if (input.Read(disk, sizeof disk) == sizeof disk && std::memcmp(disk, "TAG", 3) == 0) {
            Info.ID3v1Size = ID3v1TagSize;
            Info.Tag = DecodeID3v1Tag(disk);
            apeFooterAt += ID3v1TagSize;
        }
    }
    if (FileSize >= apeFooterAt) {
        uint8_t footer[APEFooterSize] = {};
        input.Seek(-apeFooterAt, TSeekOrigin::End);
        if (input.Read(footer, sizeof footer) == sizeof footer && std::memcmp(footer, "APETAGEX", 8) == 0) {
            Info.APESize = APEFooterSize;
            FApeTagLength = ApeTagLength(footer, FileSize - apeFooterAt + APEFooterSize - AudioStart());
        }
    }
}

const TFrameIndex& TRoruvoMP3::CompleteIndex()
{
    if (Valid && !FIndex.Complete()) {
        TInputFile input(FileName);
        FIndex.ExtendToEnd(input);
    }
    return FIndex;
}

bool TRoruvoMP3::AsAnalysed(const TInputFile& input) const
{
    const struct stat& now = input.Identity();
    return now.st_size == FileSize && now.st_mtim.tv_sec == FModified.tv_sec &&
           now.st_mtim.tv_nsec == FModified.tv_nsec;
}

} // namespace vivizu
