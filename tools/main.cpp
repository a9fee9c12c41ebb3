// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "os/FileReplace.h"
#include "os/StandardStreams.h"
#include "tools/ToolApplication.h"

#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile

#include <string>
#include <vector>
#endif

namespace {

int Run(int argc, char** argv) {
    vx40::TakeClosedStandardStreams();
    vx40::IgnoreFileSizeLimitSignal();
    return vx40::tool::RunTool(argc, argv, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over in UTF-16; the tool takes them in UTF-8, as everywhere.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const int size =
            ::WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        if (size > 0) {
            ::WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, argument.data(), size, nullptr,
                                  nullptr);
        }
        argument.resize(argument.size() - 1);  // the terminating NUL
        arguments.push_back(std::move(argument));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return Run(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return Run(argc, argv);
}
#endif
