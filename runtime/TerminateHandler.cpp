// The C++ runtime's last resort, replaced: the library's own handler prints the exception's demangled
// type to a console this GUI program does not have, and links the demangler and a printf (some
// 150 KiB) for it. Every exception is caught in the entry; this runs only if one escapes a noexcept
// boundary or another thread, and then ends the process as the standard requires.
#include <cstdlib>

namespace __gnu_cxx {

// Defined here, the archive member holding the library's version is never pulled into the link.
void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
