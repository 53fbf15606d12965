// Shutdown in the reverse order of start-up, on every exit path: normal end, start-up failure, and a
// handler that ends the process with an exit code of its own.
#pragma once

#include <windows.h>

namespace attente {

using TFinaliser = void (*)();

// Registers the undoing of a start-up step that has just run.
void AtShutdown(TFinaliser finaliser);

// Runs the registered finalisers, last first, each once; a failing one does not stop the others.
void Shutdown();

// For handlers inside the message loop: shuts down and ends the process with `exitCode`. Open windows
// are left to the system, since the handler calling this may belong to one of them.
[[noreturn]] void ExitApplication(UINT exitCode);

} // namespace attente
