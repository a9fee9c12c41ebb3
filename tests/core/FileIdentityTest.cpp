// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileIdentity.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// Standard input stands in for both streams: the test replaces it for the time of one check.
class RedirectedInput {
  public:
    explicit RedirectedInput(int fd) : saved_(::dup(STDIN_FILENO)) { ::dup2(fd, STDIN_FILENO); }
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

}  // namespace
}  // namespace vx40
