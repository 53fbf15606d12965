// What the status window does once it is up: run the installer's command (/RUN=) or follow the
// process that started it, so the window never outlives the installer.
#pragma once

#include "Handles.h"

#include <windows.h>

#include <string>

namespace attente {

// Exit code when the /RUN command cannot be started at all.
constexpr UINT kRunCommandFailedExitCode = 127;

// Starts `commandLine` as given (no shell, no quoting changes), without a console window of its own:
// the status window is the user interface. Throws Exception with the system's reason when it cannot
// be started. Returns the process handle.
TKernelHandle StartCommand(const std::wstring& commandLine);

// The process that started us, opened for waiting; empty when it is gone already or cannot be
// opened. A recycled process id is told apart by its creation time, which must precede ours.
TKernelHandle OpenParentProcess();

// When a process was created (FILETIME units), 0 when that cannot be read: tells a process from a
// later one that got its id.
ULONGLONG CreationTimeOf(HANDLE process);

// The exit code of an ended process, or 1 when it cannot be read.
UINT ExitCodeOf(HANDLE process);

} // namespace attente
