// The class chain of components: each class knows its name (the name of its window description), its
// parent class and the module that defines it, so descriptions can be looked up level by level.
#pragma once

#include <windows.h>

#include <type_traits>

namespace attente {

class TComponent;

struct TClassInfo {
    const char* Name;
    const TClassInfo* Parent; // null for TComponent only
    // The module whose resource source holds this class's description; null is the executable.
    HINSTANCE Module;
    // Makes a component of this class for a description record; null for classes that descriptions
    // cannot create (forms are created by code, through CreateForm).
    TComponent* (*Create)(TComponent* owner);

    bool InheritsFrom(const TClassInfo& other) const {
        for (const TClassInfo* c = this; c; c = c->Parent)
            if (c == &other) return true;
        return false;
    }
};

template <class T> TComponent* CreateComponentOf(TComponent* owner) {
    return new T(owner);
}

} // namespace attente

// Declares a class's entry in the chain; put it first in the class body (it leaves the body
// private). For a form class nothing else is needed:
//
//     class TForm1 : public attente::TForm {
//         ATTENTE_FORM_CLASS(TForm1, attente::TForm)
//     public:
//         explicit TForm1(attente::TComponent* owner);
//         ...
//     };
//
// The entry is a constant, so it exists before any code runs and needs no registration.
#define ATTENTE_FORM_CLASS(Self, Base)                                                                       \
  public:                                                                                                    \
    static constexpr ::attente::TClassInfo StaticClassInfo{#Self, &Base::StaticClassInfo, nullptr, nullptr}; \
    const ::attente::TClassInfo& ClassInfo() const override {                                                \
        static_assert(std::is_base_of_v<Base, Self>, #Self " must derive from " #Base);                      \
        return StaticClassInfo;                                                                              \
    }                                                                                                        \
                                                                                                             \
  private:

// For component classes that descriptions create by class name (TLabel, TImage, and any class given
// to RegisterComponentClass): declared in the class body, defined in one source file with
// ATTENTE_DEFINE_COMPONENT_CLASS(Self, Base).
#define ATTENTE_COMPONENT_CLASS(Self, Base)                                                                  \
  public:                                                                                                    \
    static const ::attente::TClassInfo StaticClassInfo;                                                      \
    const ::attente::TClassInfo& ClassInfo() const override {                                                \
        return StaticClassInfo;                                                                              \
    }                                                                                                        \
                                                                                                             \
  private:

#define ATTENTE_DEFINE_COMPONENT_CLASS(Self, Base)                                                           \
    static_assert(std::is_base_of_v<Base, Self>, #Self " must derive from " #Base);                          \
    constinit const ::attente::TClassInfo Self::StaticClassInfo {                                            \
#Self, &Base::StaticClassInfo, nullptr, &::attente::CreateComponentOf < Self>                        \
    }
