// Preview: plays a time range of the analysed file on the engine's media
// device. The device plays by itself; callers poll IsStopped and
// PlayPosition.
#include "engine/RoruvoMp3.h"

#include <algorithm>
#include <limits>

namespace vivizu {

namespace {

// The device counts in unsigned 32-bit milliseconds. Times outside that
// range are held at its ends rather than wrapped around.
uint32_t DeviceMs(int64_t ms)
{
    return static_cast<uint32_t>(
        std::clamp<int64_t>(ms, 0, std::numeric_limits<uint32_t>::max()));
}

} // namespace

bool TRoruvoMP3::PlayRange(int64_t StartMs, int64_t EndMs)
{
    if (!Valid)
        return false;
    return PlayFile(FileName, StartMs, EndMs);
}

bool TRoruvoMP3::PlayFile(const std::string& fileName, int64_t StartMs, int64_t EndMs)
{
    if (!FPlayer)
        throw TMediaError("No audio output is available for preview");
    // Every play opens the file afresh, also when it is open already.
    FPlayer->Close();
    FPlayer->Open(fileName); // raises TMediaError with the device's text
    // A failed seek or play is not an error: the mode tells the outcome.
    FPlayer->Seek(DeviceMs(StartMs));
    FPlayer->PlayTo(DeviceMs(EndMs));
    return FPlayer->Mode() == TMediaMode::Playing;
}

void TRoruvoMP3::StopPlaying()
{
    if (FPlayer && FPlayer->IsOpen())
        FPlayer->Close();
}

int64_t TRoruvoMP3::PlayPosition()
{
    if (!FPlayer || FPlayer->Mode() != TMediaMode::Playing)
        return -1;
    return FPlayer->Position();
}

bool TRoruvoMP3::IsStopped()
{
    // With nothing open there is nothing playing: report stopped, so that
    // a caller polling for the end of a preview ends it.
    if (!FPlayer || !FPlayer->IsOpen())
        return true;
    return FPlayer->Mode() == TMediaMode::Stopped;
}

} // namespace vivizu
