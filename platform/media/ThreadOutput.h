#pragma once
// Audio outputs without a sound card, driven by a thread of their own:
// TSilentOutput takes samples at the real-time pace and drops them;
// TRecordingOutput takes them as fast as they come and keeps the audio.
// Both stand in for the sound system when the preview device is tested.
#include "platform/media/AudioOutput.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace vivizu {

class TThreadOutput : public TAudioOutput {
public:
    ~TThreadOutput() override;

    void Open(int rate, int channels, TAudioSource& source) override;
    void Start() override;
    void Pause() override;
    void Close() override;
    uint32_t LatencyFrames() const override { return 0; }

protected:
    TThreadOutput() = default;
    // Receives each rendered buffer on the output thread; `audio` frames at
    // its front are real audio. Returns true to ask for the next buffer at
    // once instead of one period later.
    virtual bool Deliver(const int16_t* samples, size_t frames, size_t audio) = 0;
    int Channels() const { return FChannels; }

private:
    void Run();

    int FRate = 0;
    int FChannels = 0;
    size_t FPeriod = 0; // frames per Render call
    TAudioSource* FSource = nullptr;
    std::vector<int16_t> FBuffer;

    std::mutex FControl; // serialises Start, Pause and Close
    std::mutex FWakeMutex;
    std::condition_variable FWake;
    std::atomic<bool> FStop{false}; // set under FWakeMutex
    std::thread FThread;
};

// Each final output stops the thread in its own destructor, while the
// Deliver it overrides still exists.
class TSilentOutput final : public TThreadOutput {
public:
    ~TSilentOutput() override { Close(); }

protected:
    bool Deliver(const int16_t*, size_t, size_t) override { return false; }
};

class TRecordingOutput final : public TThreadOutput {
public:
    ~TRecordingOutput() override { Close(); }
    // The audio received so far, interleaved.
    std::vector<int16_t> Samples() const;

protected:
    bool Deliver(const int16_t* samples, size_t frames, size_t audio) override;

private:
    mutable std::mutex FLock;
    std::vector<int16_t> FSamples;
};

} // namespace vivizu
