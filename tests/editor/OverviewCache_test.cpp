// The window and the levels cache: the decoded levels of a file are kept, so
// that a new window (a new run) opening the same file shows them at once
// without decoding; a file changed since, or a damaged entry, is decoded
// again.
#include "EditorTestSupport.h"

#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "engine/decode/LevelCache.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vivizu;

namespace {

class OverviewCache : public ::testing::Test {
protected:
    OverviewCache() : FormerCache(qgetenv("XDG_CACHE_HOME")) {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(Cache.path()));
        Song = Files.filePath(QStringLiteral("song.mp3"));
        QFile::copy(test::Fixture("tone-pause-tone.mp3"), Song);
    }
    ~OverviewCache() override { qputenv("XDG_CACHE_HOME", FormerCache); }

    // Opens the song in a new window; returns whether the window decoded
    // the levels, and gives the levels it shows once that is done.
    bool Open(TGranuleLevels* shown = nullptr) {
        TFrmMP3Editor w;
        test::TDialogSeams seams;
        auto* job = w.findChild<TOverviewJob*>();
        auto* band = w.findChild<TOverviewBand*>(QStringLiteral("OverviewBand"));
        QSignalSpy decoded(job, &TOverviewJob::Finished);
        test::OpenThroughDialog(w, seams, Song);
        RefiningAtOpen = band->Refining();
        for (int i = 0; i < 400 && job->Running(); ++i)
            QTest::qWait(50);
        // A decode that is done has its levels on the way: they arrive here.
        QTest::qWait(100);
        if (shown)
            *shown = band->Levels();
        RefiningAfter = band->Refining();
        return decoded.count() > 0;
    }

    std::filesystem::path Entry() const {
        const TLevelCache cache(TLevelCache::DefaultFolder());
        return cache.EntryPath(IdentityOf(QFile::encodeName(Song).toStdString()).Path);
    }

    // Whether the band said its levels were being refined right after the
    // open, and still once the decode was done.
    bool RefiningAtOpen = false;
    bool RefiningAfter = false;
    QByteArray FormerCache;
    QTemporaryDir Cache;
    QTemporaryDir Files;
    QString Song;
};

TEST_F(OverviewCache, ANewWindowShowsTheKeptLevelsWithoutDecoding) {
    TGranuleLevels decoded;
    ASSERT_TRUE(Open(&decoded));
    ASSERT_FALSE(decoded.Empty());
    EXPECT_TRUE(RefiningAtOpen) << "the estimate is shown as being refined";
    EXPECT_FALSE(RefiningAfter);
    ASSERT_TRUE(std::filesystem::exists(Entry()));
    EXPECT_EQ(Entry().parent_path(), std::filesystem::path(Cache.path().toStdString()) / "vivizu");

    TGranuleLevels kept;
    EXPECT_FALSE(Open(&kept));
    EXPECT_FALSE(RefiningAtOpen) << "kept levels are final at once";
    EXPECT_EQ(kept.MsPerGranule, decoded.MsPerGranule);
    ASSERT_EQ(kept.Levels.size(), decoded.Levels.size());
    for (size_t i = 0; i < kept.Levels.size(); ++i)
        ASSERT_NEAR(kept.Levels[i], decoded.Levels[i], 1e-4) << i;
}

TEST_F(OverviewCache, AChangedFileOrADamagedEntryIsDecodedAgain) {
    ASSERT_TRUE(Open());
    // The same bytes, a new modification time: decoded again, and kept anew.
    QFile file(Song);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(5),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(Open());
    EXPECT_FALSE(Open());

    // One byte of the entry changed.
    std::fstream entry(Entry(), std::ios::in | std::ios::out | std::ios::binary);
    entry.seekg(-12, std::ios::end);
    const char level = static_cast<char>(entry.get());
    entry.seekp(-12, std::ios::end);
    entry.put(static_cast<char>(level ^ 0x55));
    entry.close();
    EXPECT_TRUE(Open());
    EXPECT_FALSE(Open());
}

} // namespace
