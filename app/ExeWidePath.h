// The running executable's full path in UTF-16, for what the user reads (titles, the error box).
#pragma once

#include <string>

namespace attente {

// Whole, whatever its length; empty only when the platform gives nothing.
std::wstring ExeFullPathW();

} // namespace attente
