// Where the last C++ exception was raised: every throw in the program passes through the runtime's
// one raise function, which the link wraps (-Wl,--wrap=__cxa_throw) to note its caller.
#pragma once

#include <cstdint>

namespace attente {

// The code address of the last throw expression, or 0 before any; read it first thing in a handler.
std::uintptr_t LastThrowSite() noexcept;

} // namespace attente
