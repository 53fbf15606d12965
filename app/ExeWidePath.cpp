// GetModuleFileNameW for the executable through a buffer of the platform's longest path.
#include "ExeWidePath.h"

#include <windows.h>

#include <vector>

namespace attente {

namespace {

// The longest path the platform handles, in UTF-16 units with the terminating zero.
constexpr DWORD kLongestPathSize = 32768;

} // namespace

std::wstring ExeFullPathW() {
    std::vector<wchar_t> buffer(kLongestPathSize, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), kLongestPathSize);
    if (length == 0 || length >= kLongestPathSize) return {};
    return std::wstring(buffer.data(), length);
}

} // namespace attente
