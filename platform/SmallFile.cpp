#include "platform/SmallFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {

namespace {

std::string SizeText(std::size_t bytes) {
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit) {
    TSmallFileRead result;
    // Not blocking: opening a named pipe must not wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return result;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        close(fd);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        result.Refusal = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
        return result;
    }
    const std::string tooLarge = "larger than " + SizeText(limit);
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > limit) {
        close(fd);
        result.Refusal = tooLarge;
        return result;
    }
    // One byte more than the limit tells a file that grew meanwhile.
    std::string text(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t part = read(fd, text.data() + got, text.size() - got);
        if (part < 0 && errno == EINTR)
            continue;
        if (part < 0) {
            close(fd);
            return result;
        }
        if (part == 0)
            break;
        got += static_cast<std::size_t>(part);
        if (got > limit) {
            close(fd);
            result.Refusal = tooLarge;
            return result;
        }
        if (got == text.size() && got <= limit)
            text.resize(std::min(limit + 1, text.size() * 2));
    }
    close(fd);
    text.resize(got);
    result.Text = std::move(text);
    return result;
}

std::optional<std::string> ReadSmallFileOrSay(const std::string& path, std::size_t limit,
                                              const char* kind) {
    TSmallFileRead read = ReadSmallFile(path, limit);
    if (!read.Refusal.empty())
        std::fprintf(stderr, "vivizu: %s \"%s\" is %s; it is ignored\n", kind, path.c_str(),
                     read.Refusal.c_str());
    return std::move(read.Text);
}

} // namespace vivizu
