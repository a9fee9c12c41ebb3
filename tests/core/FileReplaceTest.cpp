// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileReplace.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace vx40 {
namespace {

// The kind of a failed replace; none when it succeeded.
std::optional<FailureKind> KindOf(const Status& status) {
    return status.Ok() ? std::nullopt : std::optional(status.Error().kind);
}

using testutil::FileSizeLimit;
using testutil::ModeOf;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;
using Names = std::vector<std::string>;

TEST(FileReplace, NewFileGetsTheContentAndTheModeOfTheUmask) {
    TempDir dir;
    const mode_t oldMask = ::umask(027);
    const Status result = ReplaceFile(dir.Path("new.bin"), "abc", SyncToDisk::Yes);
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
    const Status result = ReplaceFile(path, "new", SyncToDisk::Yes);
    EXPECT_EQ(KindOf(result), FailureKind::TargetReadOnly);
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
    const Status result = ReplaceFile(dir.Path("one"), "x", SyncToDisk::No);
    EXPECT_EQ(KindOf(result), FailureKind::WriteFailed);
    EXPECT_EQ(result.Error().error, ELOOP);
}

TEST(FileReplace, TargetInAMissingFolderCreatesNothing) {
    TempDir dir;
    const Status result = ReplaceFile(dir.Path("gone/x.bin"), "x", SyncToDisk::Yes);
    EXPECT_EQ(KindOf(result), FailureKind::FolderMissing);
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
    const Status result = ReplaceFile(path, "x", SyncToDisk::Yes);
    EXPECT_EQ(KindOf(result), FailureKind::NotRegularFile);
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
    Status result;
    {
        const FileSizeLimit limit(1000);
        result = ReplaceFile(path, std::string(4096, 'n'), SyncToDisk::Yes);
    }
    EXPECT_EQ(KindOf(result), FailureKind::FileTooLarge);
    EXPECT_EQ(result.Error().error, EFBIG);
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(dir.Names(), Names{"image.bin"});
}

// Another user's id and group for links and files that are not the test's own.
constexpr uid_t kOtherUser = 65534;
constexpr gid_t kSharedGroup = 4242;

struct OwnerOf {
    uid_t uid;
    gid_t gid;
};

OwnerOf OwnerOfPath(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {st.st_uid, st.st_gid};
}

struct PlantedLinkCase {
    const char* name;
    mode_t folderMode;
    uid_t folderOwner;
    uid_t linkOwner;
    bool followed;
};

void PrintTo(const PlantedLinkCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplacePlantedLink : public ::testing::TestWithParam<PlantedLinkCase> {};

// The link "s/out.bin" points at a file outside s; a second link in a private folder points at it,
// since every hop of a chain is judged on its own.
TEST_P(FileReplacePlantedLink, IsFollowedOnlyWhenTrusted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "links of another user need root";
    }
    const PlantedLinkCase& c = GetParam();
    TempDir dir;
    const std::string shared = dir.Path("s");
    std::filesystem::create_directories(shared);
    ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, 0), 0);
    ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
    WriteBytes(dir.Path("victim"), "root's");
    std::filesystem::create_symlink(dir.Path("victim"), shared + "/out.bin");
    ASSERT_EQ(::lchown((shared + "/out.bin").c_str(), c.linkOwner, c.linkOwner), 0);
    std::filesystem::create_symlink(shared + "/out.bin", dir.Path("mine"));

    for (const std::string& path : {shared + "/out.bin", dir.Path("mine")}) {
        const Status result = ReplaceFile(path, "new", SyncToDisk::Yes);
        if (c.followed) {
            EXPECT_TRUE(result.Ok()) << path;
            EXPECT_EQ(ReadBytes(dir.Path("victim")), "new");
        } else {
            EXPECT_EQ(KindOf(result), FailureKind::LinkNotFollowed) << path;
            EXPECT_EQ(ReadBytes(dir.Path("victim")), "root's");
        }
        EXPECT_TRUE(testutil::IsSymlink(shared + "/out.bin"));
        EXPECT_EQ(dir.Names(), (Names{"mine", "s", "victim"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, FileReplacePlantedLink,
    ::testing::Values(PlantedLinkCase{"OtherUsersLinkInStickyFolder", 01777, 0, kOtherUser, false},
                      PlantedLinkCase{"OwnLinkInStickyFolder", 01777, 0, 0, true},
                      PlantedLinkCase{"FolderOwnersLink", 01777, kOtherUser, kOtherUser, true},
                      PlantedLinkCase{"FolderNotSticky", 0777, 0, kOtherUser, true},
                      PlantedLinkCase{"FolderNotWorldWritable", 01775, 0, kOtherUser, true}),
    [](const ::testing::TestParamInfo<PlantedLinkCase>& param) { return param.param.name; });

struct SharedFileCase {
    const char* name;
    gid_t fileGroup;
    mode_t fileMode;
    gid_t expectedGroup;
};

void PrintTo(const SharedFileCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplaceSharedFile : public ::testing::TestWithParam<SharedFileCase> {};

// Another user, a member of kSharedGroup, replaces root's file: the file becomes theirs, and keeps
// its group where they belong to it.
TEST_P(FileReplaceSharedFile, KeepsTheGroupWhereTheUserMay) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "changing to another user needs root";
    }
    const SharedFileCase& c = GetParam();
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string folder = dir.Path("team");
    std::filesystem::create_directories(folder);
    ASSERT_EQ(::chown(folder.c_str(), 0, kSharedGroup), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0770), 0);
    const std::string path = folder + "/plan.vx4";
    WriteBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 0, c.fileGroup), 0);
    ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t groups[] = {kSharedGroup};
        if (::setgroups(1, groups) != 0 || ::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0) {
            ::_exit(2);
        }
        ::_exit(ReplaceFile(path, "new", SyncToDisk::No).Ok() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(OwnerOfPath(path).uid, kOtherUser);
    EXPECT_EQ(OwnerOfPath(path).gid, c.expectedGroup);
    EXPECT_EQ(ModeOf(path), c.fileMode);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileReplaceSharedFile,
    ::testing::Values(SharedFileCase{"GroupOfTheUser", kSharedGroup, 0660, kSharedGroup},
                      SharedFileCase{"GroupNotOfTheUser", 0, 0666, kOtherUser}),
    [](const ::testing::TestParamInfo<SharedFileCase>& param) { return param.param.name; });

