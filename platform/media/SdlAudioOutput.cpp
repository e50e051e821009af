#include "platform/media/SdlAudioOutput.h"

#include "engine/MediaDevice.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace vivizu {

namespace {

// About 20 ms per callback: small enough that the position we report stays
// well within 50 ms of what is heard, large enough not to underrun.
uint16_t BufferFrames(int rate)
{
    const auto target = static_cast<unsigned>(rate / 50);
    return static_cast<uint16_t>(std::clamp(std::bit_floor(target), 256u, 4096u));
}

std::string SdlText()
{
    const char* text = SDL_GetError();
    return text != nullptr && *text != '\0' ? text : "No audio output is available";
}

} // namespace

TSdlAudioOutput::~TSdlAudioOutput()
{
    Close();
}

void TSdlAudioOutput::Open(int rate, int channels, TAudioSource& source)
{
    Close();
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Vivizu");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Preview");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw TMediaError(SdlText());
    FSubsystem = true;

    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = BufferFrames(rate);
    want.callback = &TSdlAudioOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device needs, so the
    // callback always sees our own rate and channel count.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        const std::string text = SdlText();
        Close();
        throw TMediaError(text);
    }
    FDevice = device;
    FChannels = channels;
    FSource = &source;
    // The buffer being filled is heard after the one the device is playing.
    FLatency = have.samples;
}

void TSdlAudioOutput::Start()
{
    if (FDevice == 0)
        return;
    {
        std::lock_guard gate(FGate);
        FRunning = true;
    }
    SDL_PauseAudioDevice(FDevice, 0);
}

void TSdlAudioOutput::Pause()
{
    if (FDevice == 0)
        return;
    SDL_PauseAudioDevice(FDevice, 1);
    std::lock_guard gate(FGate); // waits for a Render under way
    FRunning = false;
}

void TSdlAudioOutput::Close()
{
    Pause();
    if (FDevice != 0) {
        SDL_CloseAudioDevice(FDevice);
        FDevice = 0;
    }
    if (FSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSubsystem = false;
    }
    FSource = nullptr;
}

void TSdlAudioOutput::Callback(void* self, uint8_t* stream, int len)
{
    auto* output = static_cast<TSdlAudioOutput*>(self);
    std::unique_lock gate(output->FGate, std::try_to_lock);
    if (!gate.owns_lock() || !output->FRunning) {
        std::memset(stream, 0, static_cast<size_t>(len)); // being paused
        return;
    }
    const size_t frames = static_cast<size_t>(len) / (sizeof(int16_t) * output->FChannels);
    output->FSource->Render(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace vivizu
