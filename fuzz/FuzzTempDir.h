// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

// One scratch folder per fuzzer process, in memory where the system offers it, inside
// VX40_FUZZ_TMPDIR when fuzz/run gives one, so that a run removes only its own folders.
inline const std::string& FuzzTempDir() {
    static const std::string dir = [] {
        const char* root = std::getenv("VX40_FUZZ_TMPDIR");
        std::string pattern = root != nullptr && *root != '\0'
                                  ? std::string(root) + "/vx40-fuzz-XXXXXX"
                              : access("/dev/shm", W_OK) == 0 ? "/dev/shm/vx40-fuzz-XXXXXX"
                                                              : "/tmp/vx40-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return dir;
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
