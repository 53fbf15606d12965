// DLL search restriction, looked up at run time: the call is missing from systems without the
// KB2533623 update, and importing it would keep the exe from starting there at all.
#include "DllSearch.h"

#include <windows.h>

namespace attente {

namespace {

using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);

} // namespace

TDllSearch RestrictDllSearch() {
    // kernel32 is mapped into every process before the entry runs; GetModuleHandle loads nothing.
    if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return TDllSearch::SystemOnly;
    }
    // An empty string takes the current folder out of the search order.
    SetDllDirectoryW(L"");
    return TDllSearch::CurrentDirectory;
}

} // namespace attente
