/* A /RUN= job for the tests: writes the command line it was given, as UTF-8, to <its own path>.txt,
   then exits with the code named by its environment (ATTENTE_JOB_EXIT, 0 when unset). */
#include <windows.h>

#include <stdlib.h>

int main(void) {
    wchar_t self[MAX_PATH + 8];
    DWORD length = GetModuleFileNameW(NULL, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 90;
    lstrcpyW(self + length, L".txt");
    HANDLE out = CreateFileW(self, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE) return 91;
    const wchar_t* commandLine = GetCommandLineW();
    static char utf8[4 * 32768];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, utf8, sizeof utf8 - 16, NULL, NULL);
    if (bytes <= 0) return 92;
    DWORD written = 0;
    WriteFile(out, utf8, (DWORD)bytes - 1, &written, NULL);
    CloseHandle(out);
    char code[16];
    return GetEnvironmentVariableA("ATTENTE_JOB_EXIT", code, sizeof code) ? atoi(code) : 0;
}
