#include "tests/media/MediaTestFiles.h"

#include <mpg123.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace vivizu::test {

std::string Fixture(const std::string& name)
{
    return std::string(VIVIZU_FIXTURES) + "/" + name;
}

bool WaitStopped(const TMediaDevice& device, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (device.Mode() == TMediaMode::Playing) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : FName(name)
{
    if (const char* old = std::getenv(name))
        FOld = old, FHadOld = true;
    setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv()
{
    if (FHadOld)
        setenv(FName, FOld.c_str(), 1);
    else
        unsetenv(FName);
}

TReference DecodeReference(const std::string& fileName, int64_t first, int64_t count)
{
    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        throw std::runtime_error("mpg123_new failed");
    TReference ref;
    mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    int encoding = 0;
    if (mpg123_open(handle, fileName.c_str()) != MPG123_OK ||
        mpg123_getformat(handle, &ref.Rate, &ref.Channels, &encoding) != MPG123_OK) {
        mpg123_delete(handle);
        throw std::runtime_error("mpg123 cannot open " + fileName);
    }
    mpg123_format_none(handle);
    mpg123_format(handle, ref.Rate, ref.Channels, MPG123_ENC_SIGNED_16);
    mpg123_scan(handle);
    ref.LengthFrames = mpg123_length(handle);
    mpg123_seek(handle, static_cast<off_t>(first), SEEK_SET);
    ref.Samples.resize(static_cast<size_t>(count * ref.Channels));
    size_t filled = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(ref.Samples.data());
    const size_t wanted = ref.Samples.size() * sizeof(int16_t);
    while (filled < wanted) {
        size_t done = 0;
        const int result = mpg123_read(handle, bytes + filled, wanted - filled, &done);
        filled += done;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
    }
    ref.Samples.resize(filled / sizeof(int16_t));
    mpg123_close(handle);
    mpg123_delete(handle);
    return ref;
}

} // namespace vivizu::test
