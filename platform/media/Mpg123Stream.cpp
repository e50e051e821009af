#include "platform/media/Mpg123Stream.h"

#include "engine/MediaDevice.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace vivizu {

namespace {

void InitLibrary()
{
    // Needed by libmpg123 before 1.27, a no-op since; once per process.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

TMpg123Stream::~TMpg123Stream()
{
    Close();
}

void TMpg123Stream::Open(const std::string& fileName)
{
    Close();
    InitLibrary();

    FFd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0)
        throw TMediaError(std::strerror(errno));

    int error = MPG123_OK;
    FHandle = mpg123_new(nullptr, &error);
    if (FHandle == nullptr) {
        Close();
        throw TMediaError(mpg123_plain_strerror(error));
    }
    auto fail = [this](const char* text) {
        std::string message = text ? text : mpg123_strerror(FHandle);
        Close();
        throw TMediaError(message);
    };
    // No gapless trimming: every audio frame contributes its full sample
    // count, as in the engine's frame walk. The Xing/Info header frame is
    // left to libmpg123, which recognises it and does not play it, just as
    // the walk gives it no time; the encoder delay it records is ignored.
    mpg123_param(FHandle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_param(FHandle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    if (mpg123_open_fd(FHandle, FFd) != MPG123_OK)
        fail(nullptr);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(FHandle, &rate, &channels, &encoding) != MPG123_OK)
        fail(nullptr);
    // Fix the output format to what the first frame says, as 16-bit samples.
    mpg123_format_none(FHandle);
    if (mpg123_format(FHandle, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK)
        fail(nullptr);
    // Walking the frame headers once gives the exact length and a complete
    // seek index; it reads headers only, so it is quick.
    if (mpg123_scan(FHandle) != MPG123_OK)
        fail(nullptr);
    const off_t length = mpg123_length(FHandle);
    if (length < 0)
        fail(nullptr);
    FRate = static_cast<int>(rate);
    FChannels = channels;
    FLength = static_cast<int64_t>(length);
    if (!SeekFrame(0))
        fail(nullptr);
}

void TMpg123Stream::Close()
{
    if (FHandle != nullptr) {
        mpg123_close(FHandle);
        mpg123_delete(FHandle);
        FHandle = nullptr;
    }
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    FRate = 0;
    FChannels = 0;
    FLength = 0;
}

bool TMpg123Stream::SeekFrame(int64_t frame)
{
    if (FHandle == nullptr)
        return false;
    frame = std::clamp<int64_t>(frame, 0, FLength);
    return mpg123_seek(FHandle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

size_t TMpg123Stream::Read(int16_t* out, size_t maxFrames)
{
    if (FHandle == nullptr || maxFrames == 0)
        return 0;
    const size_t frameBytes = static_cast<size_t>(FChannels) * sizeof(int16_t);
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    const size_t wanted = maxFrames * frameBytes;
    size_t filled = 0;
    while (filled < wanted) {
        size_t done = 0;
        const int result = mpg123_read(FHandle, bytes + filled, wanted - filled, &done);
        filled += done;
        // A new format mid-stream is decoded on in the fixed output format.
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            if (done == 0 && result == MPG123_OK)
                break;
            continue;
        }
        break; // MPG123_DONE or an error the decoder could not resync past
    }
    return filled / frameBytes;
}

} // namespace vivizu
