// The executable's path through a buffer of the platform's longest path.
#include "ExeWidePath.h"

#include "ModuleFiles.h"

namespace attente {

namespace {

// The longest path the platform handles, in UTF-16 units with the terminating zero.
constexpr DWORD kLongestPathSize = 32768;

} // namespace

std::wstring ExeFullPathW() {
    return ModulePathW(nullptr, kLongestPathSize);
}

} // namespace attente
