// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/StandardStreams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#undef ReplaceFile

#include <cstdio>

namespace vx40 {

void TakeClosedStandardStreams() {
    // Files are opened here as handles, never as C runtime numbers, so a closed standard stream
    // hands its number to no file: nothing needs to keep it taken. A closed stream has no
    // number at all in the C runtime, and every write to it fails.
    // What the tool writes is bytes, the same as on any other system: no CR before each LF, no
    // end at a Ctrl+Z in the input. A console shows the UTF-8 of the German texts as such.
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        const int number = ::_fileno(stream);
        if (number >= 0) {
            ::_setmode(number, _O_BINARY);
        }
    }
    ::SetConsoleOutputCP(CP_UTF8);
}

bool StandardInputReadable() {
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    return input != nullptr && input != INVALID_HANDLE_VALUE;
}

std::string StandardInputPath() {
    // The name of the console's input: the reader takes it as the process's standard input,
    // wherever that is redirected to.
    return "CONIN$";
}

}  // namespace vx40
