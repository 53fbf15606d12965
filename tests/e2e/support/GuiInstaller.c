/* A GUI installer for the tests: a window with a focused button at the place its command line gives,
   in front, that starts the rest of its command line (not waited for) and ends when its window is
   closed, with the exit code 0.
   Usage: gui_installer.exe <left> <top> <width> <height> <command line...> */
#include <windows.h>

#include <stdlib.h>

static LRESULT CALLBACK InstallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

/* Steps over one argument of a command line (no quotes in the numbers given here). */
static const wchar_t* NextArgument(const wchar_t* p, int* value) {
    while (*p == L' ') ++p;
    if (value) *value = _wtoi(p);
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p) {
        }
        if (*p) ++p;
    } else {
        while (*p && *p != L' ') ++p;
    }
    return p;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR ansiLine, int show) {
    (void)previous;
    (void)ansiLine;
    (void)show;
    int left = 0, top = 0, width = 0, height = 0;
    const wchar_t* p = NextArgument(GetCommandLineW(), NULL);
    p = NextArgument(p, &left);
    p = NextArgument(p, &top);
    p = NextArgument(p, &width);
    p = NextArgument(p, &height);
    while (*p == L' ') ++p;

    WNDCLASSW wc = {0};
    wc.lpfnWndProc = InstallerProc;
    wc.hInstance = instance;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"AttenteTestInstaller";
    if (!RegisterClassW(&wc)) return 90;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Test installer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  left, top, width, height, NULL, NULL, instance, NULL);
    if (!window) return 91;
    HWND button = CreateWindowExW(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 80, 24,
                                  window, (HMENU)1, instance, NULL);
    SetForegroundWindow(window);
    SetFocus(button);

    if (*p) {
        static wchar_t command[32768];
        lstrcpynW(command, p, 32768);
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info;
        if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return 92;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
