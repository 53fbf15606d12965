// A C header of a description's integer properties (places, sizes, font heights), so that code
// outside the program (tests, the bench) takes the layout from its one source instead of retyping it.
#pragma once

#include "DescriptionTree.h"

#include <string>

namespace attente {

// `enum { k<Root>_<Property> = value, k<Root>_<Component>_<Property> = value, ... };`, dots of a
// property's name written as '_'. Valid C and C++; `sourceName` goes into the opening comment.
std::string LayoutHeader(const TDescriptionRecord& root, const std::string& sourceName);

} // namespace attente
