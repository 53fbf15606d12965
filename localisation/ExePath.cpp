// GetModuleFileNameA for the executable, with truncation detected rather than passed on.
#include "ExePath.h"

#include <windows.h>

#include <vector>

namespace attente {

namespace {

constexpr DWORD kPathBufferSize = MAX_PATH + 1;
// The longest path the platform handles, in UTF-16 units with the terminating zero.
constexpr DWORD kLongestPathSize = 32768;

} // namespace

std::string ExeFullPath() {
    char buffer[kPathBufferSize] = {};
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(nullptr, buffer, kPathBufferSize);
    // A cut path fills the buffer (left unterminated by older systems), or, on some systems, stops one
    // short of it with ERROR_INSUFFICIENT_BUFFER set.
    if (length == 0 || length >= kPathBufferSize) return {};
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) return {};
    return std::string(buffer, length);
}

std::wstring ExeFullPathW() {
    std::vector<wchar_t> buffer(kLongestPathSize, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), kLongestPathSize);
    if (length == 0 || length >= kLongestPathSize) return {};
    return std::wstring(buffer.data(), length);
}

} // namespace attente
