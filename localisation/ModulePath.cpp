// Candidate names for language modules; pure string work on 8-bit paths.
#include "ModulePath.h"

namespace attente {

namespace {
constexpr std::size_t kTwoLetterLength = 2;
}

std::optional<std::size_t> FindExtensionDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    return dot;
}

std::optional<std::string> ModuleCandidate(std::string_view path, std::string_view extension) {
    const std::optional<std::size_t> dot = FindExtensionDot(path);
    if (!dot || extension.empty()) return std::nullopt;
    const std::size_t length = *dot + 1 + extension.size();
    if (length >= kPathBufferSize) return std::nullopt;
    std::string candidate;
    candidate.reserve(length);
    candidate.append(path.substr(0, *dot + 1));
    candidate.append(extension);
    return candidate;
}

std::string TwoLetterForm(std::string_view abbrev) {
    return std::string(abbrev.substr(0, kTwoLetterLength));
}

} // namespace attente
