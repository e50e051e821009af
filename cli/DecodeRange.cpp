#include "cli/DecodeRange.h"

#include "cli/Console.h"
#include "engine/io/FileStream.h"
#include "engine/frames/FrameIndex.h"
#include "engine/frames/MpegHeader.h"
#include "engine/frames/StreamTime.h"
#include "engine/cut/LengthHeader.h"

#include <charconv>
#include <exception>

namespace vivizu {

std::optional<int> ResolveRange(const std::string& fileName, std::optional<int64_t> startMs,
                                std::optional<int64_t> endMs, const std::string& command, TCliRange& range)
{
    TMpegHeader header;
    size_t frames = 0;
    try {
        range.Source = std::make_unique<TRoruvoMP3>();
        range.Source->LoadFile(fileName);
        if (range.Source->Valid)
            frames = range.Source->Index().Count();
        if (frames > 0) {
            TInputFile input(fileName);
            input.Seek(range.Starts()[0], TSeekOrigin::Begin);
            header = TMpegHeader::At(input.Peek(4).data());
        }
    } catch (const std::exception& e) {
        PrintError(e.what());
        return ExitIoError;
    }
    if (frames == 0 || header.SamplesPerFrame() == 0 || header.SampleRate() == 0) {
        PrintError(fileName + ": not an MP3 stream");
        return ExitDeclined;
    }
    // Times on the index's clock, which counts every frame's own length.
    const TFrameIndex& index = range.Source->Index();
    const auto frameAt = [&](int64_t ms) { return index.FirstAtOrAfter(TStreamTime::FromMs(std::max<int64_t>(ms, 0))); };
    range.First = startMs ? frameAt(*startMs) : 0;
    range.Last = endMs ? frameAt(*endMs) : frames;
    range.StartMs = index.StartOf(range.First).WholeMs();
    range.EndMs = index.StartOf(range.Last).WholeMs();
    if (range.First >= range.Last) {
        PrintError(command + ": no audio frame in the range");
        return ExitDeclined;
    }
    try {
        range.Trim = GaplessTrimOf(fileName, range.Source->Index(), range.First, range.Last);
    } catch (const std::exception& e) {
        PrintError(e.what());
        return ExitIoError;
    }
    return std::nullopt;
}

TSampleTrim GaplessTrimOf(const std::string& fileName, const TFrameIndex& index, size_t first, size_t last)
{
    const auto headerFrame = index.LeadingHeaderFrame();
    if (!headerFrame || index.Count() == 0)
        return {};
    TInputFile input(fileName);
    input.Seek(headerFrame->Start, TSeekOrigin::Begin);
    const auto length = static_cast<size_t>(std::max<int64_t>(0, headerFrame->End - headerFrame->Start));
    const TEncoderInfo encoder = ReadEncoderInfo(input.Peek(std::min<size_t>(length, 2048)));
    return GaplessTrim(encoder, first, last, index.Count(), index.HeaderOf(0).SamplesPerFrame());
}

int ReportDecodeFailure(const std::string& command, const TDecodeResult& result)
{
    switch (result.Status) {
    case TDecodeStatus::Done:
        return ExitOk;
    case TDecodeStatus::EmptyRange:
        PrintError(command + ": no audio frame in the range");
        return ExitDeclined;
    case TDecodeStatus::Cancelled:
        PrintError(command + ": interrupted");
        return ExitIoError;
    case TDecodeStatus::ReadError:
    case TDecodeStatus::DecodeError:
        break;
    }
    PrintError(command + ": decoding failed: " + result.Message);
    return ExitIoError;
}

std::optional<unsigned> ParseThreads(const std::string& text)
{
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > 256)
        return std::nullopt;
    return value;
}

} // namespace vivizu
