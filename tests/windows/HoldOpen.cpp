// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a file open as another program would, sharing nothing, until its standard input ends:
// vx40_hold_open FILE. Writes one line once the file is open, so a test knows when to go on.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    std::fputs("offen\n", stdout);
    std::fflush(stdout);
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
