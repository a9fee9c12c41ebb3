// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/PrivateProfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/RuntimeFailure.h"
#include "files/IniFileStore.h"

namespace vx40 {
namespace {

using testutil::FileSizeLimit;
using testutil::ModeOf;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;
using Names = std::vector<std::string>;
using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;  // "<default>" when the key is not found
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueAsAnotherProgramWroteIt) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    WriteBytes(path, GetParam().file);
    EXPECT_EQ(GetPrivateProfileString(GetParam().section, GetParam().key, "<default>", path),
              GetParam().expected);
    const ProfileKey keys[] = {{GetParam().section, GetParam().key}};
    EXPECT_EQ(GetPrivateProfileValuesOfText(keys, "<default>", GetParam().file).values.front(),
              GetParam().expected);
    // A write lands exactly where the read looks.
    ASSERT_TRUE(WritePrivateProfileString(GetParam().section, GetParam().key, " new ", path));
    EXPECT_EQ(GetPrivateProfileString(GetParam().section, GetParam().key, "<default>", path),
              "new");
}

const std::string kLongValue(3000, 'v');

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileRead,
    ::testing::Values(
        ReadCase{"CrLf", "[Wert1]\r\nFrequenz=798300\r\n", "Wert1", "Frequenz", "798300"},
        ReadCase{"LfOnly", "[Wert1]\nN0=1\nN1=2\n", "Wert1", "N1", "2"},
        ReadCase{"NoFinalLineEnd", "[Wert1]\r\nD0=04", "Wert1", "D0", "04"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Wert1]\r\nD0=04\r\n", "Wert1", "D0", "04"},
        ReadCase{"LowerCaseNames", "[wert1]\nfrequenz=5\n", "Wert1", "Frequenz", "5"},
        ReadCase{"UpperCaseAsked", "[Wert1]\nd7=05\n", "WERT1", "D7", "05"},
        ReadCase{"BlanksAroundNamesAndValue", "[ Wert1 ]\n \t Frequenz \t=  798 300 \t\r\n",
                 "Wert1", "Frequenz", "798 300"},
        ReadCase{"BlankValueIsEmpty", "[Wert1]\r\nD0=  \r\n", "Wert1", "D0", ""},
        ReadCase{"EmptyValueIsNotTheDefault", "[Wert1]\r\nD0=\r\n", "Wert1", "D0", ""},
        ReadCase{"CommentsAndBlankLines", "; made by hand\n\n[Wert1]\n\n;D0=01\n  ; x\nD0=02\n",
                 "Wert1", "D0", "02"},
        ReadCase{"KeyBeforeAnySection", "D0=01\n[Wert1]\nD1=02\n", "Wert1", "D0", "<default>"},
        ReadCase{"KeyOfAnotherSection", "[Wert1]\nD1=1\n[Wert2]\nD0=2\n", "Wert1", "D0",
                 "<default>"},
        ReadCase{"SectionPrefixIsNoMatch", "[Wert10]\nD0=1\n", "Wert1", "D0", "<default>"},
        ReadCase{"KeyPrefixIsNoMatch", "[Wert1]\nD=1\nD00=2\n", "Wert1", "D0", "<default>"},
        ReadCase{"FirstOfTwoSections", "[Wert1]\nA=1\n[Wert1]\nA=2\nB=3\n", "Wert1", "A", "1"},
        ReadCase{"SecondSectionOfTheSameNameIsIgnored", "[Wert1]\nA=1\n[Wert1]\nB=3\n", "Wert1",
                 "B", "<default>"},
        ReadCase{"FirstOfTwoKeys", "[Wert1]\nA=1\na=2\n", "Wert1", "A", "1"},
        ReadCase{"LineWithoutEquals", "[Wert1]\nD0\n", "Wert1", "D0", "<default>"},
        ReadCase{"ValueKeepsFurtherEquals", "[S]\nK=a=b\n", "S", "K", "a=b"},
        ReadCase{"CutAt2047", "[S]\nK=" + kLongValue + "\n", "S", "K", std::string(2047, 'v')},
        ReadCase{"TrimmedBeforeTheCut", "[S]\nK=   " + kLongValue + "   \n", "S", "K",
                 std::string(2047, 'v')},
        ReadCase{"InnerBlanksCountForTheCut", "[S]\nK=a" + std::string(3000, ' ') + "b\n", "S", "K",
                 "a" + std::string(2046, ' ')},
        ReadCase{"NulEndsTheValue", "[S]\nK=ab\0cd\n"s, "S", "K", "ab"},
        ReadCase{"NulBytesElsewhere", "\0\0[S]\0\n[S]\nK=1\n"s, "S", "K", "1"},
        ReadCase{"HundredKilobyteLine",
                 "[S]\n" + std::string(100000, 'j') + "\n" + std::string(100000, ' ') + "K=9\n",
                 "S", "K", "9"},
        ReadCase{"BrokenByteOrderMark", "\xEF\xBB[S]\nK=1\n[T]\nK=2\n", "T", "K", "2"},
        ReadCase{"UnclosedSectionLine", "[S]\n[T\nK=1\n", "S", "K", "1"},
        ReadCase{"SectionNameInAnotherSectionsValue", "[T]\nx=[S]\nK=1\n[S]\nK=2\n", "S", "K", "2"},
        ReadCase{"TextAfterTheSectionLine", "[T] K=1\n[S] ; note\r\nK=2\r\n", "S", "K", "2"},
        ReadCase{"IndentedSectionLine", "[T]\nK=1\n \t[S]\nK=3\n", "S", "K", "3"},
        ReadCase{"LoneCrEndsTheValue", "[S]\r\nK=a\rb\r\n", "S", "K", "a"},
        ReadCase{"KeyAfterALoneCr", "[S]\r\nJ=a\rK=b\r\n", "S", "K", "b"},
        ReadCase{"SectionAfterALoneCr", "[T]\rK=1\r[S]\rK=2\r", "S", "K", "2"},
        ReadCase{"CrCrLfIsTwoLineEnds", "[S]\r\r\nK=1 \r\r\n", "S", "K", "1"}),
    [](const ::testing::TestParamInfo<ReadCase>& param) { return param.param.name; });