struct StatusOf {
    ino_t inode;
    timespec modified;
};

StatusOf StatusOfPath(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {st.st_ino, st.st_mtim};
}

bool SameStatus(const StatusOf& a, const StatusOf& b) {
    return a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec &&
           a.modified.tv_nsec == b.modified.tv_nsec;
}

// A prepared replace that is dropped changes nothing at all, for a new and an existing target;
// one that is committed puts the content in place and leaves nothing beside it.
TEST(FileReplace, PreparedReplaceChangesNothingUntilItIsCommitted) {
    TempDir dir;
    const std::string existing = dir.Path("old.bin");
    WriteBytes(existing, "old");
    ::chmod(existing.c_str(), 0640);
    const StatusOf before = StatusOfPath(existing);
    {
        PreparedReplace a = PrepareReplace(existing, "new", SyncToDisk::Yes);
        PreparedReplace b = PrepareReplace(dir.Path("fresh.bin"), "new", SyncToDisk::Yes);
        ASSERT_TRUE(a.Ok());
        ASSERT_TRUE(b.Ok());
        EXPECT_EQ(dir.Names(), Names{"old.bin"});
    }
    EXPECT_EQ(dir.Names(), Names{"old.bin"});
    EXPECT_EQ(ReadBytes(existing), "old");
    EXPECT_TRUE(SameStatus(StatusOfPath(existing), before));

    PreparedReplace a = PrepareReplace(existing, "new", SyncToDisk::Yes);
    PreparedReplace b = PrepareReplace(dir.Path("fresh.bin"), "made", SyncToDisk::Yes);
    const ReplacePairResult committed = CommitReplacePair(a, b);
    ASSERT_TRUE(committed.first.Ok());
    ASSERT_TRUE(committed.second.Ok());
    EXPECT_EQ(ReadBytes(existing), "new");
    EXPECT_EQ(ModeOf(existing), 0640u);
    EXPECT_EQ(ReadBytes(dir.Path("fresh.bin")), "made");
    EXPECT_EQ(dir.Names(), (Names{"fresh.bin", "old.bin"}));
    EXPECT_EQ(KindOf(a.Commit()), FailureKind::WriteFailed);

    // A pair with a refused half commits neither.
    WriteBytes(dir.Path("locked.bin"), "locked");
    ::chmod(dir.Path("locked.bin").c_str(), 0444);
    PreparedReplace c = PrepareReplace(existing, "newer", SyncToDisk::Yes);
    PreparedReplace d = PrepareReplace(dir.Path("locked.bin"), "x", SyncToDisk::Yes);
    EXPECT_EQ(KindOf(CommitReplacePair(c, d).first), FailureKind::TargetReadOnly);
    EXPECT_EQ(ReadBytes(existing), "new");
}

