#include "platform/media/ThreadOutput.h"

#include <chrono>

namespace vivizu {

TThreadOutput::~TThreadOutput()
{
    Close();
}

void TThreadOutput::Open(int rate, int channels, TAudioSource& source)
{
    Close();
    std::lock_guard control(FControl);
    FRate = rate;
    FChannels = channels;
    FPeriod = static_cast<size_t>(rate / 50); // 20 ms
    FBuffer.assign(FPeriod * static_cast<size_t>(channels), 0);
    FSource = &source;
}

void TThreadOutput::Start()
{
    std::lock_guard control(FControl);
    if (FSource == nullptr || FThread.joinable())
        return;
    {
        std::lock_guard lock(FWakeMutex);
        FStop = false;
    }
    FThread = std::thread(&TThreadOutput::Run, this);
}

void TThreadOutput::Pause()
{
    std::lock_guard control(FControl);
    if (!FThread.joinable())
        return;
    {
        std::lock_guard lock(FWakeMutex);
        FStop = true;
    }
    FWake.notify_all();
    FThread.join();
}

void TThreadOutput::Close()
{
    Pause();
    std::lock_guard control(FControl);
    FSource = nullptr;
}

void TThreadOutput::Run()
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(
        static_cast<int64_t>(FPeriod) * 1'000'000'000 / FRate);
    auto next = Clock::now();
    for (;;) {
        const size_t audio = FSource->Render(FBuffer.data(), FPeriod);
        if (Deliver(FBuffer.data(), FPeriod, audio)) {
            // Going on at once: look at the flag without the mutex, which
            // this loop would otherwise keep from Pause.
            if (FStop.load())
                return;
            next = Clock::now();
            continue;
        }
        next += period;
        std::unique_lock lock(FWakeMutex);
        if (FWake.wait_until(lock, next, [this] { return FStop.load(); }))
            return;
    }
}

std::vector<int16_t> TRecordingOutput::Samples() const
{
    std::lock_guard lock(FLock);
    return FSamples;
}

bool TRecordingOutput::Deliver(const int16_t* samples, size_t, size_t audio)
{
    std::lock_guard lock(FLock);
    FSamples.insert(FSamples.end(), samples, samples + audio * static_cast<size_t>(Channels()));
    return audio > 0;
}

} // namespace vivizu
