#include "platform/media/Mp3MediaDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace vivizu {

namespace {

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr size_t DecodeChunkFrames = 4608; // four MPEG-1 Layer III frames

} // namespace

TMp3MediaDevice::TMp3MediaDevice(std::unique_ptr<TAudioOutput> output)
    : FOutput(std::move(output))
{
}

TMp3MediaDevice::~TMp3MediaDevice()
{
    Close();
}

void TMp3MediaDevice::Open(const std::string& fileName)
{
    Close();
    FStream.Open(fileName);
    try {
        FOutput->Open(FStream.Rate(), FStream.Channels(), *this);
    } catch (...) {
        FStream.Close();
        throw;
    }
    FLatency = FOutput->LatencyFrames();
    // Half a second of audio between the decoder and the output.
    FRing.Reset(static_cast<size_t>(FStream.Rate() / 2) * static_cast<size_t>(FStream.Channels()));
    FPosFrame = 0;
}

bool TMp3MediaDevice::Seek(uint32_t ms)
{
    if (!IsOpen())
        return false;
    StopPlayback();
    const int64_t frame = static_cast<int64_t>(ms) * FStream.Rate() / 1000;
    FPosFrame = std::min(frame, FStream.LengthFrames());
    return true;
}

bool TMp3MediaDevice::PlayTo(uint32_t ms)
{
    if (!IsOpen())
        return false;
    StopPlayback();
    const int64_t end = std::min(static_cast<int64_t>(ms) * FStream.Rate() / 1000,
                                 FStream.LengthFrames());
    if (end <= FPosFrame || !FStream.SeekFrame(FPosFrame))
        return false;

    FRing.Clear();
    FStop.store(false);
    FDecoded.store(false);
    FDrained.store(false);
    FFinished.store(false);
    FMarkStart.store(0);
    FMarkCount.store(0);
    FMarkTime.store(0);
    FRendered = 0;
    FLastHeard.store(0);
    FPlayStart = FPosFrame;
    FPlayEnd = end;
    FWorker = std::thread(&TMp3MediaDevice::Decode, this);
    FOutput->Start();
    return true;
}

TMediaMode TMp3MediaDevice::Mode() const
{
    if (!IsOpen())
        return TMediaMode::NotReady;
    if (!Playing() || FFinished.load(std::memory_order_acquire))
        return TMediaMode::Stopped;
    return TMediaMode::Playing;
}

int64_t TMp3MediaDevice::Position() const
{
    if (!IsOpen())
        return -1;
    if (!Playing())
        return FramesToMs(FPosFrame);
    if (FFinished.load(std::memory_order_acquire))
        return FramesToMs(FPlayEnd);
    return FramesToMs(FPlayStart + HeardFrames());
}

void TMp3MediaDevice::Close()
{
    if (!IsOpen())
        return;
    StopPlayback();
    FOutput->Close();
    FStream.Close();
}

void TMp3MediaDevice::StopPlayback()
{
    if (!Playing())
        return;
    FOutput->Pause(); // from here on the callback does not run
    FPosFrame = FFinished.load() ? FPlayEnd : FPlayStart + HeardFrames();
    {
        std::lock_guard lock(FStopMutex);
        FStop.store(true, std::memory_order_release);
    }
    FStopWake.notify_all();
    FTick.fetch_add(1, std::memory_order_release);
    FTick.notify_all();
    FWorker.join();
}

int64_t TMp3MediaDevice::FramesToMs(int64_t frames) const
{
    // To the nearest millisecond: a seek to t ms lands on frame
    // floor(t * rate / 1000), which then reads back as t.
    return (frames * 1000 + FStream.Rate() / 2) / FStream.Rate();
}

