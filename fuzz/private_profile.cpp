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

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

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
            oneByOne = vx40::PrivateProfileTextAfterWrite(*oneByOne, write.section, write.key,
                                                          write.value);
        }
        keys.push_back({write.section, write.key});
    }
    VX40_FUZZ_CHECK(vx40::PrivateProfileTextAfterWrites(before, writes) == oneByOne);
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

    const bool written = vx40::WritePrivateProfileString(section, key, value, path);
    const std::string after = ReadWholeFile(path);
    if (!written) {
        VX40_FUZZ_CHECK(after == before);
        return 0;
    }
    CheckOnlyOneLineChanged(before, after);
    std::string expected(TrimBlanks(value));
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
