// Reads the start-up override: one key, two values at most, each read through a 5-byte buffer.
#include "LocaleOverride.h"

#include "Handles.h"
#include "ModuleFiles.h"
#include "ModulePath.h"
#include "RegTextValue.h"

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

// What a read through a 5-byte buffer gives: a text that does not fit counts as absent, and the
// fifth byte is forced to zero.
TShortValue ReadShortText(HKEY key, const char* name, std::string& text) {
    const TRegValue value = ReadRegValue(key, name);
    if (!value.Exists) return TShortValue::Absent;
    if (!IsRegTextType(value.Type)) return TShortValue::NotText;
    if (value.Data.size() > kAbbrevBufferSize) return TShortValue::Absent;
    // A value stored without its terminating zero ends at its size.
    const std::size_t limit =
        value.Data.size() < kAbbrevBufferSize ? value.Data.size() : kAbbrevBufferSize - 1;
    text.assign(value.Data.c_str(), strnlen(value.Data.c_str(), limit));
    return TShortValue::Text;
}

} // namespace

std::string ReadStartupOverride(const std::string& exePath) {
    TRegKey key = OpenLocalesKey();
    if (!key) return {};
    // The long form names the entry; a process started through an 8.3 path also finds one under the
    // path it reports, the name resolution copies a machine entry under.
    const std::string longPath = LongPathOf(exePath);
    std::string text;
    for (const std::string* name : {&longPath, &exePath}) {
        switch (ReadShortText(key.Get(), name->c_str(), text)) {
        case TShortValue::Text:
            return text;
        case TShortValue::NotText:
            return {};
        case TShortValue::Absent:
            break;
        }
    }
    return ReadShortText(key.Get(), nullptr, text) == TShortValue::Text ? text : std::string();
}

} // namespace attente