bool MakesUnnamedFiles(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// Every round writes its number into both files of a pair; whenever SIGINT ends the writer, the
// two files hold the same round, since the signal waits while the pair is renamed.
TEST(FileReplace, InterruptedPairCommitsLeaveMatchingFiles) {
    TempDir dir;
    if (!MakesUnnamedFiles(dir.Path())) {
        GTEST_SKIP() << "an interrupted named temporary file stays until the next replace";
    }
    const std::string first = dir.Path("plan.vx4");
    const std::string second = dir.Path("plan.bin");
    WriteBytes(first, "0");
    WriteBytes(second, "0");
    std::mt19937 random(19);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    for (int interrupt = 0; interrupt < 100; ++interrupt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGINT, SIG_DFL);
            for (int round = 1;; ++round) {
                PreparedReplace a = PrepareReplace(first, std::to_string(round), SyncToDisk::No);
                PreparedReplace b = PrepareReplace(second, std::to_string(round), SyncToDisk::No);
                [[maybe_unused]] const ReplacePairResult ignored = CommitReplacePair(a, b);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGINT);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ASSERT_EQ(ReadBytes(first), ReadBytes(second)) << "after interrupt " << interrupt;
        ASSERT_EQ(dir.Names(), (Names{"plan.bin", "plan.vx4"})) << "after interrupt " << interrupt;
    }
}

struct LeftoverCase {
    const char* name;
    std::string entry;  // "DEAD" and "LIVE" stand for a process id that ended and one that runs
    enum Kind { File, Link, Folder, OtherUsersFile } kind;
    bool removed;
};

void PrintTo(const LeftoverCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplaceLeftover : public ::testing::TestWithParam<LeftoverCase> {};

// Only a file that a killed replace of this very target may have left is removed by the next
// replace of it.
TEST_P(FileReplaceLeftover, IsRemovedOnlyWhenItIsSurelyOne) {
    const LeftoverCase& c = GetParam();
    if (c.kind == LeftoverCase::OtherUsersFile && ::geteuid() != 0) {
        GTEST_SKIP() << "a file of another user needs root";
    }
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    std::string entry = c.entry;
    for (const auto& [word, pid] :
         {std::pair{std::string("DEAD"), ended}, std::pair{std::string("LIVE"), ::getppid()}}) {
        if (const auto at = entry.find(word); at != std::string::npos) {
            entry.replace(at, word.size(), std::to_string(pid));
        }
    }
    TempDir dir;
    const std::string longName(80, 'n');
    const std::string target = dir.Path(entry.find(longName.substr(0, 64)) != std::string::npos
                                            ? longName
                                            : std::string("image.bin"));
    WriteBytes(target, "old");
    switch (c.kind) {
        case LeftoverCase::File:
            WriteBytes(dir.Path(entry), "half");
            break;
        case LeftoverCase::OtherUsersFile:
            WriteBytes(dir.Path(entry), "half");
            ASSERT_EQ(::chown(dir.Path(entry).c_str(), kOtherUser, kOtherUser), 0);
            break;
        case LeftoverCase::Link:
            std::filesystem::create_symlink(target, dir.Path(entry));
            break;
        case LeftoverCase::Folder:
            std::filesystem::create_directories(dir.Path(entry));
            break;
    }
    ASSERT_TRUE(ReplaceFile(target, "new", SyncToDisk::No).Ok());
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(dir.Path(entry))),
              !c.removed);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileReplaceLeftover,
    ::testing::Values(
        LeftoverCase{"OfAnEndedProcess", ".image.bin.DEAD-0-12345-0.tmp", LeftoverCase::File, true},
        LeftoverCase{"OfALongNameCutTo64", "." + std::string(64, 'n') + ".DEAD-7-1-99.tmp",
                     LeftoverCase::File, true},
        LeftoverCase{"OfARunningProcess", ".image.bin.LIVE-0-12345-0.tmp", LeftoverCase::File,
                     false},
        LeftoverCase{"OfAnotherTarget", ".image.bin2.DEAD-0-1-0.tmp", LeftoverCase::File, false},
        LeftoverCase{"ThreeNumbers", ".image.bin.DEAD-0-1.tmp", LeftoverCase::File, false},
        LeftoverCase{"SignedNumber", ".image.bin.DEAD-+0-1-0.tmp", LeftoverCase::File, false},
        LeftoverCase{"MoreAfterTheEnding", ".image.bin.DEAD-0-1-0.tmp~", LeftoverCase::File, false},
        LeftoverCase{"ALink", ".image.bin.DEAD-0-1-0.tmp", LeftoverCase::Link, false},
        LeftoverCase{"AFolder", ".image.bin.DEAD-0-1-0.tmp", LeftoverCase::Folder, false},
        LeftoverCase{"AnotherUsersFile", ".image.bin.DEAD-0-1-0.tmp", LeftoverCase::OtherUsersFile,
                     false}),
    [](const ::testing::TestParamInfo<LeftoverCase>& param) { return param.param.name; });

