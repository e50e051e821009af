#include "engine/FileStream.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

std::atomic<unsigned> TempCounter{0};

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
    // A small file needs no more buffer than its own size.
    FBuffer.reset(new uint8_t[static_cast<size_t>(std::min<int64_t>(BufferSize, FSize))]);
}

TInputFile::~TInputFile()
{
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
    const int64_t bufferEnd = FBufferStart + static_cast<int64_t>(FBufferLength);
    if (FPosition >= FBufferStart && FPosition + static_cast<int64_t>(wanted) <= bufferEnd)
        return wanted;

    // Refill the whole buffer from the position on: the walk moves forward.
    FBufferStart = FPosition;
    FBufferLength = 0;
    const size_t toRead = static_cast<size_t>(std::min<int64_t>(BufferSize, FSize - FPosition));
    while (FBufferLength < toRead) {
        const ssize_t got = pread(FFd, FBuffer.get() + FBufferLength, toRead - FBufferLength,
                                  FBufferStart + static_cast<int64_t>(FBufferLength));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseSystemError(errno, FFileName);
        }
        if (got == 0)
            break; // the file became shorter since it was opened
        FBufferLength += static_cast<size_t>(got);
    }
    return std::min(wanted, FBufferLength);
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

std::span<const uint8_t> TInputFile::Peek(size_t count)
{
    const size_t got = Fill(std::min(count, BufferSize));
    if (got == 0)
        return {};
    return {FBuffer.get() + (FPosition - FBufferStart), got};
}

// ---------------------------------------------------------------- output

TOutputFile::TOutputFile(const std::string& fileName) : FFileName(ResolveLink(fileName))
{
    std::string folder, name;
    SplitPath(FFileName, folder, name);
    struct stat existing {};
    FReplaces = stat(FFileName.c_str(), &existing) == 0;

    const std::string prefix = (folder == "/" ? "/" : folder + "/") + "." + name + ".part-" +
                               std::to_string(getpid()) + "-";
    for (int attempt = 0; FFd < 0; ++attempt) {
        FTempName = prefix + std::to_string(TempCounter++);
        FFd = open(FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd < 0 && (errno != EEXIST || attempt >= 100)) {
            FTempName.clear();
            RaiseSystemError(errno, fileName);
        }
    }
    // A replaced file keeps its permissions.
    if (FReplaces && S_ISREG(existing.st_mode))
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
    // When an earlier file is replaced, its data must not be traded for a
    // new file whose blocks never reached the disk.
    if (FReplaces && fdatasync(FFd) != 0)
        RaiseSystemError(errno, FFileName);
    const int fd = FFd;
    FFd = -1;
    if (close(fd) != 0)
        RaiseSystemError(errno, FFileName);
    if (rename(FTempName.c_str(), FFileName.c_str()) != 0)
        RaiseSystemError(errno, FFileName);
    FCommitted = true;
}

} // namespace vivizu
