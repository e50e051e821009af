// The least work a frame cut can do, as the yardstick of the benchmarks:
// the file mapped into memory (no error handling beyond giving up), frames
// found by their headers' lengths alone, and the frames from START to END
// written out with one write.
//   bare-mapped-walk FILE                   walks every frame, prints the count
//   bare-mapped-walk FILE START END OUT     writes the frames from START ms
//                                           to END ms to OUT
#include "engine/frames/MpegHeader.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using vivizu::TMpegHeader;

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 5) {
        std::fprintf(stderr, "usage: bare-mapped-walk FILE [START-MS END-MS OUT]\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < 10)
        return 1;
    const auto size = static_cast<size_t>(st.st_size);
    const auto* data = static_cast<const uint8_t*>(mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
    if (data == MAP_FAILED)
        return 1;
    size_t at = 0;
    if (data[0] == 'I' && data[1] == 'D' && data[2] == '3')
        at = 10 + (size_t{data[6]} << 21 | size_t{data[7]} << 14 | size_t{data[8]} << 7 | data[9]);
    const double startMs = argc == 5 ? std::atof(argv[2]) : 0, endMs = argc == 5 ? std::atof(argv[3]) : 1e300;
    double ms = 0;
    size_t frames = 0, from = 0, to = 0;
    while (at + 4 <= size) {
        const TMpegHeader header = TMpegHeader::At(data + at);
        const int32_t length = header.HasSync() ? header.FrameLength() : 0;
        if (length <= 0) {
            at += 4;
            continue;
        }
        if (ms < startMs)
            from = at + static_cast<size_t>(length);
        else if (ms >= endMs)
            break;
        ++frames;
        ms += 1000.0 * header.SamplesPerFrame() / header.SampleRate();
        at += static_cast<size_t>(length);
        to = at;
    }
    if (argc == 2) {
        std::printf("%zu frames\n", frames);
        return 0;
    }
    const int out = open(argv[4], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return out >= 0 && write(out, data + from, to - from) == static_cast<ssize_t>(to - from) ? 0 : 1;
}
