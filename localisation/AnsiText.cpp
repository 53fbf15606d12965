// The platform's own code-page conversions, sized by a first call.
#include "AnsiText.h"

#include "TextFormat.h"

#include <windows.h>

namespace attente {

std::wstring AnsiToWide(std::string_view text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string WideToAnsi(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(
                         WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), static_cast<int>(ansi.size()), nullptr,
                        nullptr);
    return ansi;
}

std::string AnsiToUtf8(std::string_view text) {
    return WideToUtf8(AnsiToWide(text));
}

} // namespace attente
