#pragma once
// What became of a cut, with its reason: the engine's cut reports every
// outcome here, so that callers need not look at the paths again to say why
// a cut was declined or failed.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vivizu {

// A stretch to leave out of a cut, in milliseconds of the source.
struct TRemoved {
    int64_t FromMs = 0;
    int64_t ToMs = 0;
};

enum class TCutStatus {
    Done,                   // the output is written
    NotAnalysed,            // no analysed MP3 stream (Valid is false)
    InputGone,              // the analysed file no longer exists
    SourceChanged,          // the analysed file has changed since it was analysed
    OutputIsInput,          // the destination is the input file, by any name
    DestinationNotWritable, // the destination cannot be created or replaced
    NothingToCut,           // no audio frame in the range (only when asked to decline it)
    NotApplicable,          // the options ask what this stream cannot give (Layers I and II)
    ReadError,              // reading the input failed, or it became shorter
    WriteError,             // writing the output failed; nothing was replaced
};

struct TCutResult {
    TCutStatus Status = TCutStatus::Done;
    // The system's error number where the system gave one, else 0.
    int Errno = 0;
    // One line naming the path concerned and the reason, for the user.
    std::string Message;
    // The exception that ended a read or write, for callers that pass such
    // errors on as exceptions; empty for every other status.
    std::exception_ptr Error;
    // A cut that changed the volume: the constant gain in steps of 1.5 dB,
    // and how many granule-and-channel gains their step would have pushed
    // past 255 (below 0) and were held there instead, never wrapped around.
    int GainSteps = 0;
    int64_t ClampedHigh = 0;
    int64_t ClampedLow = 0;

    bool Ok() const { return Status == TCutStatus::Done; }
};

// An outcome other than Done, with its reason.
inline TCutResult CutOutcome(TCutStatus status, int code, std::string message)
{
    TCutResult result;
    result.Status = status;
    result.Errno = code;
    result.Message = std::move(message);
    return result;
}

struct TCutOptions {
    // Decline a range that holds no audio frame (END not after START, or
    // START past the end of the stream) with NothingToCut and write nothing,
    // instead of writing an output with no frames.
    bool DeclineEmpty = false;

    // What a cut may add to the frames it copies; all off, the output is the
    // copied frames and the optional ID3v1 tag, nothing else.
    // The source's ID3v2 tag at the start of the output, without the frames
    // that describe the old file's length or layout.
    bool KeepID3v2 = false;
    // A "Xing"/"Info" header frame with frame and byte counts, seek table and
    // encoder delay and padding before the audio.
    bool LengthHeader = false;
    // Exactly the samples from START to END of the source's gapless decode,
    // with a clean first sample. Implies the length header.
    bool ExactCut = false;
    // Turns an ID3v1 text (the tag's code page) into UTF-8 for the ID3v2
    // frames that edited fields replace; Latin-1 when not set.
    std::function<std::string(std::string_view)> TagTextToUtf8;

    // Volume (Layer III only; without any of them the frames are copied as
    // they are): steps of 1.5 dB added to every granule's global gain, where
    // a loudness target adds its own steps to the user's; fades over the
    // first and last milliseconds of the piece, from and to silence (with
    // ExactCut measured within the samples players keep).
    int GainSteps = 0;
    int32_t FadeInMs = 0;
    int32_t FadeOutMs = 0;

    // Stretches of the source (milliseconds) left out of the cut; the
    // frames on either side are joined at frame boundaries.
    std::vector<TRemoved> Removed;
    // With stretches removed: a fade out to silence before each join and in
    // from it after, over this many milliseconds on each side.
    int32_t JoinFadeMs = 0;
    // With stretches removed: an ID3v2 chapter (CHAP, with a CTOC) where
    // each kept stretch begins, in the leading tag.
    bool StretchChapters = false;

    bool ChangesVolume() const
    {
        return GainSteps != 0 || FadeInMs > 0 || FadeOutMs > 0 || (JoinFadeMs > 0 && !Removed.empty());
    }
    bool AddsToFrames() const { return KeepID3v2 || LengthHeader || ExactCut; }
};

} // namespace vivizu
