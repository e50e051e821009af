#include "tests/media/Decoders.h"

#include <mpg123.h>

#include <cstdio>

namespace vivizu::test {

TDecoded DecodeMpg123(const std::string& path)
{
    TDecoded out;
    static const int init = mpg123_init();
    (void)init;
    int err = 0;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    mpg123_param(h, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    mpg123_format_none(h);
    for (const long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(h, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(h, path.c_str()) != MPG123_OK) {
        out.Errors = "cannot open";
        mpg123_delete(h);
        return out;
    }
    unsigned char buffer[16384];
    for (;;) {
        size_t done = 0;
        const int r = mpg123_read(h, buffer, sizeof buffer, &done);
        const auto* p = reinterpret_cast<const int16_t*>(buffer);
        out.Samples.insert(out.Samples.end(), p, p + done / 2);
        if (r == MPG123_DONE)
            break;
        if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
            out.Errors = mpg123_plain_strerror(r);
            break;
        }
    }
    long rate = 0;
    int encoding = 0;
    mpg123_getformat(h, &rate, &out.Channels, &encoding);
    mpg123_close(h);
    mpg123_delete(h);
    return out;
}

TDecoded DecodeFfmpeg(const std::string& path, int channels, const TempDir& dir)
{
    TDecoded out;
    out.Channels = channels;
    const std::string errors = dir / "ffmpeg.err";
    const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -f s16le -ac " +
                                std::to_string(channels) + " - 2>'" + errors + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    int16_t buffer[8192];
    size_t got = 0;
    while ((got = fread(buffer, 2, 8192, pipe)) > 0)
        out.Samples.insert(out.Samples.end(), buffer, buffer + got);
    pclose(pipe);
    const Bytes text = ReadAll(errors);
    out.Errors.assign(text.begin(), text.end());
    return out;
}

} // namespace vivizu::test
