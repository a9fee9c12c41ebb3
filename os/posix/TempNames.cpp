// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/posix/TempNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vx40::posix {

namespace {

// Keeps the temporary name within NAME_MAX for any target name.
constexpr std::size_t kTempBaseLength = 64;
constexpr std::string_view kTempSuffix = ".tmp";
// The number groups after the target's name: PID-COUNTER-TICKS-ATTEMPT.
constexpr int kTempNumberCount = 4;

// How every temporary name for a target of this name starts: ".NAME." with the name cut short.
std::string TempNamePrefix(const std::string& name) {
    return "." + name.substr(0, kTempBaseLength) + ".";
}

// The process id in a name that TempName made for a target of this name, none for any other.
std::optional<pid_t> TempNameProcess(std::string_view entry, const std::string& name) {
    const std::string prefix = TempNamePrefix(name);
    if (!entry.starts_with(prefix) || !entry.ends_with(kTempSuffix)) {
        return std::nullopt;
    }
    entry.remove_prefix(prefix.size());
    entry.remove_suffix(kTempSuffix.size());
    pid_t process = 0;
    for (int number = 0; number < kTempNumberCount; ++number) {
        if (number > 0) {
            if (!entry.starts_with('-')) {
                return std::nullopt;
            }
            entry.remove_prefix(1);
        }
        if (entry.empty() || entry.front() < '0' || entry.front() > '9') {
            return std::nullopt;
        }
        unsigned long long value = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
        if (error != std::errc{}) {
            return std::nullopt;
        }
        if (number == 0) {
            if (value == 0 || value > static_cast<unsigned long long>(INT32_MAX)) {
                return std::nullopt;
            }
            process = static_cast<pid_t>(value);
        }
        entry.remove_prefix(static_cast<std::size_t>(end - entry.data()));
    }
    if (!entry.empty()) {
        return std::nullopt;
    }
    return process;
}

}  // namespace

std::string TempName(const std::string& name, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::string temp = TempNamePrefix(name);
    temp.append(std::to_string(::getpid())).append(1, '-').append(std::to_string(counter++));
    temp.append(1, '-').append(std::to_string(ticks % 1000000007ULL)).append(1, '-');
    temp.append(std::to_string(attempt)).append(kTempSuffix);
    return temp;
}

void RemoveLeftoverTempFiles(int folderFd, const std::string& name) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) {
        return;
    }
    DIR* const list = ::fdopendir(listFd);
    if (list == nullptr) {
        ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(list)) {
        const std::optional<pid_t> process = TempNameProcess(entry->d_name, name);
        if (!process.has_value() || *process == ::getpid() || ::kill(*process, 0) == 0 ||
            errno != ESRCH) {
            continue;
        }
        struct stat st {};
        if (::fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(list);
}

}  // namespace vx40::posix
