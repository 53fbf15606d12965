// Pieces of the C++ runtime the exe replaces with smaller ones of its own.
//
// The library's failure raisers throw its logic_error family, whose strings bring the library's
// string code of both ABIs and a printf into the exe. These raise our exception with the library's
// text, or bad_alloc, which the failure box already names.
#include "Exceptions.h"

#include <bits/functexcept.h>
#include <new>

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_alloc();
}

void __throw_bad_function_call() {
    throw attente::Exception("bad function call");
}

void __throw_length_error(const char* what) {
    throw attente::Exception(what);
}

void __throw_logic_error(const char* what) {
    throw attente::Exception(what);
}

void __throw_out_of_range_fmt(const char* format, ...) {
    throw attente::Exception(format);
}

} // namespace std

// The exceptions being handled and the count of those thrown and not yet caught: the runtime keeps
// them per thread through emulated thread-local storage (its own allocator, lock and destructor
// hooks). The exe runs C++ on one thread, so one pair serves. Its layout is the C++ ABI's.
namespace __cxxabiv1 {
struct __cxa_eh_globals;
}

namespace {
struct {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
} exceptionGlobals;
} // namespace

extern "C" __cxxabiv1::__cxa_eh_globals* __cxa_get_globals() noexcept {
    return reinterpret_cast<__cxxabiv1::__cxa_eh_globals*>(&exceptionGlobals);
}

extern "C" __cxxabiv1::__cxa_eh_globals* __cxa_get_globals_fast() noexcept {
    return __cxa_get_globals();
}

// The win32 thread model's keys hand their destructors to the C runtime's per-thread clean-up (a TLS
// callback, a lock and a list: 1.5 KiB). Nothing in the exe creates a key since the exception globals
// above replaced the runtime's per-thread ones; should something start to, a key that needs a
// destructor fails to be created rather than leaking per thread.
extern "C" int __mingwthr_key_dtor(unsigned long key, void (*destructor)(void*)) {
    static_cast<void>(key);
    return destructor ? -1 : 0;
}
