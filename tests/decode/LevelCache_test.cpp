// The levels cache: an entry written by one cache object is read by another
// (a new run), to two bytes' precision; a damaged, cut short or foreign
// entry and one of another state of the file are never used; the folder is
// held to its limit by removing the entries used longest ago; the folder
// follows XDG_CACHE_HOME.
#include "engine/decode/LevelCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

namespace vivizu {
namespace {

namespace fs = std::filesystem;

class LevelCacheTest : public ::testing::Test {
protected:
    LevelCacheTest() {
        char pattern[] = "/tmp/levelcache-XXXXXX";
        Folder = mkdtemp(pattern);
    }
    ~LevelCacheTest() override { fs::remove_all(Folder); }

    static TFileIdentity Song(const std::string& name = "/music/song.mp3") { return {name, 123456, 1700000000123456789}; }
    static TGranuleLevels Levels(size_t count) {
        TGranuleLevels levels{26.122448979591837 / 2, {}};
        for (size_t i = 0; i < count; ++i)
            levels.Levels.push_back(static_cast<float>(i % 100) / 99.0f);
        return levels;
    }
    std::string Bytes(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Put(const fs::path& path, const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    fs::path Folder;
};

TEST_F(LevelCacheTest, WrittenByOneRunReadByTheNext) {
    const TGranuleLevels levels = Levels(5000);
    ASSERT_TRUE(TLevelCache(Folder / "vivizu").Write(Song(), levels));
    const auto read = TLevelCache(Folder / "vivizu").Read(Song());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->MsPerGranule, levels.MsPerGranule);
    ASSERT_EQ(read->Levels.size(), levels.Levels.size());
    for (size_t i = 0; i < levels.Levels.size(); ++i)
        ASSERT_NEAR(read->Levels[i], levels.Levels[i], 1.0 / 65535) << i;
    // Held as the cache stores them: what a run reads is what the run
    // before it had, to the bit.
    EXPECT_EQ(read->Levels, levels.Levels);
    // Small: two bytes a granule and a header.
    EXPECT_LT(fs::file_size(TLevelCache(Folder / "vivizu").EntryPath(Song().Path)), 5000u * 2 + 200);
    // Nothing else left in the folder (no temporary file).
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder / "vivizu"), fs::directory_iterator()), 1);
    // Another file has no entry.
    EXPECT_FALSE(TLevelCache(Folder / "vivizu").Read(Song("/music/other.mp3")).has_value());
}

TEST_F(LevelCacheTest, AnotherStateOfTheFileIsNotUsedAndItsEntryIsReplaced) {
    TLevelCache cache(Folder);
    ASSERT_TRUE(cache.Write(Song(), Levels(300)));
    TFileIdentity grown = Song();
    grown.Size += 1;
    TFileIdentity touched = Song();
    touched.MTimeNs += 1;
    EXPECT_FALSE(cache.Read(grown).has_value());
    EXPECT_FALSE(cache.Read(touched).has_value());
    ASSERT_TRUE(cache.Write(touched, Levels(200)));
    EXPECT_FALSE(cache.Read(Song()).has_value());
    ASSERT_TRUE(cache.Read(touched).has_value());
    EXPECT_EQ(cache.Read(touched)->Levels.size(), 200u);
}

TEST_F(LevelCacheTest, DamagedCutShortOrForeignEntriesAreIgnored) {
    TLevelCache cache(Folder);
    ASSERT_TRUE(cache.Write(Song(), Levels(1000)));
    const fs::path entry = cache.EntryPath(Song().Path);
    const std::string good = Bytes(entry);

    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x01; // one level's bit
    Put(entry, flipped);
    EXPECT_FALSE(cache.Read(Song()).has_value()) << "a changed level";

    std::string count = good;
    const size_t countAt = good.size() - 8 - 2000 - 8;
    count[countAt] ^= 0x10; // the granule count
    Put(entry, count);
    EXPECT_FALSE(cache.Read(Song()).has_value()) << "a changed count";

    for (const size_t keep : {good.size() - 1, good.size() - 9, size_t{20}, size_t{0}}) {
        Put(entry, good.substr(0, keep));
        EXPECT_FALSE(cache.Read(Song()).has_value()) << "cut to " << keep;
    }
    Put(entry, good + "x");
    EXPECT_FALSE(cache.Read(Song()).has_value()) << "a byte too many";

    std::string version = good;
    version[8] = 2;
    Put(entry, version);
    EXPECT_FALSE(cache.Read(Song()).has_value()) << "another layout";

    Put(entry, good);
    EXPECT_TRUE(cache.Read(Song()).has_value());
}

