// The class chain of components: each class knows its name (the name of its window description), its
// parent class and the module that defines it, so descriptions can be looked up level by level.
#pragma once

#include <windows.h>

#include <type_traits>

namespace attente {

struct TClassInfo {
    const char* Name;
    const TClassInfo* Parent; // null for TComponent only
    // The module whose resource source holds this class's description; null is the executable.
    HINSTANCE Module;
};

} // namespace attente

// Declares a class's entry in the chain; put it first in the class body (it leaves the body private).
// The entry is a constant, so it exists before any code runs and needs no registration.
#define ATTENTE_CLASS(Self, Base)                                                                            \
  public:                                                                                                    \
    static constexpr ::attente::TClassInfo StaticClassInfo{#Self, &Base::StaticClassInfo, nullptr};          \
    const ::attente::TClassInfo& ClassInfo() const override {                                                \
        static_assert(std::is_base_of_v<Base, Self>, #Self " must derive from " #Base);                      \
        return StaticClassInfo;                                                                              \
    }                                                                                                        \
                                                                                                             \
  private:
