#pragma once
// The preview device the engine plays through. It mirrors a small
// command-message media interface: open a file, millisecond time format,
// seek, play to a position (returns at once), mode, position, close.
// The engine owns one device object and keeps at most one file open on it.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vivizu {

// Raised when the device cannot open a file; carries the device's own text.
// The destructor is defined out of line so that the class's type information
// has one home (engine/MediaDevice.cpp): the preview module throws it and the
// program catches it.
class TMediaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~TMediaError() override;
};

enum class TMediaMode { NotReady, Stopped, Playing };

class TMediaDevice {
public:
    virtual ~TMediaDevice();
    // Opens FileName for play; throws TMediaError with the device's text.
    virtual void Open(const std::string& fileName) = 0;
    virtual bool IsOpen() const = 0;
    // Positions are milliseconds from the start of the audio; a position
    // past the end of the stream means its end. Seek stops any playback.
    virtual bool Seek(uint32_t ms) = 0;
    // Starts playback from the current position up to ms and returns at
    // once; playback goes on by itself and ends in mode Stopped, the device
    // still open. False, and nothing plays, when ms is not past the position.
    virtual bool PlayTo(uint32_t ms) = 0;
    // NotReady when nothing is open.
    virtual TMediaMode Mode() const = 0;
    // Position in ms of what has reached the listener; -1 when nothing is
    // open.
    virtual int64_t Position() const = 0;
    // Ends playback at once and releases the file; harmless when closed.
    virtual void Close() = 0;
};

} // namespace vivizu
