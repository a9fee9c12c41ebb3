#include "platform/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "TempDir.h"

namespace vx40 {
namespace {

using testutil::FileSizeLimit;
using testutil::ModeOf;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;
using Names = std::vector<std::string>;

TEST(FileReplace, NewFileGetsTheContentAndTheModeOfTheUmask) {
    TempDir dir;
    const mode_t oldMask = ::umask(027);
    const FileReplaceResult result = ReplaceFile(dir.Path("new.bin"), "abc", SyncToDisk::Yes);
    ::umask(oldMask);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(ReadBytes(dir.Path("new.bin")), "abc");
    EXPECT_EQ(ModeOf(dir.Path("new.bin")), 0640u);
    EXPECT_EQ(dir.Names(), Names{"new.bin"});
}

TEST(FileReplace, ExistingFileIsReplacedWholeAndKeepsItsMode) {
    TempDir dir;
    const std::string path = dir.Path("old.vx4");
    WriteBytes(path, std::string(5000, 'x'));
    ::chmod(path.c_str(), 0604);
    ASSERT_TRUE(ReplaceFile(path, "short", SyncToDisk::No).Ok());
    EXPECT_EQ(ReadBytes(path), "short");
    EXPECT_EQ(ModeOf(path), 0604u);
    EXPECT_EQ(dir.Names(), Names{"old.vx4"});
}

TEST(FileReplace, ReadOnlyTargetIsRefusedEvenForRoot) {
    TempDir dir;
    const std::string path = dir.Path("locked.bin");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    const FileReplaceResult result = ReplaceFile(path, "new", SyncToDisk::Yes);
    EXPECT_EQ(result.failure, FileReplaceFailure::TargetReadOnly);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(dir.Names(), Names{"locked.bin"});
}

TEST(FileReplace, SymbolicLinksAreFollowedAndStayLinks) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("a"));
    std::filesystem::create_directories(dir.Path("b"));
    WriteBytes(dir.Path("b/target"), "old");
    // A relative link counts from its own folder; the second link points at the first.
    std::filesystem::create_symlink("../b/target", dir.Path("a/link"));
    std::filesystem::create_symlink("a/link", dir.Path("chain"));
    ASSERT_TRUE(ReplaceFile(dir.Path("chain"), "new", SyncToDisk::Yes).Ok());
    EXPECT_TRUE(testutil::IsSymlink(dir.Path("chain")));
    EXPECT_TRUE(testutil::IsSymlink(dir.Path("a/link")));
    EXPECT_EQ(ReadBytes(dir.Path("b/target")), "new");
    EXPECT_EQ(dir.Names(), (Names{"a", "b", "chain"}));

    // A link to a name that does not exist yet creates that file.
    std::filesystem::create_symlink("b/fresh", dir.Path("dangling"));
    ASSERT_TRUE(ReplaceFile(dir.Path("dangling"), "made", SyncToDisk::No).Ok());
    EXPECT_TRUE(testutil::IsSymlink(dir.Path("dangling")));
    EXPECT_EQ(ReadBytes(dir.Path("b/fresh")), "made");
}

TEST(FileReplace, LinkLoopIsRefused) {
    TempDir dir;
    std::filesystem::create_symlink("two", dir.Path("one"));
    std::filesystem::create_symlink("one", dir.Path("two"));
    const FileReplaceResult result = ReplaceFile(dir.Path("one"), "x", SyncToDisk::No);
    EXPECT_EQ(result.failure, FileReplaceFailure::Other);
    EXPECT_EQ(result.error, ELOOP);
}

TEST(FileReplace, TargetInAMissingFolderCreatesNothing) {
    TempDir dir;
    const FileReplaceResult result = ReplaceFile(dir.Path("gone/x.bin"), "x", SyncToDisk::Yes);
    EXPECT_EQ(result.failure, FileReplaceFailure::FolderMissing);
    EXPECT_EQ(dir.Names(), Names{});
}

struct NotRegularCase {
    const char* name;
    std::string (*make)(const TempDir& dir);
};

void PrintTo(const NotRegularCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplaceNotRegular : public ::testing::TestWithParam<NotRegularCase> {};

TEST_P(FileReplaceNotRegular, IsRefusedAndLeftAlone) {
    TempDir dir;
    const std::string path = GetParam().make(dir);
    const FileReplaceResult result = ReplaceFile(path, "x", SyncToDisk::Yes);
    EXPECT_EQ(result.failure, FileReplaceFailure::NotRegularFile);
    EXPECT_FALSE(std::filesystem::is_regular_file(path));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FileReplaceNotRegular,
    ::testing::Values(
        NotRegularCase{"Folder",
                       [](const TempDir& dir) {
                           std::filesystem::create_directories(dir.Path("folder"));
                           return dir.Path("folder");
                       }},
        NotRegularCase{"Fifo",
                       [](const TempDir& dir) {
                           ::mkfifo(dir.Path("fifo").c_str(), 0644);
                           return dir.Path("fifo");
                       }},
        NotRegularCase{"DevFull", [](const TempDir&) { return std::string("/dev/full"); }},
        NotRegularCase{"TrailingSlash", [](const TempDir& dir) { return dir.Path("x/"); }}),
    [](const ::testing::TestParamInfo<NotRegularCase>& param) { return param.param.name; });

TEST(FileReplace, WriteBreakingOffInTheMiddleLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.Path("image.bin");
    WriteBytes(path, "old content");
    FileReplaceResult result;
    {
        const FileSizeLimit limit(1000);
        result = ReplaceFile(path, std::string(4096, 'n'), SyncToDisk::Yes);
    }
    EXPECT_EQ(result.failure, FileReplaceFailure::Other);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(dir.Names(), Names{"image.bin"});
}

}  // namespace
}  // namespace vx40
