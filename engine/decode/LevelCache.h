#pragma once
// The decoded levels of opened files, kept between runs so that a file
// opened again shows its true picture at once, without decoding. One small
// entry per file (two bytes a granule) in a cache folder, keyed by the
// file's path and checked against its size and modification time; entries
// are replaced atomically, the folder is held to a total size by removing
// the entries used longest ago, and an entry that is damaged, cut short, of
// another layout or of another state of the file is never used.
#include "engine/decode/SideInfoLevels.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vivizu {

// What makes a file the same file for the cache: its absolute path, its
// size and its modification time in nanoseconds.
struct TFileIdentity {
    std::string Path;
    int64_t Size = -1;
    int64_t MTimeNs = -1;

    bool operator==(const TFileIdentity&) const = default;
};

// The identity of the file at path as it is now; Size -1 when it cannot be
// looked at.
TFileIdentity IdentityOf(const std::string& path);

// The levels an entry's bytes hold for file, or none when the bytes are not
// a whole, undamaged entry of this state of the file.
std::optional<TGranuleLevels> ParseLevelEntry(const std::vector<uint8_t>& data, const TFileIdentity& file);

class TLevelCache {
public:
    static constexpr uint64_t DefaultLimitBytes = uint64_t{64} << 20;

    // Entries in folder (created when the first entry is written), at most
    // limitBytes of them together.
    explicit TLevelCache(std::filesystem::path folder, uint64_t limitBytes = DefaultLimitBytes);

    // $XDG_CACHE_HOME/vivizu, else $HOME/.cache/vivizu; empty when neither
    // names an absolute folder.
    static std::filesystem::path DefaultFolder();

    const std::filesystem::path& Folder() const { return FFolder; }
    // Where the entry of the file at path lies.
    std::filesystem::path EntryPath(const std::string& path) const;

    // The levels kept for file, or none. A read entry counts as just used.
    std::optional<TGranuleLevels> Read(const TFileIdentity& file) const;
    // Keeps levels for file in place of its former entry, then removes the
    // entries used longest ago while the folder holds more than the limit.
    // False when the entry could not be written (the cache is a help only).
    bool Write(const TFileIdentity& file, const TGranuleLevels& levels) const;

private:
    void Trim(const std::filesystem::path& keep) const;

    std::filesystem::path FFolder;
    uint64_t FLimit;
};

} // namespace vivizu
