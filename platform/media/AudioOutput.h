#pragma once
// Where the preview device sends its samples. The device takes its output as
// a dependency so that tests can run it on a silent or a recording output,
// while the program plays through the desktop's sound system.
#include <cstddef>
#include <cstdint>

namespace vivizu {

// The producer side: called on the output's own thread.
class TAudioSource {
public:
    virtual ~TAudioSource() = default;
    // Fills `frames` frames of interleaved signed 16-bit samples; frames it
    // has no audio for are filled with silence. Returns the number of frames
    // of real audio at the front of the buffer. Must not block or allocate.
    virtual size_t Render(int16_t* out, size_t frames) noexcept = 0;
};

class TAudioOutput {
public:
    virtual ~TAudioOutput() = default;
    // Prepares the output for interleaved signed 16-bit samples at this rate
    // and channel count, paused. Throws TMediaError carrying the audio
    // system's own text when no output can be opened.
    virtual void Open(int rate, int channels, TAudioSource& source) = 0;
    // Begins calling source.Render.
    virtual void Start() = 0;
    // Stops calling Render. When it returns, Render is not running and is not
    // called again until Start. Safe to call from any thread but the
    // output's own, and when already paused.
    virtual void Pause() = 0;
    // Pauses and releases the output; harmless when not open.
    virtual void Close() = 0;
    // Frames that, after Render returns, still lie ahead of the listener in
    // the output's buffers: what is handed over at time t is heard at about
    // t + LatencyFrames / rate.
    virtual uint32_t LatencyFrames() const = 0;
};

} // namespace vivizu
