#include "core/file_lock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/atomic_file.h"
#include "core/file_identity.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

void Save(const std::filesystem::path& path, const char* text) {
    const std::string s(text);
    ASSERT_EQ(WriteFileAtomically(path, std::vector<uint8_t>(s.begin(), s.end())), 0);
}

// Two writers that each lock, read, then save by rename: the second waits for the first and
// then holds the file the first saved, so a third finds it busy.
TEST(FileLockTest, WaitersEndUpHoldingTheFileSavedOverTheOneTheyWaitedFor) {
    test::TempFolder folder;
    const auto path = folder.path() / "p.tgr";
    Save(path, "one");
    FileLock first;
    ASSERT_EQ(first.Lock(path, true), FileLock::Result::kLocked);
    FileLock busy;
    EXPECT_EQ(busy.Lock(path, false), FileLock::Result::kBusy);
    FileLock second;
    FileLock::Result secondResult = FileLock::Result::kNoFile;
    std::thread waiter([&] { secondResult = second.Lock(path, true); });
    Save(path, "two");  // the first writer's save, still under its lock
    first.Unlock();
    waiter.join();
    EXPECT_EQ(secondResult, FileLock::Result::kLocked);
    FileLock third;
    EXPECT_EQ(third.Lock(path, false), FileLock::Result::kBusy);
    second.Unlock();
    EXPECT_EQ(third.Lock(path, false), FileLock::Result::kLocked);
    EXPECT_EQ(FileLock().Lock(folder.path() / "missing.tgr", true), FileLock::Result::kNoFile);
}

TEST(FileLockTest, IdentityShowsEveryChangeByAnotherProgram) {
    test::TempFolder folder;
    const auto path = folder.path() / "p.tgr";
    EXPECT_FALSE(FileChangedSince(path, IdentifyFile(path)));  // none then, none now
    Save(path, "abc");
    const auto recorded = IdentifyFile(path);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->size, 3u);
    EXPECT_FALSE(FileChangedSince(path, recorded));
    Save(path, "xyz");  // same size, new file
    EXPECT_TRUE(FileChangedSince(path, recorded));
    const auto again = IdentifyFile(path);
    std::filesystem::remove(path);
    EXPECT_TRUE(FileChangedSince(path, again));
    EXPECT_FALSE(FileChangedSince(path, std::nullopt));
}

}  // namespace
}  // namespace tama05
