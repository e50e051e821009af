#pragma once
// One MP3 file decoded by libmpg123 into interleaved signed 16-bit samples.
// Gapless trimming is off and a Xing/Info header frame is read as a header,
// not played, so sample n of this stream is the same point as time n / rate
// of the engine's frame walk, which counts no time for that frame either.
#include <cstddef>
#include <cstdint>
#include <string>

struct mpg123_handle_struct;

namespace vivizu {

class TMpg123Stream {
public:
    TMpg123Stream() = default;
    ~TMpg123Stream();
    TMpg123Stream(const TMpg123Stream&) = delete;
    TMpg123Stream& operator=(const TMpg123Stream&) = delete;

    // Opens the file and reads its format and exact length. Throws
    // TMediaError carrying the system's or libmpg123's text.
    void Open(const std::string& fileName);
    void Close();
    bool IsOpen() const { return FHandle != nullptr; }

    int Rate() const { return FRate; }
    int Channels() const { return FChannels; }
    int64_t LengthFrames() const { return FLength; } // sample frames

    // Moves to sample frame `frame` (0 .. LengthFrames), sample-exact.
    bool SeekFrame(int64_t frame);
    // Decodes up to maxFrames frames; returns how many, 0 at the end of the
    // stream or when the decoder gives up.
    size_t Read(int16_t* out, size_t maxFrames);

private:
    mpg123_handle_struct* FHandle = nullptr;
    int FFd = -1;
    int FRate = 0;
    int FChannels = 0;
    int64_t FLength = 0;
};

} // namespace vivizu
