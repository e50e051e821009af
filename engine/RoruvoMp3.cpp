#include "engine/RoruvoMp3.h"

#include "engine/FileStream.h"
#include "engine/FrameWalk.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {
namespace {

constexpr int APEFooterSize = 32;

// True when path names something an output could be written as: not empty
// and not ending in a folder separator.
bool HasFileNamePart(const std::string& path)
{
    return !path.empty() && path.back() != '/';
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

int64_t TRoruvoMP3::AudioLimit() const
{
    return FileSize - Info.ID3v1Size - Info.APESize - 4;
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

    TInputFile input(fileName);
    FileSize = input.Size();

    uint8_t head[10] = {};
    input.Read(head, sizeof head);
    if (std::memcmp(head, "ID3", 3) == 0) {
        Info.ID3v2Size = ID3v2TagSize(head + 6) + 10;
        input.Seek(Info.ID3v2Size, TSeekOrigin::Begin);
        const TZeroScan scan = SkipZeroPadding(input);
        Info.LeadingZeros = static_cast<int32_t>(std::min<int64_t>(scan.Count, INT32_MAX));
        if (scan.Position < 0 || scan.Count > INT32_MAX)
            return; // nothing but zero bytes after the tag
        std::memset(head, 0, sizeof head);
        input.Read(head, 4);
    }
    if (head[0] != 0xFF)
        return;

    const TMpegFrameHeader header = DecodeFrameHeader(head);
    if (!header.InTables)
        return; // a sync byte, but no frame the tables describe
    Info.Version = header.Version;
    Info.Layer = header.Layer;
    Info.Bitrate = header.Bitrate;
    Info.SampleRate = header.SampleRate;
    Info.Mono = header.Mono;
    Valid = true;

    ReadTrailingTags(input);
    if (measureLength)
        Info.LengthMs = MeasureLengthMs(input);
    if (FPlayer)
        FPlayer->Close(); // a preview of the previous file has ended
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
        char footer[8] = {};
        input.Seek(-apeFooterAt, TSeekOrigin::End);
        if (input.Read(footer, sizeof footer) == sizeof footer && std::memcmp(footer, "APETAGEX", 8) == 0)
            Info.APESize = APEFooterSize;
    }
}

int64_t TRoruvoMP3::MeasureLengthMs(TInputFile& input) const
{
    // The same walk and the same sums as a cut from 0 to the end, so that a
    // cut from 0 to the length holds every frame. A last frame cut short by
    // the end of the file does not count.
    const int64_t limit = AudioLimit();
    double elapsed = 0.0;
    input.Seek(AudioStart(), TSeekOrigin::Begin);
    while (input.Position() < limit) {
        const TFrameStep step = SkipFrame(input);
        if (step.Position <= FileSize)
            elapsed += step.DurationMs;
    }
    return static_cast<int64_t>(elapsed);
}

void TRoruvoMP3::SkipToTime(TInputFile& input, int32_t StartMs)
{
    double elapsed = 0.0;
    while (input.Position() < input.Size() - 4 && StartMs > elapsed)
        elapsed += SkipFrame(input).DurationMs;
}

void TRoruvoMP3::WriteID3v1Tag(TOutputFile& output, const TID3v1Tag& Tag)
{
    // The output holds only copied frames, so the tag is always appended.
    output.Write(EncodeID3v1Tag(Tag));
}

bool TRoruvoMP3::MayWriteOutput(const TInputFile& input, const std::string& OutFileName)
{
    // An output that is the input itself (by any name), that is not a plain
    // file (a folder, a device) or that may not be written is refused before
    // anything is created.
    if (!HasFileNamePart(OutFileName))
        return false;
    struct stat out {};
    if (stat(OutFileName.c_str(), &out) == 0) {
        const struct stat& in = input.Identity();
        if ((out.st_dev == in.st_dev && out.st_ino == in.st_ino) || !S_ISREG(out.st_mode) ||
            access(OutFileName.c_str(), W_OK) != 0)
            return false;
    }
    return true;
}

bool TRoruvoMP3::SaveSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                             TID3v1Tag Tag)
{
    struct stat st {};
    if (!Valid || stat(FileName.c_str(), &st) != 0)
        return false;
    TInputFile input(FileName);

    if (!MayWriteOutput(input, OutFileName))
        return false;
    if (CutOptions.Any())
        return SaveShapedSegment(input, StartMs, EndMs, OutFileName, Tag);
    std::optional<TOutputFile> output;
    try {
        output.emplace(OutFileName);
    } catch (const std::system_error&) {
        return false;
    }

    input.Seek(AudioStart(), TSeekOrigin::Begin);
    if (StartMs > 0)
        SkipToTime(input, StartMs);

    // The wanted duration in 64 bits: a 32-bit difference could wrap. Should
    // the file have become shorter since it was analysed, the walk stops at
    // its present end instead of stepping through bytes that are gone.
    const double wanted = static_cast<double>(int64_t{EndMs} - StartMs);
    const int64_t limit = AudioLimit() - std::max<int64_t>(0, FileSize - input.Size());
    double elapsed = 0.0;
    try {
        while (input.Position() < limit && wanted > elapsed)
            elapsed += CopyFrame(input, *output).DurationMs;
    } catch (const TStreamReadError&) {
        // The file ends inside a frame: what was copied before it stays as
        // the output, without a tag, and the error goes to the caller.
        output->Commit();
        throw;
    }
    if (HasTagMarker(Tag))
        WriteID3v1Tag(*output, Tag);
    output->Commit();
    return true;
}

} // namespace vivizu
