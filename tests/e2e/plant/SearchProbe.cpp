// Loads a DLL by bare name, with or without the program's search restriction first; the exit code says
// whether the load succeeded (0) or not (1), so tests can show a planted DLL is reachable at all.
#include "DllSearch.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr int kLoaded = 0;
constexpr int kNotLoaded = 1;
constexpr int kUsage = 2;
constexpr char kRestrictArgument[] = "restrict";

} // namespace

int main(int argc, char** argv) {
    // probe.exe restrict|open NAME
    if (argc != 3) return kUsage;
    if (std::strcmp(argv[1], kRestrictArgument) == 0) attente::RestrictDllSearch();
    const HMODULE module = LoadLibraryA(argv[2]);
    if (!module) return kNotLoaded;
    FreeLibrary(module);
    return kLoaded;
}
