// SPDX-License-Identifier: GPL-3.0-or-later
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/PrivateProfile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTempDir.h"
#include "text/CharacterRules.h"

namespace {

// What changed between the two files lies in one line of the old file: the bytes before and
// after it are the same.
void CheckOnlyOneLineChanged(const std::string& before, const std::string& after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view changed(before.data() + prefix, before.size() - prefix - suffix);
    VX40_FUZZ_CHECK(changed.find('\n') == std::string_view::npos);
}

// Writes in one pass leave what the writes one by one leave; reads in one pass give what each
// read alone gives.
void CheckManyKeysInOnePass(const std::string& before, const std::string& path,
                            std::string_view section, std::string_view key, std::string_view value,
                            const std::vector<std::string>& more) {
    std::vector<vx40::ProfileWrite> writes = {{section, key, value}};
    for (std::size_t i = 0; i + 2 < more.size(); i += 3) {
        writes.push_back({more[i], more[i + 1], more[i + 2]});
    }
    std::optional<std::string> oneByOne = before;
    std::vector<vx40::ProfileKey> keys;
    for (const vx40::ProfileWrite& write : writes) {
        if (oneByOne) {
            const vx40::Result<std::string> after = vx40::PrivateProfileTextAfterWrite(
                *oneByOne, write.section, write.key, write.value);
            oneByOne = after.Ok() ? std::optional(*after) : std::nullopt;
        }
        keys.push_back({write.section, write.key});
    }
    const vx40::Result<std::string> inOnePass = vx40::PrivateProfileTextAfterWrites(before, writes);
    VX40_FUZZ_CHECK(inOnePass.Ok() == oneByOne.has_value());
    VX40_FUZZ_CHECK(!inOnePass.Ok() || *inOnePass == *oneByOne);
    // The text entry reads what the path reads.
    VX40_FUZZ_CHECK(vx40::GetPrivateProfileValuesOfText(keys, "\x01", before).values ==
                    vx40::GetPrivateProfileStrings(keys, "\x01", path));
    const std::vector<std::string> read = vx40::GetPrivateProfileStrings(keys, "\x01", path);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        VX40_FUZZ_CHECK(read[i] ==
                        vx40::GetPrivateProfileString(keys[i].section, keys[i].key, "\x01", path));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(64);
    std::vector<std::string> more(3 * input.ConsumeIntegralInRange<std::size_t>(0, 4));
    for (std::string& text : more) {
        text = input.ConsumeRandomLengthString(12);
    }
    const std::string before = input.ConsumeRemainingBytesAsString();

    const std::string path = FuzzTempDir() + "/fuzz.vx4";
    WriteWholeFile(path, before);
    CheckManyKeysInOnePass(before, path, section, key, value, more);

    const bool written = vx40::WritePrivateProfileString(section, key, value, path).Ok();
    const std::string after = ReadWholeFile(path);
    if (!written) {
        VX40_FUZZ_CHECK(after == before);
        return 0;
    }
    CheckOnlyOneLineChanged(before, after);
    std::string expected(vx40::Trimmed(value, vx40::kIniBlanks));
    if (expected.size() > vx40::kMaxProfileValueLength) {
        expected.resize(vx40::kMaxProfileValueLength);
    }
    const std::string marker = "\x01<no value>";
    VX40_FUZZ_CHECK(vx40::GetPrivateProfileString(section, key, marker, path) == expected);

    // Writing the same value again changes nothing.
    VX40_FUZZ_CHECK(vx40::WritePrivateProfileString(section, key, value, path));
    VX40_FUZZ_CHECK(ReadWholeFile(path) == after);
    return 0;
}
