// The bench's view into start-up: counter readings kept in place, turned into microseconds since the
// process's creation only when written.
#include "StartupTrace.h"

#include "Handles.h"

#include <windows.h>

namespace attente {

namespace {

constexpr int kMaxSteps = 16;
constexpr int kMaxStepText = 48; // name, '=', a signed 32-bit number, a tab
constexpr double kFileTimeUnitsPerUs = 10;
constexpr double kUsPerSecond = 1000000;
// Floating point keeps the 64-bit division helpers out of the exe; a step an hour or more after the
// process's creation reads as an hour.
constexpr double kLatestUs = 3600.0 * kUsPerSecond;

struct TStep {
    const char* Name;
    LONGLONG Counter;
};

TStep steps[kMaxSteps];
int stepCount = 0;

LONGLONG Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG FileTimeValue(const FILETIME& time) {
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

} // namespace

void TraceStartupStep(const char* step) noexcept {
    if (stepCount < kMaxSteps) steps[stepCount++] = {step, Counter()};
}

void WriteStartupTrace() noexcept {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ATTENTE_BENCH_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    // The counter and the system clock read together map every counter reading onto the clock that
    // stamped the process's creation.
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimeAsFileTime(&now);
    const LONGLONG nowCounter = Counter();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double usSinceCreation =
        static_cast<double>(FileTimeValue(now) - FileTimeValue(created)) / kFileTimeUnitsPerUs;
    const double usPerCount = kUsPerSecond / static_cast<double>(frequency.QuadPart);

    // Written by hand: the C library's printf or the string library would weigh more than the rest.
    char line[kMaxSteps * kMaxStepText + 1];
    char* out = line;
    for (int i = 0; i < stepCount; ++i) {
        if (i) *out++ = '\t';
        for (const char* name = steps[i].Name; *name && out < line + (i + 1) * kMaxStepText - 24;)
            *out++ = *name++;
        *out++ = '=';
        double at = usSinceCreation - static_cast<double>(nowCounter - steps[i].Counter) * usPerCount;
        if (at < 0) {
            *out++ = '-';
            at = -at;
        }
        unsigned long us = static_cast<unsigned long>(at < kLatestUs ? at : kLatestUs);
        char digits[20];
        int count = 0;
        do
            digits[count++] = static_cast<char>('0' + us % 10);
        while ((us /= 10) != 0);
        while (count)
            *out++ = digits[--count];
    }
    *out++ = '\n';
    TFile file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.Get(), line, static_cast<DWORD>(out - line), &written, nullptr);
}

} // namespace attente
