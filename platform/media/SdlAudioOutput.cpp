#include "platform/media/SdlAudioOutput.h"

#include "engine/MediaDevice.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
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
    if (FDevice != 0)
        SDL_PauseAudioDevice(FDevice, 0);
}

void TSdlAudioOutput::Pause()
{
    // SDL runs the callback under the device lock and pausing takes that
    // lock, so the callback is not running once this returns.
    if (FDevice != 0)
        SDL_PauseAudioDevice(FDevice, 1);
}

void TSdlAudioOutput::Close()
{
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
    const size_t frames = static_cast<size_t>(len) / (sizeof(int16_t) * output->FChannels);
    output->FSource->Render(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace vivizu