int64_t TMp3MediaDevice::HeardFrames() const
{
    int64_t start = 0;
    int64_t count = 0;
    int64_t time = 0;
    for (;;) {
        const uint32_t before = FMarkSeq.load(std::memory_order_acquire);
        if (before & 1u) {
            std::this_thread::yield(); // the callback is writing this moment
            continue;
        }
        // Acquire loads keep the second look at the sequence after them.
        start = FMarkStart.load(std::memory_order_acquire);
        count = FMarkCount.load(std::memory_order_acquire);
        time = FMarkTime.load(std::memory_order_acquire);
        if (FMarkSeq.load(std::memory_order_relaxed) == before)
            break;
    }
    if (time == 0)
        return 0; // no audio handed over yet
    // The buffer handed over at `time` starts to be heard once the output's
    // own buffering has played, then plays on at the stream's rate.
    const int64_t elapsed = (NowNs() - time) * FStream.Rate() / 1'000'000'000;
    const int64_t heard =
        std::clamp<int64_t>(start - FLatency + elapsed, 0, start + count);
    // Callbacks do not come exactly on time; never report a step back.
    int64_t last = FLastHeard.load(std::memory_order_relaxed);
    while (heard > last && !FLastHeard.compare_exchange_weak(last, heard)) {
    }
    return std::max(heard, last);
}

size_t TMp3MediaDevice::Render(int16_t* out, size_t frames) noexcept
{
    const auto channels = static_cast<size_t>(FStream.Channels());
    // Read the decoder's flag first: when it is set and the queue then
    // turns out empty, every frame of the play has been handed over.
    const bool decoded = FDecoded.load(std::memory_order_acquire);
    const size_t got = FRing.Pop(out, frames * channels) / channels;
    std::memset(out + got * channels, 0, (frames - got) * channels * sizeof(int16_t));
    if (got > 0) {
        // Release stores keep the odd sequence number ahead of the values.
        FMarkSeq.fetch_add(1, std::memory_order_relaxed);
        FMarkStart.store(FRendered, std::memory_order_release);
        FMarkCount.store(static_cast<int64_t>(got), std::memory_order_release);
        FMarkTime.store(NowNs(), std::memory_order_release);
        FMarkSeq.fetch_add(1, std::memory_order_release);
        FRendered += static_cast<int64_t>(got);
    } else if (decoded) {
        FDrained.store(true, std::memory_order_release);
    }
    FTick.fetch_add(1, std::memory_order_release);
    FTick.notify_all();
    return got;
}

void TMp3MediaDevice::WaitForCallback(uint32_t seenTick)
{
    if (!StopRequested())
        FTick.wait(seenTick, std::memory_order_acquire);
}

void TMp3MediaDevice::Decode()
{
    const auto channels = static_cast<size_t>(FStream.Channels());
    std::vector<int16_t> chunk(DecodeChunkFrames * channels);
    int64_t remaining = FPlayEnd - FPlayStart;
    while (remaining > 0 && !StopRequested()) {
        const size_t want = static_cast<size_t>(
            std::min<int64_t>(remaining, static_cast<int64_t>(DecodeChunkFrames)));
        const size_t got = FStream.Read(chunk.data(), want);
        if (got == 0)
            break; // the stream ended before the end position
        remaining -= static_cast<int64_t>(got);
        size_t pushed = 0;
        const size_t total = got * channels;
        while (pushed < total && !StopRequested()) {
            const uint32_t tick = FTick.load(std::memory_order_acquire);
            const size_t room = FRing.Free() / channels * channels;
            // Wake for a fair share of the queue, not for every callback.
            if (room < std::min(total - pushed, FRing.Capacity() / 4)) {
                WaitForCallback(tick);
                continue;
            }
            pushed += FRing.Push(chunk.data() + pushed, std::min(room, total - pushed));
        }
    }
    FDecoded.store(true, std::memory_order_release);

    // Wait until the callback has taken the last samples ...
    for (;;) {
        const uint32_t tick = FTick.load(std::memory_order_acquire);
        if (FDrained.load(std::memory_order_acquire) || StopRequested())
            break;
        WaitForCallback(tick);
    }
    if (StopRequested())
        return;
    // ... and until they have been heard; then release the output.
    const int64_t audibleEndNs =
        FMarkTime.load() + (FMarkCount.load() + FLatency) * 1'000'000'000 / FStream.Rate();
    const auto audibleEnd = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(audibleEndNs));
    {
        std::unique_lock lock(FStopMutex);
        if (FStopWake.wait_until(lock, audibleEnd, [this] { return StopRequested(); }))
            return;
    }
    FFinished.store(true, std::memory_order_release);
    FOutput->Pause();
}

} // namespace vivizu
