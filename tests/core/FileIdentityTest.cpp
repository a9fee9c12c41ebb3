// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileIdentity.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "os/FileRead.h"
#include "os/StandardStreams.h"
#include "tests/core/TempDir.h"

namespace vx40 {
namespace {

using testutil::TempDir;
using testutil::WriteBytes;

// Names lead to one file through links and hard links, and to another file only by its name.
TEST(FileIdentity, IsTheSameForEveryNameOfOneFile) {
    TempDir dir;
    WriteBytes(dir.Path("a"), "a");
    WriteBytes(dir.Path("b"), "a");
    std::filesystem::create_hard_link(dir.Path("a"), dir.Path("hard"));
    std::filesystem::create_symlink("a", dir.Path("link"));
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink("../link", dir.Path("sub/chain"));
    std::filesystem::create_symlink("missing", dir.Path("dangling"));
    const auto a = IdentityOf(dir.Path("a"));
    ASSERT_TRUE(a.has_value());
    const struct {
        const char* name;
        bool sameAsA;
    } names[] = {{"a", true},         {"./a", true},      {"hard", true}, {"link", true},
                 {"sub/chain", true}, {"sub/../a", true}, {"b", false},   {"sub", false}};
    for (const auto& row : names) {
        const auto identity = IdentityOf(dir.Path(row.name));
        ASSERT_TRUE(identity.has_value()) << row.name;
        EXPECT_EQ(*identity == *a, row.sameAsA) << row.name;
    }
    for (const char* none : {"missing", "dangling", "a/x"}) {
        EXPECT_EQ(IdentityOf(dir.Path(none)), std::nullopt) << none;
    }
}

// Standard input stands in for both streams: the test replaces it for the time of one check, by
// fd or, for fd -1, by a closed stream.
class RedirectedInput {
  public:
    explicit RedirectedInput(int fd) : saved_(::dup(STDIN_FILENO)) {
        if (fd >= 0) {
            ::dup2(fd, STDIN_FILENO);
        } else {
            ::close(STDIN_FILENO);
        }
    }
    RedirectedInput(const RedirectedInput&) = delete;
    RedirectedInput& operator=(const RedirectedInput&) = delete;
    ~RedirectedInput() {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }

  private:
    int saved_;
};

TEST(RedirectedFileIdentity, IsTheFileOnlyForARegularFile) {
    TempDir dir;
    WriteBytes(dir.Path("in"), "x");
    const int file = ::open(dir.Path("in").c_str(), O_RDONLY);
    int pipe[2] = {-1, -1};
    ASSERT_GE(file, 0);
    ASSERT_EQ(::pipe(pipe), 0);
    {
        const RedirectedInput redirected(file);
        EXPECT_EQ(RedirectedFileIdentity(StandardStream::Input), IdentityOf(dir.Path("in")));
    }
    {
        const RedirectedInput redirected(pipe[0]);
        EXPECT_EQ(RedirectedFileIdentity(StandardStream::Input), std::nullopt);
    }
    for (const int fd : {file, pipe[0], pipe[1]}) {
        ::close(fd);
    }
}

// As a program finds standard input at its start: readable through a file or a pipe, by the
// name that StandardInputPath gives; not when it is open for writing only, nor when it was closed,
// and then its number stays taken so that no file opened later gets it.
TEST(StandardInput, IsReadableByItsNameOnlyWhereItCanBeRead) {
    TempDir dir;
    WriteBytes(dir.Path("in"), "x");
    const int file = ::open(dir.Path("in").c_str(), O_RDONLY);
    const int writeOnly = ::open(dir.Path("in").c_str(), O_WRONLY);
    int pipe[2] = {-1, -1};
    ASSERT_GE(file, 0);
    ASSERT_GE(writeOnly, 0);
    ASSERT_EQ(::pipe(pipe), 0);
    ASSERT_EQ(::write(pipe[1], "x", 1), 1);
    const struct {
        const char* name;
        int fd;
        bool readable;
    } rows[] = {{"file", file, true},
                {"pipe", pipe[0], true},
                {"write-only", writeOnly, false},
                {"closed", -1, false}};
    for (const auto& row : rows) {
        const RedirectedInput redirected(row.fd);
        TakeClosedStandardStreams();
        EXPECT_EQ(StandardInputReadable(), row.readable) << row.name;
        EXPECT_GE(::fcntl(STDIN_FILENO, F_GETFD), 0) << row.name;
        if (row.readable) {
            const Result<std::string> read =
                ReadFilePrefix(StandardInputPath(), 1, ReadableFiles::AnyWaitingForInput);
            ASSERT_TRUE(read.Ok()) << row.name;
            EXPECT_EQ(*read, "x") << row.name;
        }
    }
    for (const int fd : {file, writeOnly, pipe[0], pipe[1]}) {
        ::close(fd);
    }
}

}  // namespace
}  // namespace vx40
