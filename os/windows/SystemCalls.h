// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Helpers of the Windows implementation. <windows.h> stays out of every header: it defines
// ReplaceFile as a macro, which would rename vx40::ReplaceFile. A HANDLE is a void* and a DWORD an
// unsigned long here; each .cpp that calls the system includes <windows.h> and undefines the macro.

namespace vx40::windows {

// A path in UTF-8, as the core passes it, in UTF-16 for the system; false where it is no valid
// UTF-8 (or empty).
bool WidePath(const std::string& path, std::wstring& wide);

// The errno value whose German reason fits a system error code (GetLastError).
int ErrnoOf(unsigned long error);

// Whether the system error code means that another program holds the file open and shares it
// not for what was asked.
bool IsFileInUse(unsigned long error);

// A handle that is closed when it goes out of scope.
class Handle {
  public:
    explicit Handle(void* handle = Invalid()) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }

    static void* Invalid() { return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1)); }
    void* Get() const { return handle_; }
    bool Valid() const { return handle_ != Invalid() && handle_ != nullptr; }
    void* Release() {
        void* handle = handle_;
        handle_ = Invalid();
        return handle;
    }
    // The errno of a failed close; 0 when it succeeded or nothing was open.
    int Close();

  private:
    void* handle_;
};

}  // namespace vx40::windows
