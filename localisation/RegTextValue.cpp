// Registry text reading: the size is asked first and the read repeated while the value grows, so no
// length truncates it or overflows a buffer.
#include "RegTextValue.h"

#include "AnsiText.h"
#include "TextFormat.h"

namespace attente {

namespace {

// Another writer may grow the value between the size query and the read; give up after a few rounds.
constexpr int kReadAttempts = 4;

} // namespace

bool IsRegTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

TRegValue ReadRegValue(HKEY key, const char* name) {
    const std::wstring wideName = name ? Utf8ToWide(name) : std::wstring();
    const wchar_t* const valueName = name ? wideName.c_str() : nullptr;
    TRegValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS) return {};
    std::string data;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        // Spare room so that a text stored without its terminating zero still reads within bounds.
        data.assign(static_cast<std::size_t>(size) + sizeof(wchar_t), '\0');
        DWORD read = size;
        const LONG result = RegQueryValueExW(key, valueName, nullptr, &value.Type,
                                             reinterpret_cast<BYTE*>(data.data()), &read);
        if (result == ERROR_SUCCESS) {
            const std::size_t used = read < size ? read : size;
            value.Exists = true;
            if (IsRegTextType(value.Type))
                value.Data =
                    WideToAnsi({reinterpret_cast<const wchar_t*>(data.data()), used / sizeof(wchar_t)});
            else
                value.Data = data.substr(0, used);
            return value;
        }
        if (result != ERROR_MORE_DATA) return {};
        size = read;
    }
    return {};
}

TRegTextValue ReadRegTextValue(HKEY key, const std::string& name) {
    const TRegValue raw = ReadRegValue(key, name.c_str());
    TRegTextValue value;
    if (!raw.Exists) return value;
    if (!IsRegTextType(raw.Type)) {
        value.Kind = raw.Data.empty() ? TRegValueKind::Missing : TRegValueKind::NotText;
        return value;
    }
    value.Kind = TRegValueKind::Text;
    value.Text.assign(raw.Data.c_str());
    return value;
}

} // namespace attente
