// SPDX-License-Identifier: GPL-3.0-or-later
// The file calls on Windows: what Windows adds to reading, replacing and telling files apart.
#include <windows.h>
#undef ReplaceFile

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/FileFailureText.h"
#include "os/FileIdentity.h"
#include "os/FileRead.h"
#include "os/FileReplace.h"
#include "tests/core/TempDir.h"

namespace vx40 {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                            wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(count, 0)));
    return wide;
}

// The names in the folder, in UTF-8.
std::vector<std::string> NamesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The file held open by this test as another program would hold it: sharing only what is given.
struct HeldOpen {
    HeldOpen(const std::string& path, DWORD share)
        : handle(::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen() { ::CloseHandle(handle); }
    HANDLE handle;
};

// Each replace either puts the new content in place or refuses with its kind and leaves the old
// content; neither leaves a temporary file beside the target.
TEST(WindowsFiles, ReplaceWritesOrRefusesAndLeavesNothingBehind) {
    const struct {
        const char* name;
        const char* target;
        std::function<void(const TempDir&)> setUp;
        std::optional<FailureKind> refusal;
        std::vector<std::string> namesAfter;
    } cases[] = {
        {"NewFile", "neu.bin", [](const TempDir&) {}, std::nullopt, {"neu.bin"}},
        {"UmlautName", "kanäle.bin", [](const TempDir&) {}, std::nullopt, {"kanäle.bin"}},
        {"Existing",
         "alt.bin",
         [](const TempDir& dir) { WriteBytes(dir.Path("alt.bin"), "alt"); },
         std::nullopt,
         {"alt.bin"}},
        {"ReadOnlyAttribute",
         "alt.bin",
         [](const TempDir& dir) {
             WriteBytes(dir.Path("alt.bin"), "alt");
             ::SetFileAttributesW(Wide(dir.Path("alt.bin")).c_str(), FILE_ATTRIBUTE_READONLY);
         },
         FailureKind::TargetReadOnly,
         {"alt.bin"}},
        {"Folder",
         "sub",
         [](const TempDir& dir) { std::filesystem::create_directory(dir.Path("sub")); },
         FailureKind::NotRegularFile,
         {"sub"}},
        {"FolderMissing", "fehlt/neu.bin", [](const TempDir&) {}, FailureKind::FolderMissing, {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        c.setUp(dir);
        const std::string target = dir.Path(c.target);
        const std::string before = ReadBytes(target);
        const Status result = ReplaceFile(target, "neu\n", SyncToDisk::Yes);
        EXPECT_EQ(result.Ok(), !c.refusal.has_value()) << c.name;
        if (c.refusal.has_value() && !result.Ok()) {
            EXPECT_EQ(result.Error().kind, *c.refusal) << c.name;
        }
        EXPECT_EQ(ReadBytes(target), c.refusal.has_value() ? before : "neu\n") << c.name;
        EXPECT_EQ(NamesIn(dir), c.namesAfter) << c.name;
        ::SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A file that another program holds open: a reader still reads it where that program shares it
// for reading, and the replace is refused with a message naming it, the file as it was. Only a
// program that shares it for deleting too lets the replace through.
TEST(WindowsFiles, FileHeldOpenByAnotherProgram) {
    const struct {
        const char* name;
        DWORD share;
        bool readable;
        bool replaced;
    } cases[] = {
        {"SharesNothing", 0, false, false},
        {"SharesReading", FILE_SHARE_READ, true, false},
        {"SharesEverything", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true, true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.Path("kanäle.bin");
        WriteBytes(path, "alt\r\n");
        Status replaced;
        Result<std::string> read = std::string();
        {
            const HeldOpen held(path, c.share);
            ASSERT_NE(held.handle, INVALID_HANDLE_VALUE) << c.name;
            read = ReadFilePrefix(path, 100, ReadableFiles::RegularOnly);
            replaced = ReplaceFile(path, "neu\n", SyncToDisk::No);
        }
        EXPECT_EQ(read.Ok(), c.readable) << c.name;
        if (read.Ok()) {
            EXPECT_EQ(*read, "alt\r\n") << c.name;
        }
        EXPECT_EQ(replaced.Ok(), c.replaced) << c.name;
        EXPECT_EQ(ReadBytes(path), c.replaced ? "neu\n" : "alt\r\n") << c.name;
        EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"kanäle.bin"}) << c.name;
        if (!replaced.Ok()) {
            EXPECT_EQ(replaced.Error().kind, FailureKind::FileInUse) << c.name;
            EXPECT_EQ(FileWriteFailureMessage(path, replaced),
                      "Die Datei \"" + path +
                          "\" konnte nicht geschrieben werden: sie ist in einem anderen Programm "
                          "geöffnet, das sie nicht freigibt.")
                << c.name;
        }
    }
}

// One file, however its path is spelt: case, "/" or "\", ".\" and "..". Another file differs.
TEST(WindowsFiles, IdentityIsTheSameForEverySpellingOfOnePath) {
    TempDir dir;
    std::filesystem::create_directory(testutil::PathOf(dir.Path("sub")));
    WriteBytes(dir.Path("sub/kanäle.bin"), "a");
    WriteBytes(dir.Path("sub/b.bin"), "a");
    std::string backslashed = dir.Path("sub/kanäle.bin");
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    const auto a = IdentityOf(dir.Path("sub/kanäle.bin"));
    ASSERT_TRUE(a.has_value());
    const struct {
        std::string path;
        bool sameAsA;
    } cases[] = {
        {backslashed, true},
        {dir.Path("SUB/KANÄLE.BIN"), true},
        {dir.Path("sub/./kanäle.bin"), true},
        {dir.Path("sub\\..\\sub\\.\\kanäle.bin"), true},
        {dir.Path("sub/b.bin"), false},
        {dir.Path("sub"), false},
    };
    for (const auto& c : cases) {
        const auto identity = IdentityOf(c.path);
        ASSERT_TRUE(identity.has_value()) << c.path;
        EXPECT_EQ(*identity == *a, c.sameAsA) << c.path;
    }
    EXPECT_EQ(IdentityOf(dir.Path("sub/fehlt.bin")), std::nullopt);
}

// A pair of replaces puts both new files in place; a dropped prepared replace leaves nothing.
TEST(WindowsFiles, ReplacePairAndDroppedReplace) {
    TempDir dir;
    WriteBytes(dir.Path("a.vx4"), "alt");
    {
        PreparedReplace dropped = PrepareReplace(dir.Path("a.vx4"), "nie", SyncToDisk::No);
        ASSERT_TRUE(dropped.Ok());
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.vx4"});
    PreparedReplace first = PrepareReplace(dir.Path("a.vx4"), "eins", SyncToDisk::Yes);
    PreparedReplace second = PrepareReplace(dir.Path("b.bin"), "zwei", SyncToDisk::Yes);
    const ReplacePairResult result = CommitReplacePair(first, second);
    EXPECT_TRUE(result.first.Ok());
    EXPECT_TRUE(result.second.Ok());
    EXPECT_EQ(ReadBytes(dir.Path("a.vx4")), "eins");
    EXPECT_EQ(ReadBytes(dir.Path("b.bin")), "zwei");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.vx4", "b.bin"}));
    const Status again = first.Commit();
    ASSERT_FALSE(again.Ok());
    EXPECT_EQ(again.Error().kind, FailureKind::WriteFailed);
}

}  // namespace
}  // namespace vx40
