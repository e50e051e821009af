#include "engine/FileStream.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace vivizu {
namespace {

[[noreturn]] void RaiseSystemError(int code, const std::string& fileName)
{
    throw std::system_error(code, std::generic_category(), fileName);
}

// The folder part of a path ("." when it has none) and the name part.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

// A destination that is a symbolic link is written where the link points, so
// that the link stays a link.
std::string ResolveLink(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    std::free(real);
    return result;
}

} // namespace

TStreamReadError::TStreamReadError(const std::string& fileName)
    : std::system_error(ENODATA, std::generic_category(),
                        "Stream read error (the file ends inside a frame): " + fileName)
{
}

// ---------------------------------------------------------------- input

TInputFile::TInputFile(const std::string& fileName) : FFileName(fileName)
{
    // Not blocking, so that opening a named pipe does not wait for a writer;
    // only regular files are read.
    FFd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FFd < 0)
        RaiseSystemError(errno, fileName);
    if (fstat(FFd, &FStat) != 0) {
        const int code = errno;
        close(FFd);
        RaiseSystemError(code, fileName);
    }
    if (S_ISDIR(FStat.st_mode)) {
        close(FFd);
        RaiseSystemError(EISDIR, fileName);
    }
    FSize = S_ISREG(FStat.st_mode) ? FStat.st_size : 0;
    posix_fadvise(FFd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

TInputFile::~TInputFile()
{
    Unmap();
    if (FFd >= 0)
        close(FFd);
}

int64_t TInputFile::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = 0;
    if (origin == TSeekOrigin::Current)
        base = FPosition;
    else if (origin == TSeekOrigin::End)
        base = FSize;
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        RaiseSystemError(EINVAL, FFileName);
    FPosition = target;
    return FPosition;
}

size_t TInputFile::Fill(size_t count)
{
    if (FPosition >= FSize)
        return 0;
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), FSize - FPosition));
    const int64_t windowEnd = FWindowStart + static_cast<int64_t>(FWindowLength);
    if (FWindow == nullptr || FPosition < FWindowStart || FPosition + static_cast<int64_t>(wanted) > windowEnd) {
        if (!MapWindow())
            ReadWindow();
    }
    return std::min(wanted, static_cast<size_t>(FWindowStart + static_cast<int64_t>(FWindowLength) - FPosition));
}

// Maps the part of the file from the position on. The walk moves forward, so
// the window starts just before the position. (A file that another program
// cuts shorter while it is mapped ends the process with SIGBUS; the engine
// reads its files briefly, and Linux offers no lock that would prevent it.)
bool TInputFile::MapWindow()
{
    if (FMapFailed)
        return false;
    Unmap();
    constexpr int64_t Alignment = 64 * 1024; // a multiple of every page size
    const int64_t start = FPosition & ~(Alignment - 1);
    const size_t length = static_cast<size_t>(std::min<int64_t>(MapWindowSize, FSize - start));
    void* mapping = mmap(nullptr, length, PROT_READ, MAP_SHARED, FFd, start);
    if (mapping == MAP_FAILED) {
        FMapFailed = true;
        return false;
    }
    madvise(mapping, length, MADV_SEQUENTIAL);
    FMapping = mapping;
    FWindow = static_cast<const uint8_t*>(mapping);
    FWindowStart = start;
    FWindowLength = length;
    return true;
}

void TInputFile::Unmap()
{
    if (FMapping != nullptr)
        munmap(FMapping, FWindowLength);
    FMapping = nullptr;
    FWindow = nullptr;
    FWindowLength = 0;
}

// Reads the part of the file from the position on into the buffer.
void TInputFile::ReadWindow()
{
    if (!FBuffer)
        FBuffer.reset(new uint8_t[static_cast<size_t>(std::min<int64_t>(BufferSize, FSize))]);
    FWindow = FBuffer.get();
    FWindowStart = FPosition;
    FWindowLength = 0;
    const size_t toRead = static_cast<size_t>(std::min<int64_t>(BufferSize, FSize - FPosition));
    while (FWindowLength < toRead) {
        const ssize_t got = pread(FFd, FBuffer.get() + FWindowLength, toRead - FWindowLength,
                                  FWindowStart + static_cast<int64_t>(FWindowLength));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseSystemError(errno, FFileName);
        }
        if (got == 0)
            break; // the file became shorter since it was opened
        FWindowLength += static_cast<size_t>(got);
    }
}

