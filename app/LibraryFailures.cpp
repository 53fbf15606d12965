// The C++ library's own failure raisers, replaced: the library's versions throw its logic_error family,
// whose strings bring the library's string code of both ABIs and a printf into the exe. These
// raise our exception with the library's text, or bad_alloc, which the failure box already names.
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
