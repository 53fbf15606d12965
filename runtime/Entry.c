/* The exe's entry, in place of the C runtime's start-up object. That object parses arguments, relocates
 * data imported without a declaration, supports thread-local storage and installs a crash handler, none
 * of which this program uses (8 KiB, and the C library's console printing with it). What the program
 * needs of it is here. */
#include <windows.h>

#include <stdlib.h>

void __main(void); /* the compiler runtime's: static constructors, unwind tables registered */
void __cdecl __set_app_type(int type);
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

enum { kGuiApp = 2 };

/* The C library exports atexit as data only; the start-up object supplied this function. */
int __cdecl atexit(void(__cdecl* function)(void)) {
    return _onexit((_onexit_t)function) ? 0 : -1;
}

void WinMainCRTStartup(void) {
    /* The C runtime reports its own failures in a box, as for any windowed program. */
    __set_app_type(kGuiApp);
    __main();
    /* WinMain reads the command line and the show state from the system itself. exit() runs the static
     * destructors and what was registered with atexit. */
    exit(WinMain(GetModuleHandleW(NULL), NULL, (LPSTR) "", SW_SHOWDEFAULT));
}
