// What the language table's locale queries cost, one kind of query per process so that no kind
// profits from what another loaded: time for the 47 queries of that kind, and how much the working
// set grew. usage: LocaleCost none|abbrev|name|english|native|currency|all|all_acp
#include "InitLangue.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    struct TKind {
        const char* Name;
        std::vector<LCTYPE> Types;
    };
    const TKind kinds[] = {
        {"none", {}},
        {"abbrev", {LOCALE_SABBREVLANGNAME}},
        {"name", {LOCALE_SLANGUAGE}},
        {"english", {LOCALE_SENGLANGUAGE}},
        {"native", {LOCALE_SNATIVELANGNAME}},
        {"currency", {LOCALE_SCURRENCY}},
        {"all",
         {LOCALE_SABBREVLANGNAME, LOCALE_SLANGUAGE, LOCALE_SENGLANGUAGE, LOCALE_SNATIVELANGNAME,
          LOCALE_SCURRENCY}},
        // The same, converted through the system's code page instead of each locale's own.
        {"all_acp",
         {LOCALE_SABBREVLANGNAME | LOCALE_USE_CP_ACP, LOCALE_SLANGUAGE | LOCALE_USE_CP_ACP,
          LOCALE_SENGLANGUAGE | LOCALE_USE_CP_ACP, LOCALE_SNATIVELANGNAME | LOCALE_USE_CP_ACP,
          LOCALE_SCURRENCY | LOCALE_USE_CP_ACP}},
    };
    const TKind* kind = nullptr;
    for (const TKind& k : kinds)
        if (argc == 2 && std::strcmp(argv[1], k.Name) == 0) kind = &k;
    if (!kind) {
        std::fprintf(stderr, "usage: LocaleCost none|abbrev|name|english|native|currency|all|all_acp\n");
        return 2;
    }
    PROCESS_MEMORY_COUNTERS before{}, after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    char buffer[256];
    for (DWORD lcid : attente::kLanguageLcids)
        for (LCTYPE type : kind->Types)
            GetLocaleInfoA(lcid, type, buffer, sizeof buffer);
    QueryPerformanceCounter(&end);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::printf("%s %.0f %.0f\n", kind->Name, (end.QuadPart - begin.QuadPart) * 1e6 / frequency.QuadPart,
                (static_cast<double>(after.PeakWorkingSetSize) - before.PeakWorkingSetSize) / 1024.0);
    return 0;
}
