// The wrapped raise function: keeps its caller's address, then raises as the runtime would.
#include "ThrowSite.h"

#include <atomic>
#include <typeinfo>

namespace {

std::atomic<std::uintptr_t> lastThrowSite{0};

} // namespace

extern "C" {

[[noreturn]] void __real___cxa_throw(void* thrown, std::type_info* type, void (*destroy)(void*));

[[noreturn]] void __wrap___cxa_throw(void* thrown, std::type_info* type, void (*destroy)(void*)) {
    lastThrowSite.store(reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)),
                        std::memory_order_relaxed);
    __real___cxa_throw(thrown, type, destroy);
}

} // extern "C"

namespace attente {

std::uintptr_t LastThrowSite() noexcept {
    return lastThrowSite.load(std::memory_order_relaxed);
}

} // namespace attente
