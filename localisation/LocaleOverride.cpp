// Reads the start-up override: one key, two values at most, each read through a 5-byte buffer.
#include "LocaleOverride.h"

#include "Handles.h"
#include "ModuleFiles.h"
#include "ModulePath.h"

#include <windows.h>

#include <cstring>
#include <optional>

namespace attente {

namespace {

constexpr REGSAM kLocalesKeyAccess =
    STANDARD_RIGHTS_REQUIRED | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
static_assert(kLocalesKeyAccess == 0xF0019);

TRegKey OpenLocalesKey() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        TRegKey key;
        if (RegOpenKeyExA(root, kLocalesKey, 0, kLocalesKeyAccess, key.Receive()) == ERROR_SUCCESS)
            return key;
    }
    return {};
}

// None when the value is missing, does not fit in the buffer, or is not text: a number or binary
// data read as a file extension would only name garbage.
std::optional<std::string> ReadShortText(HKEY key, const char* name) {
    BYTE data[kAbbrevBufferSize] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    data[kAbbrevBufferSize - 1] = 0;
    // A value stored without its terminating zero ends at its size.
    const std::size_t limit = size < kAbbrevBufferSize ? size : kAbbrevBufferSize - 1;
    const char* text = reinterpret_cast<const char*>(data);
    return std::string(text, strnlen(text, limit));
}

} // namespace

std::string ReadStartupOverride(const std::string& exePath) {
    TRegKey key = OpenLocalesKey();
    if (!key) return {};
    const std::string valueName = LongPathOf(exePath);
    if (std::optional<std::string> value = ReadShortText(key.Get(), valueName.c_str())) return *value;
    if (std::optional<std::string> value = ReadShortText(key.Get(), nullptr)) return *value;
    return {};
}

} // namespace attente
