// Reads the start-up override: one key, two values at most, each read through a 5-byte buffer.
#include "LocaleOverride.h"

#include "Handles.h"
#include "ModuleFiles.h"
#include "ModulePath.h"

#include <windows.h>

#include <cstring>

namespace attente {

namespace {

constexpr REGSAM kLocalesKeyAccess =
    STANDARD_RIGHTS_REQUIRED | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
static_assert(kLocalesKeyAccess == 0xF0019);
// A standard user is refused the standard rights on a per-machine key; reading needs none of them.
constexpr REGSAM kReadOnlyAccess = KEY_READ;
static_assert(kReadOnlyAccess == 0x20019);

TRegKey OpenLocalesKey() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (REGSAM access : {kLocalesKeyAccess, kReadOnlyAccess}) {
            TRegKey key;
            const LONG result = RegOpenKeyExA(root, kLocalesKey, 0, access, key.Receive());
            if (result == ERROR_SUCCESS) return key;
            if (result != ERROR_ACCESS_DENIED) break;
        }
    }
    return {};
}

enum class TShortValue {
    Absent, // missing, or text that does not fit in the buffer
    Text,
    NotText, // a number or binary data read as a file extension would only name garbage
};

TShortValue ReadShortText(HKEY key, const char* name, std::string& text) {
    BYTE data[kAbbrevBufferSize] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return TShortValue::Absent;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return TShortValue::NotText;
    if (result == ERROR_MORE_DATA) return TShortValue::Absent;
    data[kAbbrevBufferSize - 1] = 0;
    // A value stored without its terminating zero ends at its size.
    const std::size_t limit = size < kAbbrevBufferSize ? size : kAbbrevBufferSize - 1;
    const char* chars = reinterpret_cast<const char*>(data);
    text.assign(chars, strnlen(chars, limit));
    return TShortValue::Text;
}

} // namespace

std::string ReadStartupOverride(const std::string& exePath) {
    TRegKey key = OpenLocalesKey();
    if (!key) return {};
    const std::string valueName = LongPathOf(exePath);
    std::string text;
    switch (ReadShortText(key.Get(), valueName.c_str(), text)) {
    case TShortValue::Text:
        return text;
    case TShortValue::NotText:
        return {};
    case TShortValue::Absent:
        break;
    }
    return ReadShortText(key.Get(), nullptr, text) == TShortValue::Text ? text : std::string();
}

} // namespace attente
