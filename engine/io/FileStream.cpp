#include "engine/io/FileStream.h"

#include "engine/io/SignalCleanup.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <ctime>
#include <dirent.h>
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
// that the link stays a link; so is a link whose target does not exist yet.
// Raises ELOOP for a chain of links that does not end.
std::string ResolveLink(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 256, '\0');
        const ssize_t length = readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<size_t>(length) >= target.size())
            return current; // changed meanwhile: let the creation report it
        target.resize(static_cast<size_t>(length));
        if (target.empty() || target[0] != '/') {
            std::string folder, name;
            SplitPath(current, folder, name);
            target = (folder == "/" ? "/" : folder + "/") + target;
        }
        current = target;
    }
    throw TStreamWriteError(ELOOP, path);
}

// True for a name this file's temporary outputs have:
// ".NAME.part-PID-STAMP-ATTEMPT"; pid is then the process that made it.
bool IsTemporaryName(const std::string& name, pid_t& pid)
{
    const size_t part = name.rfind(".part-");
    if (name.size() < 2 || name[0] != '.' || part == std::string::npos || part == 0)
        return false;
    // Three numbers joined by dashes, nothing else.
    unsigned long long numbers[3] = {};
    size_t at = part + 6;
    for (int i = 0; i < 3; ++i) {
        const size_t begin = at;
        while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - begin < 19)
            numbers[i] = numbers[i] * 10 + static_cast<unsigned>(name[at++] - '0');
        if (at == begin || (i < 2 ? at >= name.size() || name[at++] != '-' : at != name.size()))
            return false;
    }
    if (numbers[0] == 0 || numbers[0] > static_cast<unsigned long long>(INT_MAX))
        return false;
    pid = static_cast<pid_t>(numbers[0]);
    return true;
}

// Removes the temporary outputs in folder that a cut ended by SIGKILL (or a
// power cut) left behind: names of this program's making, files of this
// user, whose process no longer exists. A file written in the last seconds
// is left alone: it may belong to a cut on another machine that shares the
// folder, where its process number means nothing here.
void RemoveStaleTemporaryFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const std::string folderPart = folder == "/" ? "/" : folder + "/";
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        pid_t pid = 0;
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name, pid) || pid == getpid())
            continue;
        struct stat st {};
        const std::string path = folderPart + name;
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() ||
            now - st.st_mtime < 10)
            continue;
        if (kill(pid, 0) != 0 && errno == ESRCH)
            unlink(path.c_str());
    }
    closedir(dir);
}

[[noreturn]] void RaiseWriteError(int code, const std::string& fileName)
{
    throw TStreamWriteError(code, fileName);
}

// Calls write (a write or pwrite of the bytes still to go) until it has put
// some of them into the file: again when a signal interrupted it, a write
// error when it failed or wrote nothing. Returns how many bytes it wrote.
template <class Write>
size_t WriteSome(const Write& write, const std::string& fileName)
{
    for (;;) {
        const ssize_t put = write();
        if (put < 0) {
            if (errno == EINTR)
                continue;
            RaiseWriteError(errno, fileName);
        }
        if (put == 0)
            RaiseWriteError(EIO, fileName);
        return static_cast<size_t>(put);
    }
}

} // namespace

TStreamWriteError::TStreamWriteError(int code, const std::string& fileName)
    : std::system_error(code, std::generic_category(), fileName)
{
}

TStreamReadError::TStreamReadError(const std::string& fileName)
    : std::system_error(ENODATA, std::generic_category(),
                        fileName + ": the file became shorter while it was read")
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

// Reads from the position on, as much as the buffer holds or the file has,
// at least count bytes from the position when the file has them.
// A read that ends before the size the file had when it was opened means
// that it has become shorter since: the walk over it cannot be trusted.
void TInputFile::ReadWindow(size_t count)
{
    if (!FBuffer)
        FBuffer.reset(new uint8_t[static_cast<size_t>(std::clamp<int64_t>(FSize, 1, BufferSize))]);
    // The window starts at the bytes asked to be kept when it then still
    // holds count bytes from the position. Those of them the buffer holds
    // already move to the front, when they fill at most half of it; the
    // read goes on after them.
    const int64_t windowEnd = FWindowStart + static_cast<int64_t>(FWindowLength);
    size_t kept = 0;
    if (FKeepFrom >= 0 && FKeepFrom <= FPosition &&
        FPosition - FKeepFrom + static_cast<int64_t>(count) <= static_cast<int64_t>(BufferSize)) {
        if (FKeepFrom >= FWindowStart && FKeepFrom < windowEnd &&
            windowEnd - FKeepFrom <= static_cast<int64_t>(BufferSize / 2)) {
            kept = static_cast<size_t>(windowEnd - FKeepFrom);
            std::memmove(FBuffer.get(), FBuffer.get() + (FKeepFrom - FWindowStart), kept);
        }
        FWindowStart = FKeepFrom;
    } else {
        FWindowStart = FPosition;
    }
    FWindowLength = kept;
    const size_t toRead =
        kept + static_cast<size_t>(std::clamp<int64_t>(FSize - FWindowStart - static_cast<int64_t>(kept), 0,
                                                       static_cast<int64_t>(BufferSize - kept)));
    while (FWindowLength < toRead) {
        const ssize_t got = pread(FFd, FBuffer.get() + FWindowLength, toRead - FWindowLength,
                                  FWindowStart + static_cast<int64_t>(FWindowLength));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            FWindowLength = 0;
            RaiseSystemError(code, FFileName);
        }
        if (got == 0) {
            FWindowLength = 0;
            throw TStreamReadError(FFileName);
        }
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
    if (FPosition >= FSize)
        return {};
    ReadWindow(count);
    const size_t offset = static_cast<size_t>(FPosition - FWindowStart);
    return {FBuffer.get() + offset, std::min({count, BufferSize, FWindowLength - offset})};
}

