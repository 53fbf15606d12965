// Win32 side of module loading: paths, abbreviations, file checks, data-file opening.
#include "ModuleFiles.h"

#include "ModuleImage.h"
#include "ModulePath.h"
#include "TextFormat.h"

#include <cstdint>
#include <vector>

namespace attente {

namespace {

// Language modules hold a few strings and descriptions; anything this large is not one.
constexpr DWORD kMaxModuleFileSize = 64u << 20;

bool ReadWhole(HANDLE file, std::vector<std::uint8_t>& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kMaxModuleFileSize) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                             read == bytes.size());
}

} // namespace

std::wstring ModulePathW(HMODULE module, DWORD capacity) {
    std::wstring buffer(capacity, L'\0');
    // A stale error code must not look like truncation of a path that fitted.
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameW(module, buffer.data(), capacity);
    // Truncation shows as a return equal to the buffer size (older systems, with no terminating
    // zero) or as ERROR_INSUFFICIENT_BUFFER (newer ones).
    if (length == 0 || length >= capacity || GetLastError() == ERROR_INSUFFICIENT_BUFFER) return {};
    buffer.resize(length);
    return buffer;
}

std::string ModulePath(HMODULE module, DWORD capacity) {
    if (capacity == 0 || capacity > kPathBufferSize) capacity = kPathBufferSize;
    return WideToUtf8(ModulePathW(module, capacity));
}

std::string LongPathOf(const std::string& path) {
    wchar_t buffer[kPathBufferSize] = {};
    const DWORD length = GetLongPathNameW(Utf8ToWide(path).c_str(), buffer, kPathBufferSize);
    // On a buffer too small the call returns the size it needs, which is >= the buffer size.
    if (length == 0 || length >= kPathBufferSize) return path;
    return WideToUtf8(std::wstring(buffer, length));
}

std::string LocaleAbbrev(LCID lcid) {
    char buffer[kAbbrevBufferSize] = {};
    if (GetLocaleInfoA(lcid, LOCALE_SABBREVLANGNAME, buffer, kAbbrevBufferSize) <= 0) return {};
    buffer[kAbbrevBufferSize - 1] = '\0';
    return buffer;
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAW data{};
    TFindHandle find(FindFirstFileW(Utf8ToWide(path).c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TDataModule OpenModuleAsData(const std::string& path, TDiagOutcome& outcome, DWORD& error) {
    error = ERROR_SUCCESS;
    // Kept open with the mapping (see TDataModule). A directory does not open this way and is passed
    // over like a missing file.
    TDataModule opened;
    const std::wstring widePath = Utf8ToWide(path);
    opened.File.Reset(CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.File) {
        error = GetLastError();
        outcome = TDiagOutcome::NotOpened;
        return {};
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadWhole(opened.File.Get(), bytes) || !IsSoundResourceImage(bytes.data(), bytes.size())) {
        outcome = TDiagOutcome::NotSound;
        return {};
    }
    // The file's bytes as they are, the very layout the check walked: never run, never searched for,
    // no DllMain.
    opened.Module.Reset(LoadLibraryExW(widePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!opened.Module) {
        error = GetLastError();
        outcome = TDiagOutcome::NotMapped;
        return {};
    }
    outcome = TDiagOutcome::Opened;
    return opened;
}

TDataModule OpenModuleAsData(const std::string& path) {
    TDiagOutcome outcome{};
    DWORD error = 0;
    return OpenModuleAsData(path, outcome, error);
}

} // namespace attente
