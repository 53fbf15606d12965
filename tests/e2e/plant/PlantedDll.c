/* A DLL planted beside the program under a name something might load: once loaded it leaves
   <its own file name>.loaded in its folder, which is all the tests look for. */
#include <windows.h>

static const wchar_t kMarkerSuffix[] = L".loaded";

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + sizeof kMarkerSuffix / sizeof kMarkerSuffix[0]];
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatW(path, kMarkerSuffix);
    const HANDLE marker =
        CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return TRUE;
}
