/* The yardstick for start-up time and memory: the least a Win32 program does to show a borderless
   window of the status window's size (Form1Layout.h, generated from its description) in the middle
   of the screen and paint it (a black frame, as the status window has), closing on WM_CLOSE. With
   ATTENTE_BENCH_TRACE naming a file it appends, as the program does, the microseconds since its
   creation at entry, once the window is created and once it is painted. */
#include "Form1Layout.h"

#include <windows.h>

enum { kWidth = kForm1_ClientWidth, kHeight = kForm1_ClientHeight, kDesignDpi = 96 };

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        RECT client;
        HDC dc = BeginPaint(window, &paint);
        GetClientRect(window, &client);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

static LONGLONG Counter(void) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

static LONGLONG FileTimeValue(FILETIME time) {
    return (LONGLONG)(((ULONGLONG)time.dwHighDateTime << 32) | time.dwLowDateTime);
}

/* Formatted by hand: the C library's stdio would make this yardstick three times its size. */
static void WriteTrace(const LONGLONG steps[3]) {
    static const char* const kNames[3] = {"0.entry=", "\t4.window=", "\t5.painted="};
    char path[MAX_PATH], line[128], *out = line;
    const char* name;
    FILETIME created, exited, kernel, user, now;
    LARGE_INTEGER frequency;
    LONGLONG nowCounter, usSinceCreation;
    HANDLE file;
    DWORD written;
    int i;
    if (!GetEnvironmentVariableA("ATTENTE_BENCH_TRACE", path, MAX_PATH)) return;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    nowCounter = Counter();
    QueryPerformanceFrequency(&frequency);
    usSinceCreation = (FileTimeValue(now) - FileTimeValue(created)) / 10;
    for (i = 0; i < 3; ++i) {
        LONGLONG us = usSinceCreation - (nowCounter - steps[i]) * 1000000 / frequency.QuadPart;
        char digits[20];
        int count = 0;
        for (name = kNames[i]; *name;)
            *out++ = *name++;
        if (us < 0) *out++ = '-', us = -us;
        do
            digits[count++] = (char)('0' + us % 10);
        while ((us /= 10) != 0);
        while (count)
            *out++ = digits[--count];
    }
    *out++ = '\n';
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, line, (DWORD)(out - line), &written, NULL);
    CloseHandle(file);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    LONGLONG steps[3] = {Counter(), 0, 0};
    WNDCLASSW wc = {0};
    HDC screen = GetDC(NULL);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    const int width = MulDiv(kWidth, dpi, kDesignDpi), height = MulDiv(kHeight, dpi, kDesignDpi);
    HWND window;
    MSG msg;
    (void)previous;
    (void)commandLine;
    if (screen) ReleaseDC(NULL, screen);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_WAIT);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MinimalWindow";
    if (!RegisterClassW(&wc)) return 1;
    window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                             (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, NULL, NULL,
                             instance, NULL);
    if (!window) return 1;
    steps[1] = Counter();
    ShowWindow(window, show);
    UpdateWindow(window);
    steps[2] = Counter();
    WriteTrace(steps);
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
