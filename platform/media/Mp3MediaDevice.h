#pragma once
// The preview device: decodes an MP3 file with libmpg123 on a thread of its
// own and feeds an audio output through a bounded sample queue. Positions
// are milliseconds from the start of the stream; the position reported is
// what has reached the listener, counting the output's buffering.
#include "engine/MediaDevice.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/Mpg123Stream.h"
#include "platform/media/SampleRing.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace vivizu {

class TMp3MediaDevice final : public TMediaDevice, private TAudioSource {
public:
    explicit TMp3MediaDevice(std::unique_ptr<TAudioOutput> output);
    ~TMp3MediaDevice() override;
    TMp3MediaDevice(const TMp3MediaDevice&) = delete;
    TMp3MediaDevice& operator=(const TMp3MediaDevice&) = delete;

    // Opens the file and the audio output; on failure nothing stays open.
    void Open(const std::string& fileName) override;
    bool IsOpen() const override { return FStream.IsOpen(); }
    // Stops any playback and moves to ms (the end of the stream at most).
    bool Seek(uint32_t ms) override;
    // Plays from the current position to ms (the end of the stream at
    // most); false when that is no further than the current position.
    bool PlayTo(uint32_t ms) override;
    TMediaMode Mode() const override;
    int64_t Position() const override;
    void Close() override;

private:
    size_t Render(int16_t* out, size_t frames) noexcept override;
    void Decode();
    void StopPlayback();
    // A play was started and not stopped since: its decoding thread runs
    // or has ended and waits to be joined.
    bool Playing() const { return FWorker.joinable(); }
    bool StopRequested() const { return FStop.load(std::memory_order_acquire); }
    // Waits until the audio callback has run once more or a stop is asked.
    void WaitForCallback(uint32_t seenTick);
    // Frames of this play that have reached the listener by now.
    int64_t HeardFrames() const;
    int64_t FramesToMs(int64_t frames) const;

    std::unique_ptr<TAudioOutput> FOutput;
    TMpg123Stream FStream;
    TSampleRing FRing;
    int64_t FPosFrame = 0;     // position while not playing
    int64_t FPlayStart = 0;    // first frame of the current play
    int64_t FPlayEnd = 0;      // frame where it ends
    uint32_t FLatency = 0;     // the output's buffering, in frames
    std::thread FWorker;

    // Shared with the decoding thread and the audio callback.
    std::atomic<bool> FStop{false};
    std::atomic<bool> FDecoded{false};  // every frame of the play is queued
    std::atomic<bool> FDrained{false};  // ... and handed to the output
    std::atomic<bool> FFinished{false}; // ... and heard
    std::atomic<uint32_t> FTick{0};     // counts callbacks; the worker waits on it
    std::mutex FStopMutex;
    std::condition_variable FStopWake;

    // What the callback handed over last, published as a sequence lock:
    // FMarkStart frames had been handed over before the buffer that began
    // with FMarkCount frames of audio at FMarkTime (steady clock, ns).
    std::atomic<uint32_t> FMarkSeq{0};
    std::atomic<int64_t> FMarkStart{0};
    std::atomic<int64_t> FMarkCount{0};
    std::atomic<int64_t> FMarkTime{0};
    int64_t FRendered = 0;              // the callback's own count
    mutable std::atomic<int64_t> FLastHeard{0}; // keeps the position monotonic
};

} // namespace vivizu
