#pragma once
// What became of a cut, with its reason: the engine's cut reports every
// outcome here, so that callers need not look at the paths again to say why
// a cut was declined or failed.
#include <exception>
#include <string>

namespace vivizu {

enum class TCutStatus {
    Done,                   // the output is written
    NotAnalysed,            // no analysed MP3 stream (Valid is false)
    InputGone,              // the analysed file no longer exists
    OutputIsInput,          // the destination is the input file, by any name
    DestinationNotWritable, // the destination cannot be created or replaced
    NothingToCut,           // no audio frame in the range (only when asked to decline it)
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

    bool Ok() const { return Status == TCutStatus::Done; }
};

struct TCutOptions {
    // Decline a range that holds no audio frame (END not after START, or
    // START past the end of the stream) with NothingToCut and write nothing,
    // instead of writing an output with no frames.
    bool DeclineEmpty = false;
};

} // namespace vivizu
