// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace vx40::bench {

// The runner puts its CLOCK_MONOTONIC time of the spawn, in nanoseconds, into the child's
// environment under this name; the clock is the same for every process of the machine.
inline constexpr const char* kSpawnTimeVariable = "VX40_BENCH_SPAWN_NS";

std::int64_t MonotonicNanoseconds();

// Milliseconds since this process was started: from the runner's spawn time when it was given,
// else from the kernel's start time of the process, which counts in clock ticks (10 ms steps).
std::optional<double> MillisecondsSinceProcessStart();

// The peak resident memory of this process so far.
long PeakResidentKilobytes();

}  // namespace vx40::bench