TEST(ProfileRead, AnythingButARegularFileGivesTheDefault) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0644), 0);
    for (const std::string& path :
         {dir.Path("missing"), dir.Path(), dir.Path("fifo"), "/dev/zero"s, ""s}) {
        EXPECT_EQ(GetPrivateProfileString("S", "K", "dflt", path), "dflt") << path;
    }
}

TEST(ProfileRead, LargeFileIsReadToTheEnd) {
    TempDir dir;
    std::string file;
    for (int i = 0; i < 100000; ++i) {
        file += "[Other" + std::to_string(i) + "]\r\nkey=value\r\n";
    }
    file += "[Wert16]\r\nD0=0C\r\n";
    WriteBytes(dir.Path("big.vx4"), file);
    EXPECT_EQ(GetPrivateProfileString("Wert16", "D0", "", dir.Path("big.vx4")), "0C");
}

TEST(ProfileWrite, NewFileGetsCrLfLinesInTheOrderOfTheWrites) {
    TempDir dir;
    const std::string path = dir.Path("new.vx4");
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "Frequenz", "798300", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "N0", "", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert2", "D0", "  ", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "N1", "114", path));
    EXPECT_EQ(ReadBytes(path),
              "[Wert1]\r\nFrequenz=798300\r\nN0=\r\nN1=114\r\n[Wert2]\r\nD0=  \r\n");
    EXPECT_EQ(dir.Names(), Names{"new.vx4"});
}

TEST(ProfileWrite, KeepsEveryOtherByteOfAForeignFile) {
    TempDir dir;
    const std::string path = dir.Path("foreign.vx4");
    WriteBytes(path,
               "\xEF\xBB\xBF; made by hand\n"
               "[other]\n"
               "x = 1\n"
               "\n"
               "[wert1]\n"
               "  d0 = 07  \n"
               "frequenz=1\r\n"
               "; end of wert1\n"
               "\n"
               "[Tail]\n"
               "y=2");
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "D0", "0F", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "N0", "120", path));
    ASSERT_TRUE(WritePrivateProfileString("tail", "z", "3", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert2", "D7", "05", path));
    ASSERT_TRUE(WritePrivateProfileString("WERT1", "FREQUENZ", "798300", path));
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF; made by hand\n"
              "[other]\n"
              "x = 1\n"
              "\n"
              "[wert1]\n"
              "  d0 = 0F\n"
              "frequenz=798300\r\n"
              "N0=120\r\n"
              "; end of wert1\n"
              "\n"
              "[Tail]\n"
              "y=2\r\n"
              "z=3\r\n"
              "[Wert2]\r\n"
              "D7=05\r\n");
}

