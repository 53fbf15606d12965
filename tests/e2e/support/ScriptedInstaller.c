/* An installer for the tests: it runs the lines of a script file (UTF-8), one by one, and writes
   "exit <code>" for each command it waited for.
     window <left> <top> <width> <height>   a window in front with a focused button, as a GUI
                                            installer's; the rest runs while it takes its messages,
                                            and the installer ends when it is closed
     start <command line>                   started, not waited for
     run <command line>                     started and waited for
     sleep <ms>
   Usage: scripted_installer.exe <script>; exit code 0 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static FILE* script;
static char line[32768];

static HANDLE Start(char* commandLine) {
    static wchar_t wide[32768];
    if (!MultiByteToWideChar(CP_UTF8, 0, commandLine, -1, wide, 32768)) return NULL;
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessW(NULL, wide, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return NULL;
    CloseHandle(info.hThread);
    return info.hProcess;
}

static DWORD WINAPI RunLines(void* unused) {
    (void)unused;
    while (fgets(line, sizeof line, script)) {
        line[strcspn(line, "\r\n")] = 0;
        if (strncmp(line, "sleep ", 6) == 0) {
            Sleep((DWORD)atoi(line + 6));
        } else if (strncmp(line, "start ", 6) == 0 || strncmp(line, "run ", 4) == 0) {
            const int wait = line[0] == 'r';
            HANDLE process = Start(line + (wait ? 4 : 6));
            if (!process) {
                printf("failed %lu\n", GetLastError());
            } else if (wait) {
                DWORD code = 1;
                WaitForSingleObject(process, INFINITE);
                GetExitCodeProcess(process, &code);
                printf("exit %lu\n", code);
            }
            if (process) CloseHandle(process);
            fflush(stdout);
        }
    }
    return 0;
}

static LRESULT CALLBACK InstallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

static int RunWindow(int left, int top, int width, int height) {
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = InstallerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"AttenteTestInstaller";
    if (!RegisterClassW(&wc)) return 92;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Test installer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, left,
                                  top, width, height, NULL, NULL, wc.hInstance, NULL);
    if (!window) return 93;
    HWND button = CreateWindowExW(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 80, 24,
                                  window, (HMENU)1, wc.hInstance, NULL);
    SetForegroundWindow(window);
    SetFocus(button);
    CloseHandle(CreateThread(NULL, 0, RunLines, NULL, 0, NULL));
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2 || !(script = fopen(argv[1], "rb"))) return 90;
    int left, top, width, height;
    const long at = ftell(script);
    if (fgets(line, sizeof line, script) && sscanf(line, "window %d %d %d %d", &left, &top, &width, &height) == 4)
        return RunWindow(left, top, width, height);
    fseek(script, at, SEEK_SET);
    return (int)RunLines(NULL);
}