// Past the limit the entries used longest ago go; one just read counts as
// used; the entry just written stays.
TEST_F(LevelCacheTest, HeldToItsLimitByRemovingTheLeastRecentlyUsed) {
    const TGranuleLevels levels = Levels(4000); // about 8 KB an entry
    TLevelCache cache(Folder, 20000);
    auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
    ASSERT_TRUE(cache.Write(Song("/a.mp3"), levels));
    later();
    ASSERT_TRUE(cache.Write(Song("/b.mp3"), levels));
    later();
    ASSERT_TRUE(cache.Read(Song("/a.mp3")).has_value()); // a is now newer than b
    later();
    ASSERT_TRUE(cache.Write(Song("/c.mp3"), levels));
    EXPECT_TRUE(cache.Read(Song("/a.mp3")).has_value());
    EXPECT_FALSE(cache.Read(Song("/b.mp3")).has_value());
    EXPECT_TRUE(cache.Read(Song("/c.mp3")).has_value());
    // An entry larger than the whole limit is not written.
    EXPECT_FALSE(cache.Write(Song("/d.mp3"), Levels(20000)));
    EXPECT_TRUE(cache.Read(Song("/c.mp3")).has_value());
}

// An entry's place that holds a link (to a file of the user's, to a pipe or
// device) or something else than a regular file: nothing is read through it,
// the thing it points to is never touched, and a new entry replaces the
// link itself.
TEST_F(LevelCacheTest, LinksAndOtherFilesInAnEntrysPlaceAreReplacedNeverFollowed) {
    TLevelCache cache(Folder / "cache");
    fs::create_directories(Folder / "cache");
    const fs::path entry = cache.EntryPath(Song().Path);
    const fs::path precious = Folder / "precious.txt";
    Put(precious, "the user's own words");
    const fs::path pipe = Folder / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    // A link to a file holding a valid entry of this song is still not used.
    ASSERT_TRUE(TLevelCache(Folder / "elsewhere").Write(Song(), Levels(100)));
    const fs::path validElsewhere = TLevelCache(Folder / "elsewhere").EntryPath(Song().Path);
    struct stat before {};
    ASSERT_EQ(stat(validElsewhere.c_str(), &before), 0);
    for (const fs::path& target : {validElsewhere, precious, pipe}) {
        SCOPED_TRACE(target.string());
        fs::remove(entry);
        fs::create_symlink(target, entry);
        // Reading neither follows the link nor waits on the pipe.
        EXPECT_FALSE(cache.Read(Song()).has_value());
        ASSERT_TRUE(cache.Write(Song(), Levels(50)));
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(entry)));
        ASSERT_TRUE(cache.Read(Song()).has_value());
        EXPECT_EQ(cache.Read(Song())->Levels.size(), 50u);
    }
    EXPECT_EQ(Bytes(precious), "the user's own words");
    EXPECT_TRUE(fs::is_fifo(pipe));
    struct stat after {};
    ASSERT_EQ(stat(validElsewhere.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec); // not even touched as "used"
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    // A pipe in the entry's own place: read without waiting, then replaced.
    fs::remove(entry);
    ASSERT_EQ(mkfifo(entry.c_str(), 0600), 0);
    EXPECT_FALSE(cache.Read(Song()).has_value());
    ASSERT_TRUE(cache.Write(Song(), Levels(20)));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entry)));
}

// The trim counts the entries themselves: a link to a large file costs
// nothing, and removing it removes the link, not what it points to.
TEST_F(LevelCacheTest, TrimRemovesLinksNotTheirTargets) {
    const fs::path big = Folder / "big.bin";
    Put(big, std::string(100000, 'x'));
    TLevelCache cache(Folder / "cache", 8000);
    fs::create_directories(Folder / "cache");
    fs::create_symlink(big, Folder / "cache" / "0000000000000000.levels");
    ASSERT_TRUE(cache.Write(Song("/a.mp3"), Levels(1000)));
    EXPECT_TRUE(cache.Read(Song("/a.mp3")).has_value());
    EXPECT_EQ(fs::file_size(big), 100000u);
}

TEST_F(LevelCacheTest, FolderFromXdgCacheHomeElseHome) {
    const char* oldCache = std::getenv("XDG_CACHE_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedCache = oldCache ? oldCache : "", savedHome = oldHome ? oldHome : "";
    setenv("XDG_CACHE_HOME", "/tmp/x-cache", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(TLevelCache::DefaultFolder(), fs::path("/tmp/x-cache/vivizu"));
    setenv("XDG_CACHE_HOME", "relative", 1); // not absolute: not used
    EXPECT_EQ(TLevelCache::DefaultFolder(), fs::path("/home/someone/.cache/vivizu"));
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(TLevelCache::DefaultFolder(), fs::path("/home/someone/.cache/vivizu"));
    unsetenv("HOME");
    EXPECT_TRUE(TLevelCache::DefaultFolder().empty());
    EXPECT_FALSE(TLevelCache(TLevelCache::DefaultFolder()).Write(Song(), Levels(10)));
    oldCache ? setenv("XDG_CACHE_HOME", savedCache.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

} // namespace
} // namespace vivizu