TEST(ProfileWrite, KeyGoesIntoAnEmptySectionRightAfterItsHeader) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    WriteBytes(path, "[Wert1]\r\n\r\n[Wert2]");
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "A", "1", path));
    ASSERT_TRUE(WritePrivateProfileString("Wert2", "B", "2", path));
    EXPECT_EQ(ReadBytes(path), "[Wert1]\r\nA=1\r\n\r\n[Wert2]\r\nB=2\r\n");
}

// The write on text in memory gives what the write on a file leaves in it, and refuses alike.
TEST(ProfileText, IsTheWriteOnAFile) {
    struct TextCase {
        std::string content;
        std::string section;
        std::string key;
        std::string value;
    };
    const TextCase cases[] = {
        {"", "Wert1", "Frequenz", "798300"},
        {"[wert1]\n  d0 = 07  \nx=1", " WERT1 ", "D0", "0F"},
        {"\xEF\xBB\xBF; note\n[Tail]\ny=2", "Tail", "z", "  "},
        {"[S]\r\nK=1\r\n", "T", "K", ""},
        {"[S]\r\nK=1\r\n", "S", "K", "0\r1"},
        {"[S]\r\nK=1\r\n", "S", "=K", "1"},
        {"[S]\r\nK=1\r\n", "S]", "K", "1"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.content + " | " + c.section + " | " + c.key + " | " + c.value);
        TempDir dir;
        const std::string path = dir.Path("set.vx4");
        WriteBytes(path, c.content);
        const Status written = WritePrivateProfileString(c.section, c.key, c.value, path);
        const Result<std::string> text =
            PrivateProfileTextAfterWrite(c.content, c.section, c.key, c.value);
        ASSERT_EQ(text.Ok(), written.Ok());
        EXPECT_EQ(text.Ok() ? *text : c.content, ReadBytes(path));
        if (!text.Ok()) {
            EXPECT_EQ(text.Error().kind, written.Error().kind);
        }
    }
}

// The reader takes a file in pieces of 64 KiB. A long line whose CR LF ends on either side of a
// piece's end changes neither the read nor the write: a line of another section, a comment in the
// wanted section, the wanted key's own value.
class ProfilePieceEnd : public ::testing::TestWithParam<int> {};

