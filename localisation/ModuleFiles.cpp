// Win32 side of module loading: paths, abbreviations, file checks, data-file opening.
#include "ModuleFiles.h"

#include "ModulePath.h"

namespace attente {

std::string ModulePath(HMODULE module) {
    char buffer[kPathBufferSize] = {};
    // A stale error code must not look like truncation of a path that fitted.
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(module, buffer, kPathBufferSize);
    // Truncation shows as a return equal to the buffer size (older systems, with no terminating
    // zero) or as ERROR_INSUFFICIENT_BUFFER (newer ones).
    if (length == 0 || length >= kPathBufferSize || GetLastError() == ERROR_INSUFFICIENT_BUFFER) return {};
    return std::string(buffer, length);
}

std::string LongPathOf(const std::string& path) {
    char buffer[kPathBufferSize] = {};
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, kPathBufferSize);
    // On a buffer too small the call returns the size it needs, which is >= the buffer size.
    if (length == 0 || length >= kPathBufferSize) return path;
    return std::string(buffer, length);
}

std::string LocaleAbbrev(LCID lcid) {
    char buffer[kAbbrevBufferSize] = {};
    if (GetLocaleInfoA(lcid, LOCALE_SABBREVLANGNAME, buffer, kAbbrevBufferSize) <= 0) return {};
    buffer[kAbbrevBufferSize - 1] = '\0';
    return buffer;
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA data{};
    TFindHandle find(FindFirstFileA(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TModule OpenModuleAsData(const std::string& path) {
    return TModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

} // namespace attente
