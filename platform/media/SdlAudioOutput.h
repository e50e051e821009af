#pragma once
// Plays through SDL2 on the desktop's default audio device (PulseAudio,
// PipeWire or ALSA, whichever SDL finds; SDL_AUDIODRIVER overrides).
#include "platform/media/AudioOutput.h"

#include <cstdint>
#include <mutex>

namespace vivizu {

class TSdlAudioOutput final : public TAudioOutput {
public:
    TSdlAudioOutput() = default;
    ~TSdlAudioOutput() override;
    TSdlAudioOutput(const TSdlAudioOutput&) = delete;
    TSdlAudioOutput& operator=(const TSdlAudioOutput&) = delete;

    void Open(int rate, int channels, TAudioSource& source) override;
    void Start() override;
    void Pause() override;
    void Close() override;
    uint32_t LatencyFrames() const override { return FLatency; }

private:
    static void Callback(void* self, uint8_t* stream, int len);

    // Render runs only while FRunning is set and the callback holds FGate.
    // The callback only ever tries the lock, so it never waits; Pause takes
    // it, so once Pause returns Render is not running, whatever the SDL
    // driver does about its own locking.
    std::mutex FGate;
    bool FRunning = false; // guarded by FGate

    uint32_t FDevice = 0; // SDL_AudioDeviceID; 0 when closed
    bool FSubsystem = false;
    int FChannels = 0;
    uint32_t FLatency = 0;
    TAudioSource* FSource = nullptr;
};

} // namespace vivizu