TEST_P(ProfilePieceEnd, LineEndOnEitherSide) {
    constexpr std::size_t kPiece = 64 * 1024;
    struct Layout {
        std::string head;  // the long line starts with it
        std::string rest;  // the lines after the long one
        std::string read;  // what K reads; "" for the long line itself
        std::string written;
    };
    const Layout layouts[] = {
        {"[T]\r\nx=", "[S]\r\nK=1\r\n", "1", "[S]\r\nK=2\r\nL=3\r\n"},
        {"[S]\r\n; ", "K=1\r\n", "1", "K=2\r\nL=3\r\n"},
        {"[S]\r\nK=", "", "", ""},
    };
    // A CR alone ends a line as CR LF does, also when the next piece holds what follows it.
    for (const std::string lineEnd : {"\r\n", "\r"}) {
        for (const Layout& layout : layouts) {
            SCOPED_TRACE(layout.head + (lineEnd.size() == 1 ? " CR" : " CR LF"));
            TempDir dir;
            const std::string path = dir.Path("set.vx4");
            // The long line's CR stands at kPiece - 1 + shift.
            const std::string filler(
                static_cast<std::size_t>(static_cast<int>(kPiece - 1 - layout.head.size()) +
                                         GetParam()),
                'f');
            WriteBytes(path, layout.head + filler + lineEnd + layout.rest);
            const std::string read = layout.read.empty() ? filler.substr(0, 2047) : layout.read;
            EXPECT_EQ(GetPrivateProfileString("S", "K", "<default>", path), read);
            ASSERT_TRUE(WritePrivateProfileString("S", "K", "2", path));
            ASSERT_TRUE(WritePrivateProfileString("S", "L", "3", path));
            const std::string expected = layout.read.empty()
                                             ? "[S]\r\nK=2" + lineEnd + "L=3\r\n"
                                             : layout.head + filler + lineEnd + layout.written;
            EXPECT_EQ(ReadBytes(path), expected);
            EXPECT_EQ(GetPrivateProfileString("S", "L", "<default>", path), "3");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shifts, ProfilePieceEnd, ::testing::Range(-3, 4));

struct RefusedWrite {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

void PrintTo(const RefusedWrite& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWriteRefused : public ::testing::TestWithParam<RefusedWrite> {};

TEST_P(ProfileWriteRefused, WritesNothing) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    const std::string old = "[Wert1]\r\nD0=01\r\n";
    WriteBytes(path, old);
    EXPECT_FALSE(
        WritePrivateProfileString(GetParam().section, GetParam().key, GetParam().value, path));
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_FALSE(WritePrivateProfileString(GetParam().section, GetParam().key, GetParam().value,
                                           dir.Path("fresh.vx4")));
    EXPECT_EQ(dir.Names(), Names{"set.vx4"});
}

INSTANTIATE_TEST_SUITE_P(Texts, ProfileWriteRefused,
                         ::testing::Values(RefusedWrite{"CrInValue", "Wert1", "D0", "0\r1"},
                                           RefusedWrite{"LfInValue", "Wert1", "D0", "01\n[Wert2]"},
                                           RefusedWrite{"NulInValue", "Wert1", "D0", "0\0"s},
                                           RefusedWrite{"LfInKey", "Wert1", "D\n0", "1"},
                                           RefusedWrite{"EqualsInKey", "Wert1", "D=0", "1"},
                                           RefusedWrite{"CommentKey", "Wert1", ";D0", "1"},
                                           RefusedWrite{"BracketKey", "Wert1", "[D0", "1"},
                                           RefusedWrite{"BlankKey", "Wert1", "  ", "1"},
                                           RefusedWrite{"BracketInSection", "Wert]1", "D0", "1"},
                                           RefusedWrite{"CrInSection", "Wert1\r", "D0", "1"},
                                           RefusedWrite{"EmptySection", "", "D0", "1"}),
                         [](const ::testing::TestParamInfo<RefusedWrite>& param) {
                             return param.param.name;
                         });

TEST(ProfileWrite, ReadOnlyFileFailsAndStaysUnchanged) {
    TempDir dir;
    const std::string path = dir.Path("locked.vx4");
    WriteBytes(path, "[Wert1]\nD0=01\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WritePrivateProfileString("Wert1", "D0", "02", path));

    IniFileStore store;
    store.SetFileName(path);
    try {
        store.Edit([](std::string_view old) {
            return PrivateProfileTextAfterWrite(old, "Wert1", "D0", "02");
        });
        FAIL() << "no failure raised";
    } catch (const IniWriteFailure& failure) {
        EXPECT_STREQ(failure.what(), ("Unable to write to " + path).c_str());
    }
    EXPECT_EQ(ReadBytes(path), "[Wert1]\nD0=01\n");
    EXPECT_EQ(dir.Names(), Names{"locked.vx4"});
}

TEST(ProfileWrite, KeepsThePermissionsAndFollowsALink) {
    TempDir dir;
    WriteBytes(dir.Path("real.vx4"), "[Wert1]\r\nD0=01\r\n");
    ::chmod(dir.Path("real.vx4").c_str(), 0640);
    std::filesystem::create_symlink("real.vx4", dir.Path("link.vx4"));
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "D0", "02", dir.Path("link.vx4")));
    EXPECT_TRUE(testutil::IsSymlink(dir.Path("link.vx4")));
    EXPECT_EQ(ReadBytes(dir.Path("real.vx4")), "[Wert1]\r\nD0=02\r\n");
    EXPECT_EQ(ModeOf(dir.Path("real.vx4")), 0640u);
    EXPECT_EQ(GetPrivateProfileString("Wert1", "D0", "", dir.Path("link.vx4")), "02");
}

TEST(ProfileWrite, FailureInTheMiddleOfAWriteLeavesTheOldContent) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    const std::string old = "[Wert1]\r\nD0=01\r\n";
    WriteBytes(path, old);
    {
        const FileSizeLimit limit(old.size() + 4);
        EXPECT_FALSE(WritePrivateProfileString("Wert1", "Frequenz", "798300", path));
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Names(), Names{"set.vx4"});
}

TEST(ProfileWrite, FolderThatVanishedFails) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("sub"));
    const std::string path = dir.Path("sub/set.vx4");
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "D0", "01", path));
    std::filesystem::remove_all(dir.Path("sub"));
    EXPECT_FALSE(WritePrivateProfileString("Wert1", "D0", "02", path));
    EXPECT_EQ(dir.Names(), Names{});
}