// ---------------------------------------------------------------- output

TOutputFile::TOutputFile(const std::string& fileName, TLinkRule links)
    : FFileName(links == TLinkRule::Follow ? ResolveLink(fileName) : fileName)
{
    std::string folder, name;
    SplitPath(FFileName, folder, name);
    struct stat existing {};
    const bool replaces = lstat(FFileName.c_str(), &existing) == 0;
    RemoveStaleTemporaryFiles(folder);

    // A hidden name beside the destination (on its file system, so that the
    // rename cannot fail for crossing devices), short enough for any name:
    // as much of the destination's name as fits in a file name, and in a
    // path beside a long folder name.
    const std::string folderPart = folder == "/" ? "/" : folder + "/";
    const std::string suffix = ".part-" + std::to_string(getpid()) + "-";
    constexpr size_t MaxPath = PATH_MAX - 1, StampRoom = 32; // the stamp and attempt numbers
    const size_t fixed = folderPart.size() + 1 + suffix.size() + StampRoom;
    const size_t keep = std::min<size_t>(200, fixed < MaxPath ? MaxPath - fixed : 0);
    const std::string prefix = folderPart + "." + name.substr(0, keep) + suffix;
    // The clock makes the name unlikely to be taken; O_EXCL makes sure.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    // The file is created and registered for removal with the cleanup
    // signals held back, so that no signal finds it unregistered.
    TCleanupSignalsBlocked blocked;
    for (int attempt = 0; FFd < 0; ++attempt) {
        FTempName = prefix + std::to_string(stamp) + "-" + std::to_string(attempt);
        FFd = open(FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd < 0 && (errno != EEXIST || attempt >= 100)) {
            const int code = errno;
            FTempName.clear();
            RaiseWriteError(code, fileName);
        }
    }
    FCleanupSlot = RegisterTempFile(FTempName.c_str());
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
    UnregisterTempFile(FCleanupSlot);
}

void TOutputFile::Write(const void* data, size_t count)
{
    const auto* in = static_cast<const uint8_t*>(data);
    if (count >= DirectWrite) {
        Flush();
        size_t done = 0;
        while (done < count)
            done += WriteSome([&] { return write(FFd, in + done, count - done); }, FFileName);
        FSize += static_cast<int64_t>(count);
        return;
    }
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

int64_t TOutputFile::CopyFrom(int fd, int64_t offset, int64_t count)
{
    Flush();
    loff_t from = offset;
    int64_t done = 0;
    while (done < count) {
        const ssize_t copied = copy_file_range(fd, &from, FFd, nullptr, static_cast<size_t>(count - done), 0);
        if (copied <= 0)
            break; // EXDEV, EINVAL, an error or the end: the caller copies the rest
        done += copied;
    }
    FSize += done;
    return done;
}

void TOutputFile::Flush()
{
    size_t done = 0;
    while (done < FBuffer.size())
        done += WriteSome([&] { return write(FFd, FBuffer.data() + done, FBuffer.size() - done); }, FFileName);
    FBuffer.clear();
}

void TOutputFile::Overwrite(int64_t offset, std::span<const uint8_t> data)
{
    if (offset < 0 || offset + static_cast<int64_t>(data.size()) > FSize)
        RaiseWriteError(EINVAL, FFileName);
    // Bytes already in the file are written in place; the rest still lies
    // in the buffer.
    const int64_t inFile = FSize - static_cast<int64_t>(FBuffer.size());
    size_t done = 0;
    while (offset + static_cast<int64_t>(done) < inFile && done < data.size()) {
        const size_t part = std::min(data.size() - done, static_cast<size_t>(inFile - offset - static_cast<int64_t>(done)));
        done += WriteSome([&] { return pwrite(FFd, data.data() + done, part, offset + static_cast<off_t>(done)); },
                          FFileName);
    }
    if (done < data.size())
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(done), data.end(),
                  FBuffer.begin() + (offset + static_cast<int64_t>(done) - inFile));
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
        RaiseWriteError(errno, FFileName);
    if (rename(FTempName.c_str(), FFileName.c_str()) != 0)
        RaiseWriteError(errno, FFileName);
    FCommitted = true;
    UnregisterTempFile(FCleanupSlot);
    FCleanupSlot = -1;
}

} // namespace vivizu
