// SPDX-License-Identifier: GPL-3.0-or-later
// Runs two or more programs in turn, each as a whole process, and prints the median of each:
//   vx40_process_bench wall RUNS -- NAME PROGRAM [ARGS...] -- NAME PROGRAM [ARGS...] ...
//       the time from posix_spawn to the end of waitpid;
//   vx40_process_bench startup RUNS -- NAME PROGRAM [ARGS...] -- ...
//       the child's own report "activated_ms=<ms> peak_rss_kb=<kB>" on its standard output.
// Every program runs once before the measured runs, so that all start from a warm page cache.
// The output has one line per program: NAME median_ms=.. min_ms=.. max_ms=.. [peak_rss_kb=..].
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ProcessMeasures.h"

extern char** environ;

namespace {

struct Program {
    std::string name;
    std::vector<std::string> arguments;
    std::vector<double> milliseconds;
    std::vector<double> peakKilobytes;
};

struct RunResult {
    double milliseconds = 0;
    double peakKilobytes = 0;
};

enum class Mode { Wall, Startup };

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::optional<double> Field(const std::string& text, std::string_view name) {
    const std::string key = std::string(name) + "=";
    const auto at = text.find(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const char* begin = text.data() + at + key.size();
    const char* end = text.data() + text.size();
    double value = 0;
    if (std::from_chars(begin, end, value).ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<RunResult> RunOnce(const Program& program, Mode mode) {
    int output[2] = {-1, -1};
    if (mode == Mode::Startup && ::pipe2(output, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (mode == Mode::Startup) {
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& argument : program.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).starts_with(vx40::bench::kSpawnTimeVariable)) {
            continue;
        }
        environment.emplace_back(*variable);
    }
    environment.emplace_back();
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    const std::int64_t started = vx40::bench::MonotonicNanoseconds();
    environment.back() =
        std::string(vx40::bench::kSpawnTimeVariable) + "=" + std::to_string(started);
    envp[environment.size() - 1] = environment.back().data();
    pid_t child = 0;
    const int spawned =
        ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (mode == Mode::Startup) {
        ::close(output[1]);
    }
    if (spawned != 0) {
        std::fprintf(stderr, "%s: cannot start: %s\n", argv[0], std::strerror(spawned));
        if (mode == Mode::Startup) {
            ::close(output[0]);
        }
        return std::nullopt;
    }
    std::string text;
    if (mode == Mode::Startup) {
        char buffer[256];
        ssize_t count = 0;
        while ((count = ::read(output[0], buffer, sizeof buffer)) != 0) {
            if (count < 0 && errno != EINTR) {
                break;
            }
            if (count > 0) {
                text.append(buffer, static_cast<std::size_t>(count));
            }
        }
        ::close(output[0]);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const std::int64_t ended = vx40::bench::MonotonicNanoseconds();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: failed (status %d)\n", argv[0], status);
        return std::nullopt;
    }
    if (mode == Mode::Wall) {
        return RunResult{static_cast<double>(ended - started) / 1e6,
                         static_cast<double>(usage.ru_maxrss)};
    }
    const std::optional<double> activated = Field(text, "activated_ms");
    const std::optional<double> peak = Field(text, "peak_rss_kb");
    if (!activated || !peak || *activated < 0) {
        std::fprintf(stderr, "%s: no report on its output: %s\n", argv[0], text.c_str());
        return std::nullopt;
    }
    return RunResult{*activated, *peak};
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vx40_process_bench wall|startup RUNS -- NAME PROGRAM [ARGS...] "
                 "[-- NAME PROGRAM [ARGS...]]...\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 6) {
        return Usage();
    }
    const std::string_view modeName = argv[1];
    if (modeName != "wall" && modeName != "startup") {
        return Usage();
    }
    const Mode mode = modeName == "wall" ? Mode::Wall : Mode::Startup;
    int runs = 0;
    const std::string_view runsText = argv[2];
    if (std::from_chars(runsText.data(), runsText.data() + runsText.size(), runs).ec !=
            std::errc() ||
        runs < 1) {
        return Usage();
    }
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--") {
            programs.emplace_back();
        } else if (programs.empty()) {
            return Usage();
        } else if (programs.back().name.empty()) {
            programs.back().name = argv[i];
        } else {
            programs.back().arguments.emplace_back(argv[i]);
        }
    }
    for (const Program& program : programs) {
        if (program.arguments.empty()) {
            return Usage();
        }
    }

    for (int run = -1; run < runs; ++run) {
        for (Program& program : programs) {
            const std::optional<RunResult> result = RunOnce(program, mode);
            if (!result) {
                return 1;
            }
            if (run >= 0) {
                program.milliseconds.push_back(result->milliseconds);
                program.peakKilobytes.push_back(result->peakKilobytes);
            }
        }
    }
    for (const Program& program : programs) {
        const auto [lowest, highest] =
            std::minmax_element(program.milliseconds.begin(), program.milliseconds.end());
        std::printf("%s runs=%d median_ms=%.3f min_ms=%.3f max_ms=%.3f peak_rss_kb=%.0f\n",
                    program.name.c_str(), runs, Median(program.milliseconds), *lowest, *highest,
                    Median(program.peakKilobytes));
    }
    return 0;
}
