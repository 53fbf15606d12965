// Finding the installer's window and keeping the status window above it.
#include "InstallerWindow.h"

namespace attente {

namespace {

struct TSearch {
    DWORD Process;
    HWND Found;
};

bool IsMainWindowOf(HWND window, DWORD process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != process || !IsWindowVisible(window) || IsIconic(window) || GetWindow(window, GW_OWNER))
        return false;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return false;
    RECT r{};
    return GetWindowRect(window, &r) && !IsRectEmpty(&r);
}

// Top-level windows come in z-order, the topmost first.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<TSearch*>(context);
    if (!IsMainWindowOf(window, search.Process)) return TRUE;
    search.Found = window;
    return FALSE;
}

MONITORINFO MonitorOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info;
}

constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// Looked at, not hooked: Wine raises the front's events only to hooks older than the thread that
// changes the front, and the installer is older than us; a look five times a second serves both.
constexpr UINT kFrontLookMs = 200;

HWND gKept = nullptr;
HWND gInstaller = nullptr;
HWND gFront = nullptr; // the front window last arranged for
UINT_PTR gTimer = 0;

void Arrange(HWND foreground) noexcept {
    gFront = foreground;
    if (!IsWindow(gInstaller) || !IsWindow(gKept)) {
        if (IsWindow(gKept)) SetWindowPos(gKept, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
        StopKeepingAbove(gKept);
        return;
    }
    if (foreground == gInstaller) {
        SetWindowPos(gKept, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
        return;
    }
    // Placed after a window that is not topmost, a topmost window loses that state in the same move.
    HWND above = GetWindow(gInstaller, GW_HWNDPREV);
    if (above == gKept) above = GetWindow(gKept, GW_HWNDPREV);
    if (!above || (GetWindowLongW(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) above = HWND_NOTOPMOST;
    SetWindowPos(gKept, above, 0, 0, 0, 0, kZOrderOnly);
}

void CALLBACK LookAtFront(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (const HWND front = GetForegroundWindow(); front != gFront) Arrange(front);
}

} // namespace

TPlacement FindPlacement(DWORD starter) {
    TPlacement placement;
    const HWND foreground = GetForegroundWindow();
    if (starter) {
        TSearch search{starter, nullptr};
        const HWND front = foreground ? GetAncestor(foreground, GA_ROOTOWNER) : nullptr;
        if (front && IsMainWindowOf(front, starter))
            search.Found = front;
        else
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        placement.Installer = search.Found;
    }
    if (placement.Installer) {
        GetWindowRect(placement.Installer, &placement.Area);
        placement.Within = MonitorOf(placement.Installer).rcWork;
    } else {
        placement.Area = MonitorOf(foreground).rcMonitor;
    }
    return placement;
}

void KeepAbove(HWND window, HWND installer) {
    StopKeepingAbove(gKept);
    if (!window || !installer) return;
    gKept = window;
    gInstaller = installer;
    gTimer = SetTimer(nullptr, 0, kFrontLookMs, LookAtFront);
    Arrange(GetForegroundWindow());
}

void StopKeepingAbove(HWND window) {
    if (window != gKept && IsWindow(gKept)) return;
    if (gTimer) KillTimer(nullptr, gTimer);
    gTimer = 0;
    gKept = nullptr;
    gInstaller = nullptr;
    gFront = nullptr;
}

} // namespace attente
