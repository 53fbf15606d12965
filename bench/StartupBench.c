/* Starts programs in turn and measures, for each run, the time from CreateProcess to its top-level
   window being visible with its frame painted (the screen pixel at the window's corner turns black),
   and the process's peak working set then. Prints one line per program: median time, median peak. */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

enum { kMaxPrograms = 4, kMaxRuns = 200, kPollMs = 1, kPatienceMs = 30000 };
static const COLORREF kFrame = RGB(0, 0, 0);

typedef struct {
    DWORD Process;
    HWND Found;
} TFind;

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    TFind* find = (TFind*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != find->Process || !IsWindowVisible(window)) return TRUE;
    find->Found = window;
    return FALSE;
}

static int Compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double Median(double* values, int count) {
    qsort(values, count, sizeof *values, Compare);
    return count % 2 ? values[count / 2] : (values[count / 2 - 1] + values[count / 2]) / 2;
}

/* One run: milliseconds to the painted window (negative on failure), peak working set in KiB. */
static int RunOnce(char* commandLine, double* ms, double* peakKiB) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;
    LARGE_INTEGER frequency, begin, now;
    PROCESS_MEMORY_COUNTERS memory;
    TFind find = {0, NULL};
    HDC screen = GetDC(NULL);
    int painted = 0;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(&memory, sizeof memory);
    memory.cb = sizeof memory;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return 0;
    find.Process = info.dwProcessId;
    for (;;) {
        QueryPerformanceCounter(&now);
        *ms = (double)(now.QuadPart - begin.QuadPart) * 1000.0 / (double)frequency.QuadPart;
        if (*ms > kPatienceMs || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) break;
        if (!find.Found) EnumWindows(MatchWindow, (LPARAM)&find);
        if (find.Found) {
            RECT outer;
            GetWindowRect(find.Found, &outer);
            if (GetPixel(screen, outer.left, outer.top) == kFrame) {
                painted = 1;
                break;
            }
        }
        Sleep(kPollMs);
    }
    ReleaseDC(NULL, screen);
    *peakKiB =
        GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory) ? memory.PeakWorkingSetSize / 1024.0 : 0;
    if (find.Found) PostMessageW(find.Found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return painted;
}

/* StartupBench RUNS "command line 1" "command line 2" ...  (the first is the yardstick) */
int main(int argc, char** argv) {
    static double times[kMaxPrograms][kMaxRuns], peaks[kMaxPrograms][kMaxRuns];
    const int runs = argc > 1 ? atoi(argv[1]) : 0;
    const int programs = argc - 2;
    double medianTime[kMaxPrograms], medianPeak[kMaxPrograms];
    int run, p;
    if (runs < 1 || runs > kMaxRuns || programs < 1 || programs > kMaxPrograms) {
        fprintf(stderr, "usage: StartupBench RUNS COMMAND...\n");
        return 2;
    }
    /* Alternating, so that a slow phase of the machine weighs on every program alike. */
    for (run = 0; run < runs; ++run)
        for (p = 0; p < programs; ++p) {
            char commandLine[MAX_PATH * 2];
            lstrcpynA(commandLine, argv[p + 2], sizeof commandLine);
            if (!RunOnce(commandLine, &times[p][run], &peaks[p][run])) {
                fprintf(stderr, "no painted window from: %s\n", argv[p + 2]);
                return 1;
            }
        }
    for (p = 0; p < programs; ++p) {
        medianTime[p] = Median(times[p], runs);
        medianPeak[p] = Median(peaks[p], runs);
        printf("%-60s  start-up %7.1f ms (x%.2f)  peak working set %7.0f KiB (x%.2f)\n", argv[p + 2],
               medianTime[p], medianTime[p] / medianTime[0], medianPeak[p], medianPeak[p] / medianPeak[0]);
    }
    return 0;
}
