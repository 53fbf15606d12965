/* Starts programs in turn and measures, for each run, the time from CreateProcess to its top-level
   window being visible and then painted (the screen pixel at the window's corner turns black: the
   display's root must not be black), and the process's peak working set at the paint and once the
   window has been up for a while (work done after the first paint shows there). Prints, per program,
   medians with their quartiles and the ratio to the first program. */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

enum { kMaxPrograms = 4, kMaxRuns = 200, kPollMs = 1, kPatienceMs = 30000, kSettleMs = 500 };
enum { kVisible, kPainted, kPeakAtPaint, kPeakSettled, kFigures };
static const COLORREF kFrame = RGB(0, 0, 0);
static const char* const kFigureNames[kFigures] = {"visible (ms)", "painted (ms)", "peak at paint (KiB)",
                                                   "peak settled (KiB)"};

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

/* The value below which `fraction` of the sorted values lie, interpolated. */
static double Quantile(const double* sorted, int count, double fraction) {
    const double at = fraction * (count - 1);
    const int below = (int)at;
    return below + 1 < count ? sorted[below] + (at - below) * (sorted[below + 1] - sorted[below])
                             : sorted[below];
}

static double PeakKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory;
    ZeroMemory(&memory, sizeof memory);
    memory.cb = sizeof memory;
    return GetProcessMemoryInfo(process, &memory, sizeof memory) ? memory.PeakWorkingSetSize / 1024.0 : 0;
}

static double MsSince(LARGE_INTEGER begin) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)(now.QuadPart - begin.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* One run; returns 0 when no painted window appeared. The process is ended afterwards: how a
   program closes is not measured. */
static int RunOnce(char* commandLine, double figures[kFigures]) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;
    LARGE_INTEGER begin;
    TFind find = {0, NULL};
    HDC screen = GetDC(NULL);
    int painted = 0;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return 0;
    find.Process = info.dwProcessId;
    while (MsSince(begin) < kPatienceMs && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
        if (!find.Found) {
            EnumWindows(MatchWindow, (LPARAM)&find);
            if (find.Found) figures[kVisible] = MsSince(begin);
        }
        if (find.Found) {
            RECT outer;
            GetWindowRect(find.Found, &outer);
            if (GetPixel(screen, outer.left, outer.top) == kFrame) {
                figures[kPainted] = MsSince(begin);
                painted = 1;
                break;
            }
        }
        Sleep(kPollMs);
    }
    ReleaseDC(NULL, screen);
    figures[kPeakAtPaint] = PeakKiB(info.hProcess);
    Sleep(kSettleMs);
    figures[kPeakSettled] = PeakKiB(info.hProcess);
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) painted = 0; /* it should still be up */
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, kPatienceMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return painted;
}

/* StartupBench RUNS "command line 1" "command line 2" ...  (the first is the yardstick) */
int main(int argc, char** argv) {
    static double values[kMaxPrograms][kFigures][kMaxRuns];
    static double sorted[kMaxRuns], ratios[kMaxRuns];
    const int runs = argc > 1 ? atoi(argv[1]) : 0;
    const int programs = argc - 2;
    int run, p, f;
    if (runs < 1 || runs > kMaxRuns || programs < 1 || programs > kMaxPrograms) {
        fprintf(stderr, "usage: StartupBench RUNS COMMAND...\n");
        return 2;
    }
    /* Alternating, so that a slow phase of the machine weighs on every program alike. */
    for (run = 0; run < runs; ++run)
        for (p = 0; p < programs; ++p) {
            char commandLine[MAX_PATH * 2];
            double figures[kFigures];
            lstrcpynA(commandLine, argv[p + 2], sizeof commandLine);
            if (!RunOnce(commandLine, figures)) {
                fprintf(stderr, "no painted window that stayed up from: %s\n", argv[p + 2]);
                return 1;
            }
            for (f = 0; f < kFigures; ++f)
                values[p][f][run] = figures[f];
        }
    /* Per program and figure: median [quartiles]; then the median of the run-by-run ratios to the
       yardstick's run of the same round, with their quartiles. */
    for (p = 0; p < programs; ++p) {
        printf("%s\n", argv[p + 2]);
        for (f = 0; f < kFigures; ++f) {
            for (run = 0; run < runs; ++run) {
                sorted[run] = values[p][f][run];
                ratios[run] = values[p][f][run] / values[0][f][run];
            }
            qsort(sorted, runs, sizeof *sorted, Compare);
            qsort(ratios, runs, sizeof *ratios, Compare);
            printf("  %-20s %9.1f [%9.1f %9.1f]", kFigureNames[f], Quantile(sorted, runs, 0.5),
                   Quantile(sorted, runs, 0.25), Quantile(sorted, runs, 0.75));
            if (p > 0)
                printf("   x%.3f [x%.3f x%.3f]", Quantile(ratios, runs, 0.5), Quantile(ratios, runs, 0.25),
                       Quantile(ratios, runs, 0.75));
            printf("\n");
        }
    }
    return 0;
}
