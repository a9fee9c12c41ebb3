// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace vx40::cli_test {
namespace {

class Pipe {
  public:
    Pipe() {
        if (pipe(fds_.data()) != 0) {
            throw std::runtime_error("pipe failed");
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    std::array<int, 2> fds_{-1, -1};
};

// Reads both pipes until both are closed, so that neither stream can fill up and block the tool.
void Drain(Pipe& outPipe, Pipe& errPipe, ToolOutput& output) {
    std::array<pollfd, 2> fds{pollfd{outPipe.Read(), POLLIN, 0}, pollfd{errPipe.Read(), POLLIN, 0}};
    std::array<std::string*, 2> targets{&output.out, &output.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::runtime_error("poll failed");
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t count = read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                targets[i]->append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

// The words that start the tool: the built tool, or, for the Windows build, the emulator's
// words and the .exe (VX40_TOOL_EXE).
std::vector<std::string> ToolCommand() {
    std::vector<std::string> words = EmulatorCommand();
    const char* exe = std::getenv("VX40_TOOL_EXE");
    words.emplace_back(exe != nullptr ? exe : VX40_TOOL_PATH);
    return words;
}

struct Streams {
    int input = -1;          // the test's own when -1
    bool outputPipe = true;  // otherwise output, closed when -1
    int output = -1;
    bool pipeSignalIgnored = false;
};

ToolOutput Run(const Arguments& arguments, const std::vector<std::string>& environment,
               const Streams& streams) {
    std::vector<std::string> argumentTexts = ToolCommand();
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argumentTexts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> environmentTexts;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environmentTexts.emplace_back(*entry);
    }
    environmentTexts.insert(environmentTexts.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& text : environmentTexts) {
        envp.push_back(text.data());
    }
    envp.push_back(nullptr);

    Pipe outPipe;
    Pipe errPipe;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (streams.outputPipe) {
        posix_spawn_file_actions_adddup2(&actions, outPipe.Write(), STDOUT_FILENO);
    } else if (streams.output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, streams.output, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, errPipe.Write(), STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, outPipe.Read());
    posix_spawn_file_actions_addclose(&actions, errPipe.Read());
    if (streams.input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, streams.input, STDIN_FILENO);
    }
    // An ignored signal stays ignored in the tool; the tests ignore SIGXFSZ while they limit file
    // sizes, and the tool must deal with that signal itself.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    // An ignored signal is handed on only by being ignored here while the tool starts.
    struct sigaction previous {};
    if (streams.pipeSignalIgnored) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &previous);
    } else {
        sigaddset(&defaults, SIGPIPE);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, argv.front(), &actions, &attributes, argv.data(), envp.data());
    if (streams.pipeSignalIgnored) {
        sigaction(SIGPIPE, &previous, nullptr);
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + argumentTexts.front());
    }
    outPipe.CloseWrite();
    errPipe.CloseWrite();

    ToolOutput output;
    Drain(outPipe, errPipe, output);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    if (WIFEXITED(status)) {
        output.exitCode = WEXITSTATUS(status);
    }
    return output;
}

}  // namespace

std::vector<std::string> EmulatorCommand() {
    std::vector<std::string> words;
    if (const char* emulator = std::getenv("VX40_TOOL_EMULATOR"); emulator != nullptr) {
        const std::string list = emulator;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(';', start), list.size());
            if (end > start) {
                words.push_back(list.substr(start, end - start));
            }
            start = end + 1;
        }
    }
    return words;
}

bool WindowsBuild() {
    return std::getenv("VX40_TOOL_EXE") != nullptr;
}

ToolOutput RunTool(const Arguments& arguments, const std::vector<std::string>& environment,
                   int standardInput) {
    return Run(arguments, environment, {standardInput, true, -1, false});
}

ToolOutput RunToolWithOutput(const Arguments& arguments, int standardOutput, bool pipeSignalIgnored,
                             int standardInput) {
    return Run(arguments, {}, {standardInput, false, standardOutput, pipeSignalIgnored});
}

}  // namespace vx40::cli_test