size_t TInputFile::Read(void* dest, size_t count)
{
    auto* out = static_cast<uint8_t*>(dest);
    size_t done = 0;
    while (done < count) {
        const size_t chunk = std::min(count - done, BufferSize);
        const std::span<const uint8_t> part = Take(chunk);
        if (!part.empty())
            std::memcpy(out + done, part.data(), part.size());
        done += part.size();
        if (part.size() < chunk)
            break;
    }
    return done;
}

std::span<const uint8_t> TInputFile::Take(size_t count)
{
    const std::span<const uint8_t> part = Peek(count);
    FPosition += static_cast<int64_t>(part.size());
    return part;
}

std::span<const uint8_t> TInputFile::PeekSlow(size_t count)
{
    const size_t got = Fill(std::min(count, BufferSize));
    if (got == 0)
        return {};
    return {FWindow + (FPosition - FWindowStart), got};
}

// ---------------------------------------------------------------- output

TOutputFile::TOutputFile(const std::string& fileName) : FFileName(ResolveLink(fileName))
{
    std::string folder, name;
    SplitPath(FFileName, folder, name);
    struct stat existing {};
    const bool replaces = stat(FFileName.c_str(), &existing) == 0;

    // A hidden name beside the destination (on its file system, so that the
    // rename cannot fail for crossing devices), short enough for any name.
    const std::string prefix = (folder == "/" ? "/" : folder + "/") + "." + name.substr(0, 200) +
                               ".part-" + std::to_string(getpid()) + "-";
    // The clock makes the name unlikely to be taken; O_EXCL makes sure.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; FFd < 0; ++attempt) {
        FTempName = prefix + std::to_string(stamp) + "-" + std::to_string(attempt);
        FFd = open(FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd < 0 && (errno != EEXIST || attempt >= 100)) {
            const int code = errno;
            FTempName.clear();
            RaiseSystemError(code, fileName);
        }
    }
    // A replaced file keeps its permissions.
    if (replaces && S_ISREG(existing.st_mode))
        fchmod(FFd, existing.st_mode & 07777);
}

TOutputFile::~TOutputFile()
{
    if (FFd >= 0)
        close(FFd);
    if (!FCommitted && !FTempName.empty())
        unlink(FTempName.c_str());
}

void TOutputFile::Write(const void* data, size_t count)
{
    const auto* in = static_cast<const uint8_t*>(data);
    while (count > 0) {
        const size_t part = std::min(count, BufferSize - FBuffer.size());
        // The buffer grows with what is written, up to BufferSize.
        if (FBuffer.size() + part > FBuffer.capacity())
            FBuffer.reserve(std::min(BufferSize, std::max(FBuffer.size() + part, 2 * FBuffer.capacity())));
        FBuffer.insert(FBuffer.end(), in, in + part);
        FSize += static_cast<int64_t>(part);
        in += part;
        count -= part;
        if (FBuffer.size() == BufferSize)
            Flush();
    }
}

void TOutputFile::Flush()
{
    size_t done = 0;
    while (done < FBuffer.size()) {
        const ssize_t put = write(FFd, FBuffer.data() + done, FBuffer.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            RaiseSystemError(errno, FFileName);
        }
        if (put == 0)
            RaiseSystemError(EIO, FFileName);
        done += static_cast<size_t>(put);
    }
    FBuffer.clear();
}

void TOutputFile::Commit()
{
    Flush();
    // Write errors (a full disk, an I/O error) are reported by write and
    // close, before the earlier file is touched. No fdatasync: it would cost
    // more than the cut itself, and ext4 already writes out the data of a
    // file renamed over another before the rename.
    const int fd = FFd;
    FFd = -1;
    if (close(fd) != 0)
        RaiseSystemError(errno, FFileName);
    if (rename(FTempName.c_str(), FFileName.c_str()) != 0)
        RaiseSystemError(errno, FFileName);
    FCommitted = true;
}

} // namespace vivizu
