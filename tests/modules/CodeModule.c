/* A module with code in it, as a careless build would produce one: entry point, code, imports,
   exports. The checker must refuse it however sound its resources are. */
#include <windows.h>

__declspec(dllexport) DWORD CodeModuleTick(void) { return GetTickCount(); }
