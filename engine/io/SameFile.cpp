#include "engine/io/SameFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <vector>

namespace vivizu {
namespace {

// How many bytes at the start and at the end are compared.
constexpr int64_t Probe = 64 * 1024;

// True on the common local file systems, where one file has one inode
// number under every name: there the numbers alone decide, and two files
// that were written in the same clock tick with the same bytes stay two.
bool InodesAreIdentity(const std::string& path)
{
    struct statfs fs {};
    if (statfs(path.c_str(), &fs) != 0)
        return false;
    switch (static_cast<uint32_t>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
    case 0x2FC12FC1: // ZFS
        return true;
    default:
        return false;
    }
}

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// count bytes at offset, or fewer when the file ends or cannot be read.
std::vector<char> BytesAt(int fd, int64_t offset, int64_t count)
{
    std::vector<char> bytes(static_cast<size_t>(count));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t part = pread(fd, bytes.data() + got, bytes.size() - got, offset + static_cast<int64_t>(got));
        if (part < 0 && errno == EINTR)
            continue;
        if (part <= 0)
            break;
        got += static_cast<size_t>(part);
    }
    bytes.resize(got);
    return bytes;
}

bool SameBytes(int a, int b, int64_t offset, int64_t count)
{
    const std::vector<char> first = BytesAt(a, offset, count);
    return first.size() == static_cast<size_t>(count) && first == BytesAt(b, offset, count);
}

} // namespace

bool IsSameFile(int fd, const struct stat& opened, const std::string& path)
{
    // The times as they are now: the file may have been written since it
    // was opened.
    struct stat source = opened;
    fstat(fd, &source);
    struct stat other {};
    if (stat(path.c_str(), &other) != 0)
        return false;
    if (other.st_dev == source.st_dev && other.st_ino == source.st_ino)
        return true;
    if (other.st_dev == source.st_dev && InodesAreIdentity(path))
        return false;
    if (!S_ISREG(other.st_mode) || !S_ISREG(source.st_mode) || other.st_size != source.st_size ||
        !SameTime(other.st_mtim, source.st_mtim) || !SameTime(other.st_ctim, source.st_ctim))
        return false;
    // Everything the file system tells agrees; the contents decide. A file
    // that cannot be read for the comparison counts as the same: refusing a
    // destination is better than overwriting the source.
    const int otherFd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (otherFd < 0)
        return true;
    const int64_t size = source.st_size;
    const int64_t head = std::min(size, Probe);
    const int64_t tail = std::min(size - head, Probe);
    const bool same = SameBytes(fd, otherFd, 0, head) && SameBytes(fd, otherFd, size - tail, tail);
    close(otherFd);
    return same;
}

bool AreSameFile(const std::string& a, const std::string& b)
{
    const int fd = open(a.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool same = fstat(fd, &st) == 0 && IsSameFile(fd, st, b);
    close(fd);
    return same;
}

} // namespace vivizu
