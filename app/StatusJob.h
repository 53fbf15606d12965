// What the status window does once it is up: run the installer's command (/RUN=) or follow the
// process that started it, so the window never outlives the installer.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

// Exit code when the /RUN command cannot be started at all.
constexpr UINT kRunCommandFailedExitCode = 127;

// An owned kernel handle.
class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(HANDLE handle) : handle_(handle) {}
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;
    TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Release() {
        HANDLE h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(HANDLE handle = nullptr) {
        if (handle_) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// Starts `commandLine` as given (no shell, no quoting changes); throws Exception with the system's
// reason when it cannot be started. Returns the process handle.
TOwnedHandle StartCommand(const std::string& commandLine);

// The process that started us, opened for waiting; empty when it is gone already or cannot be
// opened. A recycled process id is told apart by its creation time, which must precede ours.
TOwnedHandle OpenParentProcess();

// The exit code of an ended process, or 1 when it cannot be read.
UINT ExitCodeOf(HANDLE process);

} // namespace attente
