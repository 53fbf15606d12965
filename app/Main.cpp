// The entry: runs the start-up steps in their fixed order and the shutdown in reverse.
#include <windows.h>

#include "InitLangue.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // 2. The language table.
    attente::BuildLanguageTable();

    // 6. Shutdown, in reverse order.
    attente::ReleaseLanguageTable();
    return 0;
}