struct SharedPathCase {
    const char* name;
    std::string path;  // in the test's folder; s/ is sticky and everyone may write to it
    std::optional<FailureKind> failure;  // none: replaced
    std::string untrustedLink;           // in the test's folder
};

void PrintTo(const SharedPathCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplaceSharedPath : public ::testing::TestWithParam<SharedPathCase> {};

// In the sticky folder s, another user has planted the link "s/d" to the folder "victim" and the
// file "s/theirs"; the test's own link "s/own" points at "s/d", and "mine" at "s/own".
TEST_P(FileReplaceSharedPath, TrustsOnlyWhatThePlanterCannotHaveMade) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "links and files of another user need root";
    }
    const SharedPathCase& c = GetParam();
    TempDir dir;
    const std::string shared = dir.Path("s");
    std::filesystem::create_directories(shared);
    std::filesystem::create_directories(dir.Path("victim"));
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteBytes(dir.Path("victim/v.bin"), "root's");
    std::filesystem::create_symlink("../victim", shared + "/d");
    ASSERT_EQ(::lchown((shared + "/d").c_str(), kOtherUser, kOtherUser), 0);
    std::filesystem::create_symlink("d", shared + "/own");
    std::filesystem::create_symlink("s/own", dir.Path("mine"));
    WriteBytes(shared + "/theirs", "theirs");
    ASSERT_EQ(::chown((shared + "/theirs").c_str(), kOtherUser, kOtherUser), 0);
    ASSERT_EQ(::chmod((shared + "/theirs").c_str(), 0666), 0);
    WriteBytes(shared + "/ours", "ours");

    const Status result = ReplaceFile(dir.Path(c.path), "new", SyncToDisk::Yes);
    EXPECT_EQ(KindOf(result), c.failure);
    EXPECT_EQ(result.Ok() ? "" : result.Error().detail,
              c.untrustedLink.empty() ? "" : dir.Path(c.untrustedLink));
    EXPECT_EQ(ReadBytes(dir.Path("victim/v.bin")), "root's");
    EXPECT_EQ(ReadBytes(shared + "/theirs"), "theirs");
    if (!c.failure) {
        EXPECT_EQ(ReadBytes(dir.Path(c.path)), "new");
    }
    EXPECT_EQ(dir.Names(), (Names{"mine", "s", "victim"}));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileReplaceSharedPath,
    ::testing::Values(SharedPathCase{"PlantedLinkAsFolder", "s/d/v.bin",
                                     FailureKind::LinkNotFollowed, "s/d"},
                      SharedPathCase{"PlantedLinkBehindOwnLinks", "mine/v.bin",
                                     FailureKind::LinkNotFollowed, "s/d"},
                      SharedPathCase{"PlantedLinkAfterDotDot", "s/../s/d/v.bin",
                                     FailureKind::LinkNotFollowed, "s/../s/d"},
                      SharedPathCase{"PlantedLinkItself", "s/d", FailureKind::LinkNotFollowed, ""},
                      SharedPathCase{"OtherUsersFile", "s/theirs", FailureKind::ForeignFile, ""},
                      SharedPathCase{"OwnFile", "s/ours", std::nullopt, ""},
                      SharedPathCase{"NewFile", "s/new.bin", std::nullopt, ""}),
    [](const ::testing::TestParamInfo<SharedPathCase>& param) { return param.param.name; });

// Only between naming the complete file and renaming it over the target, two calls in a row, can a
// killed process still leave a file. Each writer is stopped at a random moment first; a stop that
// catches it in that instant, which is rare, is let go and tried again, and the kill follows a stop
// that finds no temporary file. A writer that keeps a named file for the whole write is caught
// with it again and again.
TEST(FileReplace, KilledWritersLeaveNoTemporaryFile) {
    TempDir dir;
    if (!MakesUnnamedFiles(dir.Path())) {
        GTEST_SKIP() << "the file system makes no unnamed files";
    }
    const std::string path = dir.Path("image.bin");
    const std::string content(4 << 20, 'n');
    WriteBytes(path, "old");
    std::mt19937 random(16);
    std::uniform_int_distribution<int> delayUs(0, 5000);
    int letGo = 0;
    for (int kill = 0; kill < 30; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                [[maybe_unused]] const Status ignored = ReplaceFile(path, content, SyncToDisk::No);
            }
        }
        int status = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            ::kill(child, SIGSTOP);
            ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
            if (dir.Names().size() == 1) {
                break;
            }
            ::kill(child, SIGCONT);
            if (++letGo > 3) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                FAIL() << "the writer was caught with a temporary file " << letGo << " times";
            }
        }
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_EQ(dir.Names(), Names{"image.bin"}) << "after kill " << kill;
    }
    const std::string last = ReadBytes(path);
    EXPECT_TRUE(last == "old" || last == content);
}

}  // namespace
}  // namespace vx40
