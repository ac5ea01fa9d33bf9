#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include "picture_writers.h"

namespace tama05 {
namespace {

using test::Bytes;

TEST(AtomicFileTest, WritesAndReplacesWholeFiles) {
    test::ScratchFolder folder;
    const auto target = folder.path() / "out.bin";
    ASSERT_EQ(WriteFileAtomically(target, Bytes{1, 2, 3, 4}), 0);
    EXPECT_EQ(folder.Read("out.bin"), (Bytes{1, 2, 3, 4}));
    ASSERT_EQ(WriteFileAtomically(target, Bytes{9}), 0);
    EXPECT_EQ(folder.Read("out.bin"), Bytes{9});
    ASSERT_EQ(WriteFileAtomically(target, Bytes{}), 0);
    EXPECT_TRUE(folder.Read("out.bin").empty());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.bin"});
}

TEST(AtomicFileTest, FailuresLeaveNothingBehind) {
    test::ScratchFolder folder;
    EXPECT_EQ(WriteFileAtomically(folder.path() / "missing" / "x.bin", Bytes{1}), -1);
    // A folder in the way cannot be replaced by a file: the temporary file is removed.
    std::filesystem::create_directory(folder.path() / "taken");
    std::filesystem::create_directory(folder.path() / "taken" / "inner");
    EXPECT_EQ(WriteFileAtomically(folder.path() / "taken", Bytes{1}), -3);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace tama05
