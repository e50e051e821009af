// The cut: the frames of the analysed file between two times, copied byte
// for byte into a new file, and an ID3v1 tag after them when asked for.
#include "engine/RoruvoMp3.h"

#include "engine/FileStream.h"
#include "engine/FrameWalk.h"
#include "engine/SameFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {
namespace {

TCutResult Outcome(TCutStatus status, int code, std::string message)
{
    TCutResult result;
    result.Status = status;
    result.Errno = code;
    result.Message = std::move(message);
    return result;
}

TCutResult NotWritable(const std::string& out, int code, const std::string& reason)
{
    return Outcome(TCutStatus::DestinationNotWritable, code,
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

// True when a step that copies an audio frame lies ahead of the input's
// position before the audio ends; the input is left where it was.
bool AudioFrameAhead(TInputFile& input, int64_t audioEnd)
{
    const int64_t from = input.Position();
    bool found = false;
    while (!found && input.Position() < audioEnd - 4) {
        const TFrameStep step = SkipFrame(input, audioEnd);
        if (step.EndOfAudio)
            break;
        found = step.Length > 0;
    }
    input.Seek(from, TSeekOrigin::Begin);
    return found;
}

} // namespace

void TRoruvoMP3::SkipToTime(TInputFile& input, int32_t StartMs, int64_t audioEnd)
{
    // Exact sums: a frame that begins exactly at StartMs is kept.
    SkipFramesUntil(input, audioEnd, TStreamTime::FromMs(StartMs));
}

void TRoruvoMP3::WriteID3v1Tag(TOutputFile& output, const TID3v1Tag& Tag)
{
    // The output holds only copied frames, so the tag is always appended.
    output.Write(EncodeID3v1Tag(Tag));
}

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
        return Outcome(TCutStatus::OutputIsInput, 0, OutFileName + ": is the input file; it is not overwritten");
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

TCutResult TRoruvoMP3::CaughtError(TCutStatus status, const std::system_error& e)
{
    TCutResult result = Outcome(status, e.code().value(), e.what());
    result.Error = std::current_exception();
    return result;
}

TCutResult TRoruvoMP3::CutSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                                  const TID3v1Tag& Tag, const TCutOptions& Options)
{
    if (!Valid)
        return Outcome(TCutStatus::NotAnalysed, 0, FileName + ": not an MP3 stream");
    struct stat st {};
    if (stat(FileName.c_str(), &st) != 0) {
        const int code = errno;
        return Outcome(TCutStatus::InputGone, code,
                       FileName + ": the input file is gone (" + std::strerror(code) + ")");
    }
    try {
        TInputFile input(FileName);
        if (std::optional<TCutResult> refusal = CheckDestination(input, OutFileName))
            return *refusal;
        if (Options.AddsToFrames())
            return CutWithAdditions(input, StartMs, EndMs, OutFileName, Tag, Options);

        // Should the file have become shorter since it was analysed, the
        // audio ends that much earlier.
        const int64_t audioEnd = AudioEnd() - std::max<int64_t>(0, FileSize - input.Size());
        input.Seek(AudioStart(), TSeekOrigin::Begin);
        if (StartMs > 0)
            SkipToTime(input, StartMs, audioEnd);
        if (Options.DeclineEmpty) {
            if (EndMs <= StartMs)
                return Outcome(TCutStatus::NothingToCut, 0, "nothing to cut: END is not after START");
            if (!AudioFrameAhead(input, audioEnd))
                return Outcome(TCutStatus::NothingToCut, 0, "nothing to cut: START is past the end of the stream");
        }

        std::optional<TOutputFile> output;
        if (std::optional<TCutResult> refusal = OpenOutput(OutFileName, output))
            return *refusal;
        try {
            // The wanted duration in 64 bits: a 32-bit difference could wrap.
            const TStreamTime wanted = TStreamTime::FromMs(int64_t{EndMs} - StartMs);
            TStreamTime elapsed;
            while (input.Position() < audioEnd - 4 && wanted > elapsed) {
                const TFrameStep step = CopyFrame(input, *output, audioEnd);
                if (step.EndOfAudio)
                    break;
                elapsed += step.Duration;
            }
            if (HasTagMarker(Tag))
                WriteID3v1Tag(*output, Tag);
            output->Commit();
        } catch (const TStreamWriteError& e) {
            return CaughtError(TCutStatus::WriteError, e);
        }
    } catch (const std::system_error& e) {
        return CaughtError(TCutStatus::ReadError, e);
    }
    return {};
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
