// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "files/FileFailureText.h"
#include "text/ShownText.h"

namespace vx40 {
namespace {

struct ShownCase {
    const char* name;
    std::string text;
    std::size_t maxCharacters;
    std::string shown;
};

class ShownTextTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownTextTest, EscapesOnlyWhatCouldDriveTheTerminal) {
    EXPECT_EQ(ShownText(GetParam().text, GetParam().maxCharacters), GetParam().shown);
}

constexpr std::size_t kWhole = std::string::npos;

INSTANTIATE_TEST_SUITE_P(
    Texts, ShownTextTest,
    ::testing::Values(
        ShownCase{"PrintableTextStays", "Kanäle 1-16 \\x1b € 𝄞 x", kWhole,
                  "Kanäle 1-16 \\x1b € 𝄞 x"},
        ShownCase{"ControlsAndDelPerByte", std::string("a\x1b[2J\t\r\n\x7f\0b", 11), kWhole,
                  "a\\x1b[2J\\x09\\x0d\\x0a\\x7f\\x00b"},
        ShownCase{"C1ControlAsItsTwoBytes",
                  "\xc2\x9b"
                  "31m\xc2\xa0",
                  kWhole, "\\xc2\\x9b31m\xc2\xa0"},
        // A stray continuation byte, an overlong "/", a surrogate, a cut sequence, beyond U+10FFFF.
        ShownCase{"BytesThatAreNoUtf8", "\x80|\xc0\xaf|\xed\xa0\x80|\xe2\x82|\xf4\x90\x80\x80|\xff",
                  kWhole, "\\x80|\\xc0\\xaf|\\xed\\xa0\\x80|\\xe2\\x82|\\xf4\\x90\\x80\\x80|\\xff"},
        ShownCase{"FormatCharactersAsCodePoints",
                  "\u202egnp.exe\u200b\u00ad\u061c\u2028\u2066\ufeff\U000e0001", kWhole,
                  "\\u202egnp.exe\\u200b\\u00ad\\u061c\\u2028\\u2066\\ufeff\\U000e0001"},
        ShownCase{"CutAfterCharactersAnEscapeCountingAsOne",
                  "\x1b"
                  "äb\u202ec",
                  4, "\\x1bäb\\u202e…"},
        ShownCase{"NothingToCut", "abc", 3, "abc"}),
    [](const ::testing::TestParamInfo<ShownCase>& row) { return row.param.name; });

TEST(FileSentence, ShowsThePathEscaped) {
    EXPECT_EQ(FileSentence("a\x1b]0;x\a\u202e.bin", "fehlt."),
              "Die Datei \"a\\x1b]0;x\\x07\\u202e.bin\" fehlt.");
}

// Every error number a file command can meet has a German reason; none is the system's English
// text, and one without a reason gives its number.
TEST(SystemErrorText, IsGermanForEveryErrorNumber) {
    EXPECT_EQ(SystemErrorText(ENOSPC), "der Datenträger ist voll");
    EXPECT_EQ(SystemErrorText(EROFS), "das Dateisystem ist schreibgeschützt");
    EXPECT_EQ(SystemErrorText(EIO), "Ein-/Ausgabefehler des Datenträgers");
    EXPECT_EQ(SystemErrorText(ECHILD), "Systemfehler " + std::to_string(ECHILD));
    EXPECT_EQ(SystemErrorText(0), "Systemfehler 0");
    std::vector<int> errors{ENOENT,  EACCES, EPERM,        EROFS,  ENOSPC,    EFBIG,  EISDIR,
                            ENOTDIR, ELOOP,  ENAMETOOLONG, EIO,    EEXIST,    EBUSY,  ETXTBSY,
                            EMFILE,  ENFILE, ENOMEM,       EXDEV,  EINVAL,    EPIPE,  EBADF,
                            ENXIO,   ENODEV, EAGAIN,       EINTR,  EOVERFLOW, EMLINK, ENOTEMPTY,
                            ENOTSUP, ENOSYS, ENOLCK,       ESPIPE, ETIMEDOUT, EILSEQ};
    // Not every system has disk quotas or network file handles.
#ifdef EDQUOT
    errors.push_back(EDQUOT);
#endif
#ifdef ESTALE
    errors.push_back(ESTALE);
#endif
    for (const int error : errors) {
        EXPECT_FALSE(SystemErrorText(error).starts_with("Systemfehler")) << error;
    }
    for (int error = 0; error < 140; ++error) {
        EXPECT_EQ(SystemErrorText(error).find(std::strerror(error)), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace vx40
