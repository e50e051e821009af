#include "engine/decode/LevelCache.h"

#include "engine/io/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace vivizu {
namespace {

namespace fs = std::filesystem;

// Layout: magic, version, path length and path, size, modification time,
// milliseconds per granule (IEEE double), granule count, one 16-bit level
// per granule, then the FNV-1a hash of everything before it. All numbers
// little-endian.
constexpr char Magic[8] = {'V', 'V', 'Z', 'L', 'E', 'V', 'E', 'L'};
constexpr uint32_t Version = 1;
constexpr const char* EntryExtension = ".levels";
constexpr uint64_t MaxPathBytes = 1 << 16;

uint64_t Fnv1a(const uint8_t* data, size_t count) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i) {
        hash ^= data[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Reads little-endian numbers from an entry, failing softly past its end.
class TEntryReader {
public:
    explicit TEntryReader(const std::vector<uint8_t>& data) : FData(data) {}
    bool Get(uint64_t& value, int bytes) {
        if (FData.size() - FAt < static_cast<size_t>(bytes))
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint64_t{FData[FAt + i]} << (8 * i);
        FAt += static_cast<size_t>(bytes);
        return true;
    }
    bool Skip(uint64_t count) {
        if (FData.size() - FAt < count)
            return false;
        FAt += static_cast<size_t>(count);
        return true;
    }
    size_t At() const { return FAt; }
    size_t Left() const { return FData.size() - FAt; }

private:
    const std::vector<uint8_t>& FData;
    size_t FAt = 0;
};

std::vector<uint8_t> EntryHeader(const TFileIdentity& file) {
    std::vector<uint8_t> out(std::begin(Magic), std::end(Magic));
    PutLe(out, Version, 4);
    PutLe(out, file.Path.size(), 4);
    out.insert(out.end(), file.Path.begin(), file.Path.end());
    PutLe(out, static_cast<uint64_t>(file.Size), 8);
    PutLe(out, static_cast<uint64_t>(file.MTimeNs), 8);
    return out;
}

} // namespace

TFileIdentity IdentityOf(const std::string& path) {
    TFileIdentity identity;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    identity.Path = error ? path : absolute.lexically_normal().string();
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        identity.Size = st.st_size;
        identity.MTimeNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    }
    return identity;
}

TLevelCache::TLevelCache(fs::path folder, uint64_t limitBytes) : FFolder(std::move(folder)), FLimit(limitBytes) {}

fs::path TLevelCache::DefaultFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/')
        return fs::path(cache) / "vivizu";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return fs::path(home) / ".cache" / "vivizu";
    return {};
}

fs::path TLevelCache::EntryPath(const std::string& path) const {
    const uint64_t hash = Fnv1a(reinterpret_cast<const uint8_t*>(path.data()), path.size());
    char name[17];
    for (int i = 0; i < 16; ++i)
        name[i] = "0123456789abcdef"[(hash >> (60 - 4 * i)) & 15];
    name[16] = '\0';
    return FFolder / (std::string(name) + EntryExtension);
}

std::optional<TGranuleLevels> ParseLevelEntry(const std::vector<uint8_t>& data, const TFileIdentity& file) {
    // The header must be this file's as it is now, byte for byte.
    const std::vector<uint8_t> header = EntryHeader(file);
    if (data.size() < header.size() || !std::equal(header.begin(), header.end(), data.begin()))
        return std::nullopt;
    TEntryReader reader(data);
    uint64_t msBits = 0, count = 0, hash = 0;
    if (!reader.Skip(header.size()) || !reader.Get(msBits, 8) || !reader.Get(count, 8))
        return std::nullopt;
    if (count > reader.Left() / 2 || reader.Left() != count * 2 + 8)
        return std::nullopt;
    const size_t levelsAt = reader.At();
    reader.Skip(count * 2);
    const size_t hashed = reader.At();
    if (!reader.Get(hash, 8) || hash != Fnv1a(data.data(), hashed))
        return std::nullopt;

    TGranuleLevels levels;
    levels.MsPerGranule = std::bit_cast<double>(msBits);
    if (!std::isfinite(levels.MsPerGranule) || levels.MsPerGranule <= 0)
        return std::nullopt;
    std::vector<uint16_t>& stored = levels.Levels.Stored();
    stored.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<uint16_t>(data[levelsAt + 2 * i] | unsigned{data[levelsAt + 2 * i + 1]} << 8);
    return levels;
}

std::optional<TGranuleLevels> TLevelCache::Read(const TFileIdentity& file) const {
    if (FFolder.empty() || file.Size < 0)
        return std::nullopt;
    // Only a regular file of the cache's own is read: a link is not followed
    // (whatever it points to is not ours) and a device or pipe not opened
    // for long (O_NONBLOCK), then refused.
    const fs::path entry = EntryPath(file.Path);
    const int fd = open(entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::vector<uint8_t> data;
    bool whole = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= FLimit;
    if (whole) {
        data.resize(static_cast<size_t>(st.st_size));
        size_t at = 0;
        while (at < data.size()) {
            const ssize_t got = read(fd, data.data() + at, data.size() - at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            at += static_cast<size_t>(got);
        }
        whole = at == data.size();
    }
    std::optional<TGranuleLevels> levels = whole ? ParseLevelEntry(data, file) : std::nullopt;
    // Used just now: the last entry the trim would remove.
    if (levels)
        futimens(fd, nullptr);
    close(fd);
    return levels;
}

bool TLevelCache::Write(const TFileIdentity& file, const TGranuleLevels& levels) const {
    if (FFolder.empty() || file.Size < 0 || file.Path.size() > MaxPathBytes || levels.Empty() ||
        !(levels.MsPerGranule > 0))
        return false;
    std::vector<uint8_t> data = EntryHeader(file);
    PutLe(data, std::bit_cast<uint64_t>(levels.MsPerGranule), 8);
    PutLe(data, levels.Levels.size(), 8);
    data.reserve(data.size() + 2 * levels.Levels.size() + 8);
    for (const uint16_t level : levels.Levels.Stored())
        PutLe(data, level, 2);
    PutLe(data, Fnv1a(data.data(), data.size()), 8);
    if (data.size() > FLimit)
        return false;

    const fs::path entry = EntryPath(file.Path);
    try {
        fs::create_directories(FFolder);
        // Written beside the entry and renamed over it: a reader finds the
        // old entry or the new one, never half of one.
        // A link in the entry's place is replaced, never written through.
        TOutputFile out(entry.string(), TLinkRule::Replace);
        out.Write(data.data(), data.size());
        out.Commit();
    } catch (const std::exception&) {
        return false;
    }
    Trim(entry);
    return true;
}

void TLevelCache::Trim(const fs::path& keep) const {
    struct TEntry {
        int64_t Used;
        uint64_t Size;
        fs::path Path;
    };
    std::vector<TEntry> entries;
    uint64_t total = 0;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(FFolder, error)) {
        if (item.path().extension() != EntryExtension)
            continue;
        // Sizes and times of the entries themselves: a link is not followed.
        struct stat st {};
        if (lstat(item.path().c_str(), &st) != 0)
            continue;
        const uint64_t size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
        const int64_t used = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
        total += size;
        entries.push_back({used, size, item.path()});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Used < b.Used; });
    for (const TEntry& entry : entries) {
        if (total <= FLimit)
            break;
        if (entry.Path == keep)
            continue;
        if (fs::remove(entry.Path, error))
            total -= entry.Size;
    }
}

} // namespace vivizu
