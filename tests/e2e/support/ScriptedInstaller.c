/* An installer for the tests that has no window: it runs the lines of a script file (UTF-8), one by
   one, and writes "exit <code>" for each command it waited for, then ends with 0.
     start <command line>   started, not waited for
     run <command line>     started and waited for
     sleep <ms>
   Usage: scripted_installer.exe <script> */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

int main(int argc, char** argv) {
    if (argc != 2) return 90;
    FILE* script = fopen(argv[1], "rb");
    if (!script) return 91;
    static char line[32768];
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
    fclose(script);
    return 0;
}