TEST(ProfileWrite, DeviceOrFolderIsNeitherReadNorWritten) {
    TempDir dir;
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "1", "/dev/zero"));
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "1", dir.Path()));
}

// Many writes in one pass leave the bytes the writes one by one leave, and many reads in one pass
// give what each read alone gives: on random files of the pieces that make the rules hard.
TEST(ProfileManyKeys, OnePassIsTheKeysOneByOne) {
    const std::vector<std::string> pieces = {
        "[",    "]",       "=",     ";",       " ",       "\t",    "\r\n", "\r",  "\n",
        "\n",   "S",       "s",     "K",       "k",       "T",     "x",    "\0"s, "\xEF\xBB\xBF",
        "\xEF", "[S]\r\n", "[T]\n", "K=1\r\n", "k = 2\n", "L=\r\n"};
    const std::vector<std::string> sections = {"S", "s", " S ", "T", "U", "t", "S]"};
    const std::vector<std::string> keys = {"K", "k", "L", " l ", "M", "=K"};
    const std::vector<std::string> values = {"", " ", "v", " v ", "a=b", "  w", "[S]", "x\t"};
    std::mt19937 random(16);
    const auto pick = [&](const std::vector<std::string>& from) -> const std::string& {
        return from[random() % from.size()];
    };
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    for (int round = 0; round < 3000; ++round) {
        std::string file;
        for (std::size_t n = random() % 24; n > 0; --n) {
            file += pick(pieces);
        }
        std::vector<ProfileWrite> writes(1 + random() % 8);
        std::vector<ProfileKey> reads;
        for (ProfileWrite& write : writes) {
            write = {pick(sections), pick(keys), pick(values)};
            reads.push_back({write.section, write.key});
        }
        SCOPED_TRACE(testing::PrintToString(file));

        std::optional<std::string> oneByOne = file;
        for (const ProfileWrite& w : writes) {
            const Result<std::string> after =
                PrivateProfileTextAfterWrite(*oneByOne, w.section, w.key, w.value);
            if (!after.Ok()) {
                oneByOne.reset();
                break;
            }
            oneByOne = *after;
        }
        const Result<std::string> inOnePass = PrivateProfileTextAfterWrites(file, writes);
        ASSERT_EQ(inOnePass.Ok(), oneByOne.has_value());
        if (oneByOne) {
            ASSERT_EQ(*inOnePass, *oneByOne);
        }

        WriteBytes(path, file);
        const std::vector<std::string> read = GetPrivateProfileStrings(reads, "<default>", path);
        for (std::size_t i = 0; i < reads.size(); ++i) {
            ASSERT_EQ(read[i],
                      GetPrivateProfileString(reads[i].section, reads[i].key, "<default>", path))
                << reads[i].section << "/" << reads[i].key;
        }
    }
}

TEST(ProfileManyKeys, WriteIsOneReplaceOrNone) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    const std::string old = "[S]\r\nK=1\r\n";
    WriteBytes(path, old);
    const ProfileWrite refused[] = {{"S", "K", "2"}, {"S", "L", "0\n1"}};
    EXPECT_FALSE(WritePrivateProfileStrings(refused, path));
    EXPECT_EQ(ReadBytes(path), old);
    const ProfileWrite writes[] = {{"S", "K", "2"}, {"T", "M", "3"}, {"S", "L", "4"}};
    {
        const FileSizeLimit limit(old.size() + 8);
        EXPECT_FALSE(WritePrivateProfileStrings(writes, path));
    }
    EXPECT_EQ(ReadBytes(path), old);
    ASSERT_TRUE(WritePrivateProfileStrings(writes, path));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nK=2\r\nL=4\r\n[T]\r\nM=3\r\n");
    EXPECT_EQ(dir.Names(), Names{"set.vx4"});
}

}  // namespace
}  // namespace vx40
