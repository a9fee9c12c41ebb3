// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessMeasures.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace vx40::bench {
namespace {

std::int64_t Nanoseconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::optional<double> FromSpawnTime() {
    const char* value = std::getenv(kSpawnTimeVariable);
    if (value == nullptr) {
        return std::nullopt;
    }
    std::int64_t spawned = 0;
    const char* end = value + std::strlen(value);
    const auto [rest, error] = std::from_chars(value, end, spawned);
    if (error != std::errc() || rest != end || spawned <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(MonotonicNanoseconds() - spawned) / 1e6;
}

// Field 22 of /proc/self/stat, counted after the command name, which may hold blanks and ")".
std::optional<double> FromKernelStartTime() {
    std::ifstream stat("/proc/self/stat");
    const std::string text{std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>()};
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    // The fields after the name start with field 3.
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22) {
            const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
            const double started = std::stod(field) / static_cast<double>(ticksPerSecond);
            return (static_cast<double>(Nanoseconds(CLOCK_BOOTTIME)) / 1e9 - started) * 1e3;
        }
    }
    return std::nullopt;
}

}  // namespace

std::int64_t MonotonicNanoseconds() {
    return Nanoseconds(CLOCK_MONOTONIC);
}

std::optional<double> MillisecondsSinceProcessStart() {
    if (const std::optional<double> fromSpawn = FromSpawnTime()) {
        return fromSpawn;
    }
    return FromKernelStartTime();
}

long PeakResidentKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace vx40::bench
