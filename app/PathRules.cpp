// Extension and file-name splitting of Windows paths, code-page aware through a lead-byte predicate.
#include "PathRules.h"

namespace attente {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsDirectoryEnd(wchar_t c) {
    return c == L'\\' || c == L':';
}

} // namespace

std::string ReplaceExtension(std::string_view path, std::string_view extension, TIsLeadByte isLeadByte) {
    if (!isLeadByte) isLeadByte = NoLeadBytes;
    std::size_t dot = kNone;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            ++i;
        } else if (c == '.') {
            dot = i;
        } else if (IsDirectoryEnd(static_cast<wchar_t>(c))) {
            dot = kNone;
        }
    }
    std::string out(path.substr(0, dot == kNone ? path.size() : dot));
    out.append(extension);
    return out;
}

std::wstring ExtractFileName(std::wstring_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (IsDirectoryEnd(path[i])) start = i + 1;
    return std::wstring(path.substr(start));
}

std::wstring ExtractFileTitle(std::wstring_view path) {
    std::wstring name = ExtractFileName(path);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

} // namespace attente
