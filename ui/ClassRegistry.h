// The classes a description record may name for a new component: the framework's own (TLabel,
// TImage) and any the program adds.
#pragma once

#include "ClassInfo.h"

#include <string_view>

namespace attente {

// Null when no class of that name can be created (names compare without regard to letter case).
const TClassInfo* FindComponentClass(std::string_view name);

// Adds a class with a Create routine (declared with ATTENTE_COMPONENT_CLASS); a class of the same name
// already known is replaced.
void RegisterComponentClass(const TClassInfo& info);

} // namespace attente
