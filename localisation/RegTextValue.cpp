// Registry text reading: the size is asked first and the read repeated while the value grows, so no
// length truncates it or overflows a buffer.
#include "RegTextValue.h"

#include <vector>

namespace attente {

namespace {

// Another writer may grow the value between the size query and the read; give up after a few rounds.
constexpr int kReadAttempts = 4;

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

TRegTextValue Classified(DWORD type, const char* data, DWORD size) {
    TRegTextValue value;
    if (!IsTextType(type)) {
        value.Kind = size == 0 ? TRegValueKind::Missing : TRegValueKind::NotText;
        return value;
    }
    value.Kind = TRegValueKind::Text;
    std::size_t length = 0;
    while (length < size && data[length] != '\0')
        ++length;
    value.Text.assign(data, length);
    return value;
}

} // namespace

TRegTextValue ReadRegTextValue(HKEY key, const std::string& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<char> data;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        // One spare byte so that a text stored without its terminating zero still reads within bounds.
        data.assign(static_cast<std::size_t>(size) + 1, '\0');
        DWORD read = size;
        const LONG result =
            RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read);
        if (result == ERROR_SUCCESS) return Classified(type, data.data(), read < size ? read : size);
        if (result != ERROR_MORE_DATA) return {};
        size = read;
    }
    return {};
}

} // namespace attente
