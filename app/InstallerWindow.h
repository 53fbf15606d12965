// The installer's own window: the status window comes up centred over it and stays above it while
// the installer is in front, without ever taking its activation or focus.
#pragma once

#include <windows.h>

namespace attente {

struct TPlacement {
    HWND Installer = nullptr; // the starter's window the status window sits over, or none
    RECT Area{};              // the rectangle it is centred on
    RECT Within{};            // the rectangle it is kept inside; empty: not bounded
};

// Over the visible top-level window of the process `starter` (the foreground one when it is the
// starter's, else the topmost in z-order), inside that window's monitor's work area; without one,
// centred on the monitor of the foreground window, or the primary monitor.
TPlacement FindPlacement(DWORD starter);

// From now on `window` stays right above `installer`: above every window while the installer's
// window is the foreground window (so a click on it does not cover the status window), and just
// above it in z-order whatever else comes to the front. Follows the foreground window by looking at
// it from this thread's message loop: nothing is injected into the installer, no input queues are
// shared, so neither side can hang the other. Ends when the installer's window is gone.
void KeepAbove(HWND window, HWND installer);
// Stops keeping `window` (or a window that is gone) above its installer's.
void StopKeepingAbove(HWND window);

} // namespace attente
